#pragma once
// The objects of one stand-in IDE and the state they share (internal to the library). The COM
// surface is the table of each class; the C++ side reads and changes their fields directly.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "standin/Dispatch.h"
#include "standin/StandInIde.h"
#include "platform/win32/unique_res.h"

namespace standin {

class BarObject;
class ControlObject;
class EventSource;
class ToolWindow;
class ControlSite;
class AddInObject;
class ProjectObject;

/// What every object of one stand-in shares. The objects hold it; at teardown the owner empties
/// it, which breaks the cycles between it and them, and marks it closed, which disconnects them.
struct Ide {
  explicit Ide(HWND parent) : dockParent(parent) {}

  HWND dockParent;
  bool closed = false;
  Observer* observer = nullptr;  // not owned
  std::vector<com_ptr<BarObject>> bars;
  std::vector<com_ptr<AddInObject>> addIns;
  std::vector<com_ptr<ProjectObject>> projects;
  com_ptr<ProjectObject> active;  // null for none
  std::vector<ProjectCall> projectCalls;
  std::vector<com_ptr<ToolWindow>> toolWindows;
  com_ptr<IOleInPlaceActiveObject> activeObject;  // the UI-active control's; null for none
  std::vector<std::wstring> ideCommands;          // run by the IDE's own shortcut keys
  std::vector<EventSource*> eventSources;  // not owned: each leaves the list when it goes
  int calls = 0;     // calls the add-in made since the count last restarted
  int failCall = 0;  // the one of them that fails; 0 for none
  bool refuseUnadvise = false;
  std::vector<com_ptr<IDispatch>> keptSinks;  // sinks whose Unadvise was refused

  /// Counts a call of the add-in's; raises the IDE's failure when it is the one to fail.
  void Entering() {
    if (++calls == failCall)
      throw VbError(-2147467259, L"", L"The IDE could not do this just now.");
  }

  /// The bar by name (case ignored) or 1-based position; throws VbError 5 when there is none.
  BarObject& Bar(const VARIANT& index) const;
  BarObject& Bar(std::wstring_view name) const;
  /// The control of some bar that is this object, or null.
  ControlObject* FindControl(IUnknown* object) const;
  void BarsChanged() const {
    if (observer) observer->CommandBarsChanged();
  }
};
using IdePtr = std::shared_ptr<Ide>;

/// An object of a stand-in: disconnected once the IDE is closed.
template <typename T>
class IdeObject : public Dispatch<T> {
 protected:
  IdeObject(const wchar_t* source, std::span<const typename Dispatch<T>::Member> members,
            IdePtr ide)
      : Dispatch<T>(source, members), ide_(std::move(ide)) {}
  bool Connected() const override { return !ide_->closed; }
  void Entering() override { ide_->Entering(); }

  IdePtr ide_;
};

class ControlsObject;

/// CommandBarControl.
class ControlObject final : public IdeObject<ControlObject> {
 public:
  ControlObject(IdePtr ide, ControlsObject* owner, ControlInfo info);
  /// Its 1-based position in its bar.
  int Index() const;
  /// Takes it off its bar: later calls on it fail.
  void Remove();

  ControlInfo info;       // info.face is face.get()
  unique_hbitmap face;    // from PasteFace
  ControlsObject* owner;  // not owned; null once deleted

  static const Member kMembers[];

 private:
  bool Connected() const override { return owner && IdeObject::Connected(); }
};

/// CommandBarControls: the controls of one bar.
class ControlsObject final : public IdeObject<ControlsObject> {
 public:
  explicit ControlsObject(IdePtr ide);
  /// A new control at 0-based position at (the end when at is the count).
  ControlObject& Insert(std::size_t at, ControlInfo info);

  std::vector<com_ptr<ControlObject>> items;

  static const Member kMembers[];
};

/// CommandBar.
class BarObject final : public IdeObject<BarObject> {
 public:
  BarObject(IdePtr ide, std::wstring name, bool visible);

  std::wstring name;
  bool visible;
  com_ptr<ControlsObject> controls;

  static const Member kMembers[];
};

/// An entry of Addins.
class AddInObject final : public IdeObject<AddInObject> {
 public:
  AddInObject(IdePtr ide, std::wstring progId, bool connected);

  std::wstring progId;
  bool connected;
  com_ptr<IDispatch> object;  // what the add-in sets as AddIn.Object

  static const Member kMembers[];
};

/// A project open in the IDE: VBProject.
class ProjectObject final : public IdeObject<ProjectObject> {
 public:
  ProjectObject(IdePtr ide, std::wstring fileName);

  std::wstring fileName, name;

  static const Member kMembers[];
};

/// Fires Click(control, handled, CancelDefault) at every sink of every source of the control.
ClickResult FireClick(Ide& ide, ControlObject& control);
/// Releases the sinks of every event source.
void DropSinks(Ide& ide);

/// A dockable tool window hosting an ActiveX control.
class ToolWindow final : public IdeObject<ToolWindow> {
 public:
  ToolWindow(IdePtr ide, std::wstring progId, std::wstring caption, std::wstring guidPosition);
  ~ToolWindow() override;
  /// Makes the hidden frame and the control in it; throws VbError 429 when the control cannot
  /// be made. Returns the control.
  com_ptr<IUnknown> Create();
  /// As the user's close box: hides it.
  void Close();
  /// Destroys the frame: the container closes the control and lets it go.
  void Destroy();
  ToolWindowInfo Info() const;

  static const Member kMembers[];

  // For BoundWindowProc, of the frame.
  void Attach(HWND frame) { frame_ = frame; }
  void Detach() { frame_ = nullptr; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

 private:
  HWND Frame() const;  // throws the disconnected error once the frame is gone

  std::wstring progId_, caption_, guidPosition_;
  HWND frame_ = nullptr;  // destroyed by Destroy, or with the dock parent
  com_ptr<IOleObject> control_;   // in place in the frame until Destroy
  com_ptr<ControlSite> site_;
};

/// The collections under VBE that hold no state of their own.
com_ptr<IDispatch> MakeCommandBars(IdePtr ide);
com_ptr<IDispatch> MakeEvents(IdePtr ide);
com_ptr<IDispatch> MakeWindows(IdePtr ide);

}  // namespace standin

#pragma once
// The stand-in for the IDE's extensibility object model: VBE and the objects below it as real
// late-bound COM objects, the same ones the IDE hands an add-in, with a C++ side for their owner
// (a test, or the stand-in IDE program) to set them up, act as the user, and see what the add-in
// did. Everything runs on the owner's thread, which must have called OleInitialize: the tool
// windows host ActiveX controls.

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/com_ptr.h"

namespace standin {

/// One control of a command bar as the IDE would show it.
struct ControlInfo {
  std::wstring caption;
  bool enabled = true;
  int type = 1;  // 1 a button, 10 a pop-up
  int id = 1;    // 1 for a custom control, else the built-in control it copies
  std::wstring parameter;
  bool temporary = false;
  HBITMAP face = nullptr;  // not owned; null until PasteFace; lives as long as the control's face
  SIZE faceSize{};
};

struct BarInfo {
  std::wstring name;
  bool visible = true;
  std::vector<ControlInfo> controls;
};

struct ToolWindowInfo {
  std::wstring progId, caption, guidPosition;
  HWND window = nullptr;  // the dockable frame; null once destroyed
  bool visible = false;
};

struct ProjectInfo {
  std::wstring fileName, name;
};

/// A call the add-in made on VBProjects.
struct ProjectCall {
  enum Kind { kOpened, kRemoved } kind;
  std::wstring fileName;
  bool exclusive = false;  // AddFromFile's
};

/// What one click of a control did.
struct ClickResult {
  int sinks = 0;  // event sinks called
  bool handled = false, cancelDefault = false;
};

/// Told when the add-in changes what the IDE shows. Calls come during the add-in's call.
class Observer {
 public:
  virtual ~Observer() = default;
  virtual void CommandBarsChanged() {}
  virtual void ProjectsChanged() {}
  virtual void AddInChanged(std::wstring_view /*progId*/) {}
};

class StandInIde {
 public:
  /// Destroys the tool windows (their controls are closed and let go by the container),
  /// releases the event sinks and disconnects every object: later calls on objects the add-in
  /// still holds fail.
  virtual ~StandInIde() = default;

  /// The root object, to hand to the add-in's OnConnection.
  virtual com_ptr<IDispatch> Vbe() const = 0;
  /// observer: not owned; null for none.
  virtual void SetObserver(Observer* observer) = 0;
  /// From now on the nth call the add-in makes on any of the objects (counting from 1) fails
  /// with the IDE's error, as a busy or failing IDE would answer it; 0 fails none. Restarts the
  /// count.
  virtual void FailCall(int n) = 0;
  /// The calls the add-in made since the count last restarted.
  virtual int Calls() const = 0;
  /// From now on Unadvise fails and the IDE keeps the sink, as a host may; the sinks kept, in
  /// order. They go when the IDE does.
  virtual void RefuseUnadvise() = 0;
  virtual std::vector<com_ptr<IDispatch>> KeptSinks() const = 0;

  // ---- Command bars: CommandBars(1..n) in the order added, or by name without regard to case.
  virtual void AddBar(std::wstring_view name, bool visible) = 0;
  /// Appends a built-in control; throws VbError 5 when there is no such bar.
  virtual void AddControl(std::wstring_view bar, std::wstring_view caption,
                          bool enabled = true) = 0;
  /// Enables or disables control index (1-based) of the bar, as the IDE does while busy.
  virtual void SetEnabled(std::wstring_view bar, int index, bool enabled) = 0;
  virtual std::vector<BarInfo> Bars() const = 0;
  /// The control's object as Controls.Item gives it; null when there is none.
  virtual com_ptr<IDispatch> Control(std::wstring_view bar, int index) const = 0;
  /// Clicks the control as the user does: Click goes to every sink of every event source of the
  /// control, in the order they were advised, sharing handled and CancelDefault.
  virtual ClickResult Click(IDispatch* control) = 0;
  virtual ClickResult Click(std::wstring_view bar, int index) = 0;

  // ---- Add-ins: Addins(1..n) in the order added, or by ProgID.
  virtual void AddAddIn(std::wstring_view progId, bool connected) = 0;
  /// The entry's object, for OnConnection's AddInInst; null when there is none.
  virtual com_ptr<IDispatch> AddIn(std::wstring_view progId) const = 0;
  virtual bool Connected(std::wstring_view progId) const = 0;

  // ---- Tool windows, in the order created.
  virtual std::vector<ToolWindowInfo> ToolWindows() const = 0;
  /// Closes the tool window as the user does with its close box: it is hidden, not destroyed.
  virtual void CloseToolWindow(std::size_t index) = 0;

  // ---- Projects
  /// Opens a project as the user does; throws VbError 53 when the file does not exist.
  virtual void OpenProject(std::wstring_view fileName, bool exclusive) = 0;
  virtual std::vector<ProjectInfo> Projects() const = 0;
  /// The active project's position in Projects(), or -1 for none.
  virtual int ActiveProject() const = 0;
  /// What the add-in asked of VBProjects, in order.
  virtual const std::vector<ProjectCall>& ProjectCalls() const = 0;

  // ---- Keys, as the IDE's message loop takes each message before dispatching it.
  /// Offers a key to the UI-active control first (IOleInPlaceActiveObject::TranslateAccelerator),
  /// then to the IDE's own shortcuts: F5 "Start", Del "Delete", Ctrl+C "Copy", each recorded as
  /// the command it runs. A mouse press outside the active control ends its UI activity. True
  /// when the message was used: the loop then neither translates nor dispatches it.
  virtual bool PreTranslate(MSG& message) = 0;
  /// The commands the IDE's shortcuts ran, in order.
  virtual const std::vector<std::wstring>& IdeCommands() const = 0;
  /// Whether a control has made itself the active object.
  virtual bool HasActiveObject() const = 0;
};

/// A stand-in with no bars, add-ins, projects or windows. Tool windows become child windows of
/// dockParent, filling its client area.
std::unique_ptr<StandInIde> MakeStandInIde(HWND dockParent);

/// The IDE's bars as add-ins find them: 1 "Menu Bar", 2 "Standard", then the menus "File"
/// (whose first control, "New Project", is disabled while the IDE is busy) and "Add-Ins".
void AddStandardBars(StandInIde& ide);

}  // namespace standin

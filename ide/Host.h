#pragma once
// The host's extensibility object model, as far as the add-in uses it. The add-in reaches the
// IDE through these objects only; a failed call throws VbError with the host's error number and
// description. Objects returned are never null except where said. The COM implementation binds
// every call late, by name.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ide {

/// A project open in the host.
class VBProject {
 public:
  virtual ~VBProject() = default;
};

class VBProjects {
 public:
  virtual ~VBProjects() = default;
  /// Opens the project file; with exclusive, in place of the project or group the host had open.
  virtual void AddFromFile(std::wstring_view fileName, bool exclusive) = 0;
  /// Closes the project.
  virtual void Remove(VBProject& project) = 0;
};

class CommandBarControl {
 public:
  virtual ~CommandBarControl() = default;
  virtual bool Enabled() const = 0;
  virtual void Caption(std::wstring_view caption) = 0;
  /// Takes the control's face from the picture on the clipboard.
  virtual void PasteFace() = 0;
  /// Removes the control from its bar.
  virtual void Delete() = 0;
};

class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  virtual int Count() const = 0;
  /// By position, 1-based; throws VbError when there is none.
  virtual std::shared_ptr<CommandBarControl> Item(int index) = 0;
  /// A new control of the type (1, a button) before the control at position before, or at the
  /// end without one.
  virtual std::shared_ptr<CommandBarControl> Add(int type, std::optional<int> before) = 0;
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual std::shared_ptr<CommandBarControls> Controls() = 0;
  virtual void Visible(bool visible) = 0;
};

class CommandBars {
 public:
  virtual ~CommandBars() = default;
  /// By name; throws VbError when there is none.
  virtual std::shared_ptr<CommandBar> Item(std::wstring_view name) = 0;
  /// By position, 1-based; throws VbError when there is none.
  virtual std::shared_ptr<CommandBar> Item(int index) = 0;
};

/// A connection of a handler to a control's Click; the handler is called while it lives.
class EventSink {
 public:
  virtual ~EventSink() = default;
};

class Events {
 public:
  virtual ~Events() = default;
  /// Calls click each time the user activates the control, for as long as the sink lives.
  virtual std::shared_ptr<EventSink> CommandBarEvents(CommandBarControl& control,
                                                      std::function<void()> click) = 0;
};

/// The add-in's entry in the host's list of add-ins.
class AddIn {
 public:
  virtual ~AddIn() = default;
  /// Whether the host regards the add-in as connected.
  virtual bool Connect() const = 0;
};

class Addins {
 public:
  virtual ~Addins() = default;
  /// By ProgID or by position (1-based); throws VbError, or gives none, when none matches.
  virtual std::shared_ptr<AddIn> Item(std::wstring_view progId) = 0;
  virtual std::shared_ptr<AddIn> Item(int index) = 0;
};

/// A window of the host: the tool window.
class Window {
 public:
  virtual ~Window() = default;
  virtual bool Visible() const = 0;
  virtual void Visible(bool visible) = 0;
};

/// The document the host created inside the tool window, as the add-in calls it.
class Document {
 public:
  virtual ~Document() = default;
  virtual void View() = 0;
};

class Windows {
 public:
  virtual ~Windows() = default;
  /// A new hidden dockable tool window hosting a new instance of the class progId; the instance
  /// is stored into document.
  virtual std::shared_ptr<Window> CreateToolWindow(AddIn& addInInst, std::wstring_view progId,
                                                   std::wstring_view caption,
                                                   std::wstring_view guidPosition,
                                                   std::shared_ptr<Document>& document) = 0;
};

/// The root of the object model.
class VBE {
 public:
  virtual ~VBE() = default;
  virtual std::shared_ptr<ide::VBProjects> VBProjects() = 0;
  /// The active project, or none.
  virtual std::shared_ptr<VBProject> ActiveVBProject() = 0;
  virtual std::shared_ptr<ide::CommandBars> CommandBars() = 0;
  virtual std::shared_ptr<ide::Windows> Windows() = 0;
  virtual std::shared_ptr<ide::Addins> Addins() = 0;
  virtual std::shared_ptr<ide::Events> Events() = 0;
};

}  // namespace ide

#pragma once
// The host's extensibility object model, as far as the add-in uses it. The add-in reaches the
// IDE through these objects only; a failed call throws VbError with the host's error number and
// description. Objects returned are never null except where said. The COM implementation binds
// every call late, by name.

#include <memory>
#include <string>
#include <string_view>

namespace host {

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
};

class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  virtual int Count() const = 0;
  /// By position, 1-based; throws VbError when there is none.
  virtual std::shared_ptr<CommandBarControl> Item(int index) = 0;
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual std::shared_ptr<CommandBarControls> Controls() = 0;
};

class CommandBars {
 public:
  virtual ~CommandBars() = default;
  /// By name; throws VbError when there is none.
  virtual std::shared_ptr<CommandBar> Item(std::wstring_view name) = 0;
  /// By position, 1-based; throws VbError when there is none.
  virtual std::shared_ptr<CommandBar> Item(int index) = 0;
};

/// The root of the object model.
class VBE {
 public:
  virtual ~VBE() = default;
  virtual std::shared_ptr<host::VBProjects> VBProjects() = 0;
  /// The active project, or none.
  virtual std::shared_ptr<VBProject> ActiveVBProject() = 0;
  virtual std::shared_ptr<host::CommandBars> CommandBars() = 0;
};

}  // namespace host

#pragma once
// A host that records what the add-in asks of it, with the state a test gives it: the projects
// it opens and removes, its command bars (the "File" bar's first control can be disabled, as
// while the host is busy), and a failure for the next call of a test's choosing.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/Host.h"
#include "platform/Error.h"

class FakeHost final : public host::VBE {
 public:
  struct Project final : host::VBProject {
    explicit Project(std::wstring path) : path(std::move(path)) {}
    std::wstring path;
  };

  FakeHost();

  // What the add-in asked for.
  std::vector<std::pair<std::wstring, bool>> opened;  // AddFromFile: path, exclusive
  std::vector<std::wstring> removed;                  // Remove: the project's path

  /// The project the host has open, or none.
  std::shared_ptr<Project> active;
  /// Disables the first control of the "File" bar, as the host does while it is busy.
  bool busy = false;
  /// The next AddFromFile or Remove throws this error instead.
  std::optional<VbError> failNext;

  std::shared_ptr<host::VBProjects> VBProjects() override;
  std::shared_ptr<host::VBProject> ActiveVBProject() override { return active; }
  std::shared_ptr<host::CommandBars> CommandBars() override;

 private:
  class Projects;
  class Bars;
  void ThrowIfFailing();
};

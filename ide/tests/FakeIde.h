#pragma once
// A host that records what the add-in asks of it, with the state a test gives it: the projects
// it opens and removes, its command bars and their controls, its list of add-ins, the tool
// windows it creates, and the click handlers bound to controls. Every call of note goes into one
// ordered log; any operation named in failing throws instead.
//
// The bars, by position and by name: 1 "Menu Bar", 2 "Standard" (a toolbar of three buttons),
// 3 "File" (whose first control is disabled while busy, as the host shows it is busy) and
// 4 "Add-Ins" (two entries). The add-ins: 1 "Tally.Connect" (connected), 2 "Marrowby.Connect"
// (not).

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ide/Host.h"
#include "platform/Error.h"
#include "platform/tests/CallCounter.h"

class FakeIde final : public ide::VBE {
 public:
  struct Project final : ide::VBProject {
    explicit Project(std::wstring path) : path(std::move(path)) {}
    std::wstring path;
  };

  struct Bar;
  struct Control final : ide::CommandBarControl {
    Control(FakeIde& host, Bar& bar, std::wstring caption, bool followsBusy = false)
        : host(host), bar(bar), caption(std::move(caption)), followsBusy(followsBusy) {}
    bool Enabled() const override { return !(followsBusy && host.busy); }
    void Caption(std::wstring_view text) override;
    void PasteFace() override;
    /// Takes the control off its bar; a second Delete fails, as on a control the host let go.
    void Delete() override;

    FakeIde& host;
    Bar& bar;  // the bar it was made on, also after Delete
    std::wstring caption;
    bool followsBusy;
    int faces = 0;  // PasteFace calls
    bool deleted = false;
  };

  struct Bar final : ide::CommandBar {
    Bar(FakeIde& host, std::wstring name) : host(host), name(std::move(name)) {}
    std::shared_ptr<ide::CommandBarControls> Controls() override;
    void Visible(bool show) override;
    /// The captions of the controls, in position order.
    std::vector<std::wstring> Captions() const;

    FakeIde& host;
    std::wstring name;
    bool visible = false;
    std::vector<std::shared_ptr<Control>> controls;  // position order
  };

  struct AddIn final : ide::AddIn {
    AddIn(std::wstring progId, bool connected) : progId(std::move(progId)), connected(connected) {}
    bool Connect() const override { return connected; }
    std::wstring progId;
    bool connected;
  };

  struct Window final : ide::Window {
    explicit Window(FakeIde& host) : host(host) {}
    bool Visible() const override;
    void Visible(bool show) override;
    FakeIde& host;
    bool visible = false;  // tool windows start hidden
  };

  struct Document final : ide::Document {
    explicit Document(FakeIde& host) : host(host) {}
    void View() override;
    FakeIde& host;
    int views = 0;
  };

  /// One CreateToolWindow call with what it made.
  struct ToolWindow {
    ide::AddIn* addIn;  // not owned
    std::wstring progId, caption, guidPosition;
    std::shared_ptr<Window> window;
    std::shared_ptr<Document> document;
  };

  FakeIde();
  FakeIde(const FakeIde&) = delete;  // its bars and windows refer back to it
  FakeIde& operator=(const FakeIde&) = delete;

  // What the add-in asked for.
  std::vector<std::pair<std::wstring, bool>> opened;  // AddFromFile: path, exclusive
  std::vector<std::wstring> removed;                  // Remove: the project's path
  std::vector<ToolWindow> toolWindows;
  /// "Operation detail" per call, in order: Addins.Item, CreateToolWindow, CommandBar.Visible,
  /// Controls.Add, Caption, PasteFace, Delete, CommandBarEvents, Window.Visible (set), View; and
  /// whatever else a test shares the log with.
  std::vector<std::string> log;

  /// The project the host has open, or none.
  std::shared_ptr<Project> active;
  /// Disables the first control of the "File" bar, as the host does while it is busy.
  bool busy = false;
  /// The next AddFromFile or Remove throws this error instead.
  std::optional<VbError> failNext;
  /// Operations (as logged, also CommandBars.Item) that throw VbError(-2147467259, op,
  /// "<op> failed") while named here.
  std::set<std::string> failing;
  /// Counts the operations above and AddFromFile and Remove; the one picked throws
  /// VbError(-2147467259, op, "<op> failed").
  mutable CallCounter calls;

  std::vector<std::shared_ptr<Bar>> bars;      // by position
  std::vector<std::shared_ptr<AddIn>> addins;  // by position
  /// Addins.Item by a ProgID that none has gives none instead of throwing.
  bool missingAddInGivesNone = false;

  /// The bar of that name; throws when there is none.
  Bar& bar(std::wstring_view name);
  /// The user clicks the control: runs the handlers of the live sinks bound to it.
  void Click(const ide::CommandBarControl& control);

  std::shared_ptr<ide::VBProjects> VBProjects() override;
  std::shared_ptr<ide::VBProject> ActiveVBProject() override { return active; }
  std::shared_ptr<ide::CommandBars> CommandBars() override;
  std::shared_ptr<ide::Windows> Windows() override;
  std::shared_ptr<ide::Addins> Addins() override;
  std::shared_ptr<ide::Events> Events() override;

 private:
  class Projects;
  class Bars;
  class ControlList;
  class WindowList;
  class AddInList;
  class EventSource;
  struct Sink;

  /// Throws when the operation is failing.
  void FailIfNamed(const std::string& operation) const;
  /// Throws when the operation is failing, else logs it.
  void Call(const std::string& operation, std::wstring_view detail = {});
  void ThrowIfFailing(const std::wstring& operation);

  std::vector<std::weak_ptr<Sink>> sinks_;
};

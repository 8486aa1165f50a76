#pragma once
// A host that records what the add-in asks of it, with the state a test gives it: the projects
// it opens (it has none open), its command bars and their controls, its list of add-ins, the tool
// windows it creates, and the click handlers bound to controls. The steps that show (a tool
// window made, an entry added to a bar, a document viewed) go into one ordered log; an operation
// named in failing, or picked by calls, throws VbError(-2147467259, op, "<op> failed") instead.
//
// The bars, by position and by name: 1 "Menu Bar", 2 "Standard" (a toolbar of three buttons),
// 3 "File" (whose first control is disabled while busy, as the host shows it is busy) and
// 4 "Add-Ins" (two entries). The add-ins: 1 "Tally.Connect" (connected), 2 "Marrowby.Connect"
// (not).

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ide/Host.h"
#include "platform/Error.h"
#include "platform/tests/CallCounter.h"

class FakeIde final : public ide::VBE, ide::VBProjects, ide::CommandBars, ide::Windows, ide::Events {
 public:
  struct Bar;
  struct Control final : ide::CommandBarControl {
    Control(Bar& bar, std::wstring caption) : bar(bar), caption(std::move(caption)) {}
    bool Enabled() const override { return !(bar.name == L"File" && bar.host.busy); }
    void Caption(std::wstring_view text) override { bar.host.Call(L"Caption"), caption = text; }
    void PasteFace() override { bar.host.Call(L"PasteFace"), ++faces; }
    /// Takes the control off its bar; a second Delete fails, as on a control the host let go.
    void Delete() override {
      const auto at = std::find_if(bar.controls.begin(), bar.controls.end(),
                                   [this](const auto& c) { return c.get() == this; });
      if (at == bar.controls.end()) throw VbError(-2147221005, L"Delete", L"No such control");
      bar.host.Call(L"Delete"), bar.controls.erase(at);
    }
    Bar& bar;
    std::wstring caption;
    int faces = 0;  // PasteFace calls
  };

  struct Bar final : ide::CommandBar, ide::CommandBarControls {
    Bar(FakeIde& host, std::wstring name) : host(host), name(std::move(name)) {}
    std::shared_ptr<ide::CommandBarControls> Controls() override { return Unowned(this); }
    void Visible(bool show) override { host.Call(L"CommandBar.Visible"), visible = show; }
    int Count() const override { return static_cast<int>(controls.size()); }
    std::shared_ptr<ide::CommandBarControl> Item(int index) override { return controls.at(index - 1); }
    std::shared_ptr<ide::CommandBarControl> Add(int, std::optional<int> before) override {
      host.Call(L"Controls.Add"), host.log.push_back(L"Controls.Add " + name);
      return *controls.insert(controls.begin() + before.value_or(Count() + 1) - 1,
                              std::make_shared<Control>(*this, L""));
    }
    /// The captions of the controls, in position order.
    std::vector<std::wstring> Captions() const {
      std::vector<std::wstring> captions;
      for (const auto& c : controls) captions.push_back(c->caption);
      return captions;
    }
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
  /// The host's list of add-ins, by position.
  struct AddIns final : ide::Addins, std::vector<std::shared_ptr<AddIn>> {
    explicit AddIns(FakeIde& host) : host(host) {}
    std::shared_ptr<ide::AddIn> Item(std::wstring_view progId) override {
      host.Call(L"Addins.Item");
      for (const auto& a : *this)
        if (a->progId == progId) return a;
      throw VbError(9, L"Addins", L"Subscript out of range");
    }
    std::shared_ptr<ide::AddIn> Item(int index) override {
      return host.Call(L"Addins.Item"), at(index - 1);
    }
    FakeIde& host;
  };

  /// What one CreateToolWindow made: the window, and the document inside it.
  struct ToolWindow final : ide::Window, ide::Document {
    explicit ToolWindow(FakeIde& host) : host(host) {}
    bool Visible() const override { return host.Call(L"Window.Visible"), visible; }
    void Visible(bool show) override { host.Call(L"Window.Visible"), visible = show; }
    void View() override { host.Call(L"View"), host.log.push_back(L"View"), ++views; }
    FakeIde& host;
    bool visible = false;  // tool windows start hidden
    int views = 0;
  };

  FakeIde() {
    for (const wchar_t* name : {L"Menu Bar", L"Standard", L"File", L"Add-Ins"})
      bars.push_back(std::make_shared<Bar>(*this, name));
    const std::pair<int, const wchar_t*> controls[] = {
        {1, L"Add Project"},  {1, L"Open Project"},        {1, L"Save Project"},
        {2, L"&New Project"}, {3, L"&Add-In Manager..."}, {3, L"Visual Data Manager..."}};
    for (auto [at, caption] : controls)
      bars[at]->controls.push_back(std::make_shared<Control>(*bars[at], caption));
    addins.assign({std::make_shared<AddIn>(L"Tally.Connect", true),
                   std::make_shared<AddIn>(L"Marrowby.Connect", false)});
  }

  // What the add-in asked for.
  std::vector<std::pair<std::wstring, bool>> opened;  // AddFromFile: path, exclusive
  std::vector<std::shared_ptr<ToolWindow>> toolWindows;
  /// "CreateToolWindow <progId> <caption> <guidPosition> for <the add-in's progId>",
  /// "Controls.Add <bar>" and "View", in order.
  std::vector<std::wstring> log;

  /// Disables the first control of the "File" bar, as the host does while it is busy.
  bool busy = false;
  /// The next AddFromFile throws this error instead.
  std::optional<VbError> failNext;
  /// Operations that fail while named here: Addins.Item, CreateToolWindow, CommandBars.Item,
  /// CommandBar.Visible, Controls.Add, Caption, PasteFace, Delete, CommandBarEvents,
  /// Window.Visible, View, AddFromFile, Remove.
  std::set<std::wstring> failing;
  /// Counts the operations above; the one picked fails.
  mutable CallCounter calls;

  std::vector<std::shared_ptr<Bar>> bars;  // by position
  AddIns addins{*this};

  /// The bar of that name.
  Bar& bar(std::wstring_view name) {
    return **std::find_if(bars.begin(), bars.end(), [&](const auto& b) { return b->name == name; });
  }
  /// The user clicks the control: runs the handlers of the live sinks bound to it.
  void Click(const ide::CommandBarControl& control) {
    std::vector<std::function<void()>> clicks;  // a handler may bind or drop sinks meanwhile
    for (const auto& [sink, bound, click] : sinks_)
      if (!sink.expired() && bound == &control) clicks.push_back(click);
    for (const auto& click : clicks) click();
  }

  std::shared_ptr<ide::VBProjects> VBProjects() override { return Unowned<ide::VBProjects>(this); }
  std::shared_ptr<ide::VBProject> ActiveVBProject() override { return nullptr; }  // none open
  std::shared_ptr<ide::CommandBars> CommandBars() override { return Unowned<ide::CommandBars>(this); }
  std::shared_ptr<ide::Windows> Windows() override { return Unowned<ide::Windows>(this); }
  std::shared_ptr<ide::Addins> Addins() override { return Unowned<ide::Addins>(&addins); }
  std::shared_ptr<ide::Events> Events() override { return Unowned<ide::Events>(this); }

 private:
  template <typename T>
  static std::shared_ptr<T> Unowned(T* object) {  // the host outlives what it hands out
    return std::shared_ptr<T>(std::shared_ptr<T>(), object);
  }
  void Call(const std::wstring& operation) const {
    if (calls.Next() || failing.contains(operation))
      throw VbError(-2147467259, operation, operation + L" failed");
  }

  void AddFromFile(std::wstring_view fileName, bool exclusive) override {
    Call(L"AddFromFile");
    if (auto e = std::exchange(failNext, std::nullopt)) throw *e;
    opened.emplace_back(fileName, exclusive);
  }
  void Remove(ide::VBProject&) override { Call(L"Remove"); }
  std::shared_ptr<ide::CommandBar> Item(std::wstring_view name) override {
    return Call(L"CommandBars.Item"), Unowned<ide::CommandBar>(&bar(name));
  }
  std::shared_ptr<ide::CommandBar> Item(int index) override {
    return Call(L"CommandBars.Item"), bars.at(index - 1);
  }
  std::shared_ptr<ide::Window> CreateToolWindow(ide::AddIn& addIn, std::wstring_view progId,
                                                std::wstring_view caption,
                                                std::wstring_view guidPosition,
                                                std::shared_ptr<ide::Document>& document) override {
    Call(L"CreateToolWindow");
    log.push_back(L"CreateToolWindow " + std::wstring(progId) + L" " + std::wstring(caption) +
                  L" " + std::wstring(guidPosition) + L" for " + static_cast<AddIn&>(addIn).progId);
    document = toolWindows.emplace_back(std::make_shared<ToolWindow>(*this));
    return toolWindows.back();
  }
  std::shared_ptr<ide::EventSink> CommandBarEvents(ide::CommandBarControl& control,
                                                   std::function<void()> click) override {
    Call(L"CommandBarEvents");
    auto sink = std::make_shared<ide::EventSink>();
    sinks_.emplace_back(sink, &control, std::move(click));
    return sink;
  }

  // Each sink while it lives, the control it is bound to (not owned), and its handler.
  std::vector<std::tuple<std::weak_ptr<ide::EventSink>, const ide::CommandBarControl*,
                         std::function<void()>>>
      sinks_;
};

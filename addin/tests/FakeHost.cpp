#include "addin/tests/FakeHost.h"

#include <algorithm>

namespace {

VbError InvalidArgument(const wchar_t* source) {
  return VbError(5, source, L"Invalid procedure call or argument");
}

std::string Narrow(std::wstring_view text) {
  std::string narrow;
  for (wchar_t c : text) narrow += (c > 0 && c < 0x80) ? static_cast<char>(c) : '?';
  return narrow;
}

}  // namespace

// ---- Projects -----------------------------------------------------------------------------

class FakeHost::Projects final : public host::VBProjects {
 public:
  explicit Projects(FakeHost& host) : host_(host) {}
  void AddFromFile(std::wstring_view fileName, bool exclusive) override {
    host_.ThrowIfFailing(L"AddFromFile");
    host_.opened.emplace_back(std::wstring(fileName), exclusive);
    host_.active = std::make_shared<Project>(std::wstring(fileName));
  }
  void Remove(host::VBProject& project) override {
    host_.ThrowIfFailing(L"Remove");
    host_.removed.push_back(static_cast<Project&>(project).path);
    if (host_.active.get() == &project) host_.active.reset();
  }

 private:
  FakeHost& host_;
};

// ---- Command bars -------------------------------------------------------------------------

class FakeHost::ControlList final : public host::CommandBarControls {
 public:
  explicit ControlList(Bar& bar) : bar_(bar) {}
  int Count() const override { return static_cast<int>(bar_.controls.size()); }
  std::shared_ptr<host::CommandBarControl> Item(int index) override {
    if (index < 1 || index > Count()) throw InvalidArgument(L"Controls");
    return bar_.controls[index - 1];
  }
  std::shared_ptr<host::CommandBarControl> Add(int, std::optional<int> before) override {
    if (before && (*before < 1 || *before > Count() + 1)) throw InvalidArgument(L"Controls");
    bar_.host.Call("Controls.Add", bar_.name);
    auto control = std::make_shared<Control>(bar_.host, bar_, L"");
    bar_.controls.insert(before ? bar_.controls.begin() + (*before - 1) : bar_.controls.end(),
                         control);
    return control;
  }

 private:
  Bar& bar_;
};

void FakeHost::Control::Caption(std::wstring_view text) {
  host.Call("Caption", text);
  caption = text;
}

void FakeHost::Control::PasteFace() {
  host.Call("PasteFace", bar.name);
  ++faces;
}

void FakeHost::Control::Delete() {
  if (deleted) throw VbError(-2147221005, L"Delete", L"The control no longer exists");
  host.Call("Delete", bar.name);
  deleted = true;
  std::erase_if(bar.controls, [this](const auto& c) { return c.get() == this; });
}

std::shared_ptr<host::CommandBarControls> FakeHost::Bar::Controls() {
  return std::make_shared<ControlList>(*this);
}

void FakeHost::Bar::Visible(bool show) {
  host.Call("CommandBar.Visible", name);
  visible = show;
}

std::vector<std::wstring> FakeHost::Bar::Captions() const {
  std::vector<std::wstring> captions;
  for (const auto& c : controls) captions.push_back(c->caption);
  return captions;
}

class FakeHost::Bars final : public host::CommandBars {
 public:
  explicit Bars(FakeHost& host) : host_(host) {}
  std::shared_ptr<host::CommandBar> Item(std::wstring_view name) override {
    host_.FailIfNamed("CommandBars.Item");
    for (const auto& b : host_.bars)
      if (b->name == name) return b;
    throw InvalidArgument(L"CommandBars");
  }
  std::shared_ptr<host::CommandBar> Item(int index) override {
    host_.FailIfNamed("CommandBars.Item");
    if (index < 1 || index > static_cast<int>(host_.bars.size()))
      throw InvalidArgument(L"CommandBars");
    return host_.bars[index - 1];
  }

 private:
  FakeHost& host_;
};

// ---- Events -------------------------------------------------------------------------------

struct FakeHost::Sink final : host::EventSink {
  Sink(const host::CommandBarControl& control, std::function<void()> click)
      : control(&control), click(std::move(click)) {}
  const host::CommandBarControl* control;  // not owned
  std::function<void()> click;
};

class FakeHost::EventSource final : public host::Events {
 public:
  explicit EventSource(FakeHost& host) : host_(host) {}
  std::shared_ptr<host::EventSink> CommandBarEvents(host::CommandBarControl& control,
                                                    std::function<void()> click) override {
    host_.Call("CommandBarEvents", static_cast<Control&>(control).bar.name);
    auto sink = std::make_shared<Sink>(control, std::move(click));
    host_.sinks_.push_back(sink);
    return sink;
  }

 private:
  FakeHost& host_;
};

void FakeHost::Click(const host::CommandBarControl& control) {
  std::vector<std::shared_ptr<Sink>> bound;  // a handler may bind or drop sinks meanwhile
  for (const auto& weak : sinks_)
    if (auto sink = weak.lock(); sink && sink->control == &control) bound.push_back(sink);
  for (const auto& sink : bound) sink->click();
}

// ---- Add-ins and windows ------------------------------------------------------------------

class FakeHost::AddInList final : public host::Addins {
 public:
  explicit AddInList(FakeHost& host) : host_(host) {}
  std::shared_ptr<host::AddIn> Item(std::wstring_view progId) override {
    host_.Call("Addins.Item", progId);
    for (const auto& a : host_.addins)
      if (a->progId == progId) return a;
    if (host_.missingAddInGivesNone) return nullptr;
    throw VbError(9, L"Addins", L"Subscript out of range");
  }
  std::shared_ptr<host::AddIn> Item(int index) override {
    host_.Call("Addins.Item", std::to_wstring(index));
    if (index < 1 || index > static_cast<int>(host_.addins.size()))
      throw VbError(9, L"Addins", L"Subscript out of range");
    return host_.addins[index - 1];
  }

 private:
  FakeHost& host_;
};

class FakeHost::WindowList final : public host::Windows {
 public:
  explicit WindowList(FakeHost& host) : host_(host) {}
  std::shared_ptr<host::Window> CreateToolWindow(
      host::AddIn& addInInst, std::wstring_view progId, std::wstring_view caption,
      std::wstring_view guidPosition, std::shared_ptr<host::Document>& document) override {
    host_.Call("CreateToolWindow", progId);
    ToolWindow made{&addInInst,
                    std::wstring(progId),
                    std::wstring(caption),
                    std::wstring(guidPosition),
                    std::make_shared<Window>(host_),
                    std::make_shared<Document>(host_)};
    host_.toolWindows.push_back(made);
    document = made.document;
    return made.window;
  }

 private:
  FakeHost& host_;
};

bool FakeHost::Window::Visible() const {
  host.FailIfNamed("Window.Visible");
  return visible;
}

void FakeHost::Window::Visible(bool show) {
  host.Call("Window.Visible", show ? L"1" : L"0");
  visible = show;
}

void FakeHost::Document::View() {
  host.Call("View");
  ++views;
}

// ---- The host -----------------------------------------------------------------------------

FakeHost::FakeHost() {
  for (const wchar_t* name : {L"Menu Bar", L"Standard", L"File", L"Add-Ins"})
    bars.push_back(std::make_shared<Bar>(*this, name));
  auto fill = [this](std::wstring_view name, std::initializer_list<const wchar_t*> captions) {
    Bar& b = bar(name);
    for (const wchar_t* caption : captions)
      b.controls.push_back(
          std::make_shared<Control>(*this, b, caption, b.controls.empty() && name == L"File"));
  };
  fill(L"Menu Bar", {L"&File", L"&Edit", L"&Add-Ins"});
  fill(L"Standard", {L"Add Project", L"Open Project", L"Save Project"});
  fill(L"File", {L"&New Project", L"&Open Project..."});
  fill(L"Add-Ins", {L"&Add-In Manager...", L"Visual Data Manager..."});
  addins.push_back(std::make_shared<AddIn>(L"Tally.Connect", true));
  addins.push_back(std::make_shared<AddIn>(L"Marrowby.Connect", false));
}

FakeHost::Bar& FakeHost::bar(std::wstring_view name) {
  for (const auto& b : bars)
    if (b->name == name) return *b;
  throw InvalidArgument(L"FakeHost");
}

std::shared_ptr<host::VBProjects> FakeHost::VBProjects() {
  return std::make_shared<Projects>(*this);
}
std::shared_ptr<host::CommandBars> FakeHost::CommandBars() { return std::make_shared<Bars>(*this); }
std::shared_ptr<host::Windows> FakeHost::Windows() { return std::make_shared<WindowList>(*this); }
std::shared_ptr<host::Addins> FakeHost::Addins() { return std::make_shared<AddInList>(*this); }
std::shared_ptr<host::Events> FakeHost::Events() { return std::make_shared<EventSource>(*this); }

void FakeHost::FailIfNamed(const std::string& operation) const {
  if (!calls.Next() && !failing.contains(operation)) return;
  const std::wstring name(operation.begin(), operation.end());
  throw VbError(-2147467259, name, name + L" failed");
}

void FakeHost::Call(const std::string& operation, std::wstring_view detail) {
  FailIfNamed(operation);
  log.push_back(detail.empty() ? operation : operation + " " + Narrow(detail));
}

void FakeHost::ThrowIfFailing(const std::wstring& operation) {
  if (calls.Next()) throw VbError(-2147467259, operation, operation + L" failed");
  if (!failNext) return;
  VbError e = *failNext;
  failNext.reset();
  throw e;
}

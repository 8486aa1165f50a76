#include "ide/tests/FakeIde.h"

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

class FakeIde::Projects final : public ide::VBProjects {
 public:
  explicit Projects(FakeIde& host) : host_(host) {}
  void AddFromFile(std::wstring_view fileName, bool exclusive) override {
    host_.ThrowIfFailing(L"AddFromFile");
    host_.opened.emplace_back(std::wstring(fileName), exclusive);
    host_.active = std::make_shared<Project>(std::wstring(fileName));
  }
  void Remove(ide::VBProject& project) override {
    host_.ThrowIfFailing(L"Remove");
    host_.removed.push_back(static_cast<Project&>(project).path);
    if (host_.active.get() == &project) host_.active.reset();
  }

 private:
  FakeIde& host_;
};

// ---- Command bars -------------------------------------------------------------------------

class FakeIde::ControlList final : public ide::CommandBarControls {
 public:
  explicit ControlList(Bar& bar) : bar_(bar) {}
  int Count() const override { return static_cast<int>(bar_.controls.size()); }
  std::shared_ptr<ide::CommandBarControl> Item(int index) override {
    if (index < 1 || index > Count()) throw InvalidArgument(L"Controls");
    return bar_.controls[index - 1];
  }
  std::shared_ptr<ide::CommandBarControl> Add(int, std::optional<int> before) override {
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

void FakeIde::Control::Caption(std::wstring_view text) {
  host.Call("Caption", text);
  caption = text;
}

void FakeIde::Control::PasteFace() {
  host.Call("PasteFace", bar.name);
  ++faces;
}

void FakeIde::Control::Delete() {
  if (deleted) throw VbError(-2147221005, L"Delete", L"The control no longer exists");
  host.Call("Delete", bar.name);
  deleted = true;
  std::erase_if(bar.controls, [this](const auto& c) { return c.get() == this; });
}

std::shared_ptr<ide::CommandBarControls> FakeIde::Bar::Controls() {
  return std::make_shared<ControlList>(*this);
}

void FakeIde::Bar::Visible(bool show) {
  host.Call("CommandBar.Visible", name);
  visible = show;
}

std::vector<std::wstring> FakeIde::Bar::Captions() const {
  std::vector<std::wstring> captions;
  for (const auto& c : controls) captions.push_back(c->caption);
  return captions;
}

class FakeIde::Bars final : public ide::CommandBars {
 public:
  explicit Bars(FakeIde& host) : host_(host) {}
  std::shared_ptr<ide::CommandBar> Item(std::wstring_view name) override {
    host_.FailIfNamed("CommandBars.Item");
    for (const auto& b : host_.bars)
      if (b->name == name) return b;
    throw InvalidArgument(L"CommandBars");
  }
  std::shared_ptr<ide::CommandBar> Item(int index) override {
    host_.FailIfNamed("CommandBars.Item");
    if (index < 1 || index > static_cast<int>(host_.bars.size()))
      throw InvalidArgument(L"CommandBars");
    return host_.bars[index - 1];
  }

 private:
  FakeIde& host_;
};

// ---- Events -------------------------------------------------------------------------------

struct FakeIde::Sink final : ide::EventSink {
  Sink(const ide::CommandBarControl& control, std::function<void()> click)
      : control(&control), click(std::move(click)) {}
  const ide::CommandBarControl* control;  // not owned
  std::function<void()> click;
};

class FakeIde::EventSource final : public ide::Events {
 public:
  explicit EventSource(FakeIde& host) : host_(host) {}
  std::shared_ptr<ide::EventSink> CommandBarEvents(ide::CommandBarControl& control,
                                                    std::function<void()> click) override {
    host_.Call("CommandBarEvents", static_cast<Control&>(control).bar.name);
    auto sink = std::make_shared<Sink>(control, std::move(click));
    host_.sinks_.push_back(sink);
    return sink;
  }

 private:
  FakeIde& host_;
};

void FakeIde::Click(const ide::CommandBarControl& control) {
  std::vector<std::shared_ptr<Sink>> bound;  // a handler may bind or drop sinks meanwhile
  for (const auto& weak : sinks_)
    if (auto sink = weak.lock(); sink && sink->control == &control) bound.push_back(sink);
  for (const auto& sink : bound) sink->click();
}

// ---- Add-ins and windows ------------------------------------------------------------------

class FakeIde::AddInList final : public ide::Addins {
 public:
  explicit AddInList(FakeIde& host) : host_(host) {}
  std::shared_ptr<ide::AddIn> Item(std::wstring_view progId) override {
    host_.Call("Addins.Item", progId);
    for (const auto& a : host_.addins)
      if (a->progId == progId) return a;
    if (host_.missingAddInGivesNone) return nullptr;
    throw VbError(9, L"Addins", L"Subscript out of range");
  }
  std::shared_ptr<ide::AddIn> Item(int index) override {
    host_.Call("Addins.Item", std::to_wstring(index));
    if (index < 1 || index > static_cast<int>(host_.addins.size()))
      throw VbError(9, L"Addins", L"Subscript out of range");
    return host_.addins[index - 1];
  }

 private:
  FakeIde& host_;
};

class FakeIde::WindowList final : public ide::Windows {
 public:
  explicit WindowList(FakeIde& host) : host_(host) {}
  std::shared_ptr<ide::Window> CreateToolWindow(
      ide::AddIn& addInInst, std::wstring_view progId, std::wstring_view caption,
      std::wstring_view guidPosition, std::shared_ptr<ide::Document>& document) override {
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
  FakeIde& host_;
};

bool FakeIde::Window::Visible() const {
  host.FailIfNamed("Window.Visible");
  return visible;
}

void FakeIde::Window::Visible(bool show) {
  host.Call("Window.Visible", show ? L"1" : L"0");
  visible = show;
}

void FakeIde::Document::View() {
  host.Call("View");
  ++views;
}

// ---- The host -----------------------------------------------------------------------------

FakeIde::FakeIde() {
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

FakeIde::Bar& FakeIde::bar(std::wstring_view name) {
  for (const auto& b : bars)
    if (b->name == name) return *b;
  throw InvalidArgument(L"FakeIde");
}

std::shared_ptr<ide::VBProjects> FakeIde::VBProjects() {
  return std::make_shared<Projects>(*this);
}
std::shared_ptr<ide::CommandBars> FakeIde::CommandBars() { return std::make_shared<Bars>(*this); }
std::shared_ptr<ide::Windows> FakeIde::Windows() { return std::make_shared<WindowList>(*this); }
std::shared_ptr<ide::Addins> FakeIde::Addins() { return std::make_shared<AddInList>(*this); }
std::shared_ptr<ide::Events> FakeIde::Events() { return std::make_shared<EventSource>(*this); }

void FakeIde::FailIfNamed(const std::string& operation) const {
  if (!calls.Next() && !failing.contains(operation)) return;
  const std::wstring name(operation.begin(), operation.end());
  throw VbError(-2147467259, name, name + L" failed");
}

void FakeIde::Call(const std::string& operation, std::wstring_view detail) {
  FailIfNamed(operation);
  log.push_back(detail.empty() ? operation : operation + " " + Narrow(detail));
}

void FakeIde::ThrowIfFailing(const std::wstring& operation) {
  if (calls.Next()) throw VbError(-2147467259, operation, operation + L" failed");
  if (!failNext) return;
  VbError e = *failNext;
  failNext.reset();
  throw e;
}

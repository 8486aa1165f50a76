// VBE, Addins, VBProjects and the owner's side of the stand-in.

#include "standin/StandInIde.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>

#include "standin/Model.h"

namespace standin {
namespace {

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && ::_wcsnicmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

// ---- Addins ----

const AddInObject::Member AddInObject::kMembers[] = {
    {{L"ProgId", 1, Kind::kGet, 0},
     [](AddInObject& self, Call& call) { call.Return(self.progId); }},
    {{L"Connect", 2, Kind::kGet, 0},
     [](AddInObject& self, Call& call) { call.Return(self.connected); }},
    {{L"Connect", 2, Kind::kPut, 0},
     [](AddInObject& self, Call& call) {
       self.connected = ToBool(call.Value());
       if (self.ide_->observer) self.ide_->observer->AddInChanged(self.progId);
     }},
    {{L"Object", 3, Kind::kGet, 0},
     [](AddInObject& self, Call& call) { call.Return(self.object.get()); }},
    {{L"Object", 3, Kind::kPut, 0},
     [](AddInObject& self, Call& call) {
       self.object = com_ptr<IDispatch>(ToObject(call.Value()));
     }},
};

AddInObject::AddInObject(IdePtr ide, std::wstring id, bool isConnected)
    : IdeObject(L"AddIn", kMembers, std::move(ide)),
      progId(std::move(id)),
      connected(isConnected) {}

namespace {

class AddinsObject final : public IdeObject<AddinsObject> {
 public:
  explicit AddinsObject(IdePtr ide);
  static const Member kMembers[];
};

const AddinsObject::Member AddinsObject::kMembers[] = {
    {{L"Item", DISPID_VALUE, Kind::kGet, 1},
     [](AddinsObject& self, Call& call) {
       const auto& addIns = self.ide_->addIns;
       if (IsText(call.Arg(0))) {
         const std::wstring progId = call.Text(0);
         for (const auto& addIn : addIns)
           if (SameText(addIn->progId, progId)) return call.Return(addIn.get());
         RaiseInvalidArgument();
       }
       const long n = call.Long(0);
       if (n < 1 || static_cast<std::size_t>(n) > addIns.size()) RaiseInvalidArgument();
       call.Return(addIns[n - 1].get());
     }},
    {{L"Count", 1, Kind::kGet, 0},
     [](AddinsObject& self, Call& call) { call.Return(long(self.ide_->addIns.size())); }},
};

AddinsObject::AddinsObject(IdePtr ide) : IdeObject(L"Addins", kMembers, std::move(ide)) {}

}  // namespace

// ---- VBProjects ----

namespace {

// The project's name: the file's Name line, else the file's name without its folder and type.
std::wstring ProjectName(const std::wstring& fileName) {
  unique_file file(::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  std::string text(64 * 1024, '\0');
  DWORD read = 0;
  if (file && ::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
    text.resize(read);
  else
    text.clear();
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (line.size() < 5 || ::_strnicmp(line.c_str(), "Name=", 5) != 0) continue;
    line.erase(0, 5);
    while (!line.empty() && (line.back() == '\r' || line.back() == '"')) line.pop_back();
    if (!line.empty() && line.front() == '"') line.erase(0, 1);
    std::wstring name(line.size(), L'\0');
    name.resize(::MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()),
                                      name.data(), static_cast<int>(name.size())));
    return name;
  }
  std::wstring name = fileName.substr(fileName.find_last_of(L"\\/") + 1);
  return name.substr(0, name.rfind(L'.'));
}

}  // namespace

const ProjectObject::Member ProjectObject::kMembers[] = {
    {{L"FileName", 1, Kind::kGet, 0},
     [](ProjectObject& self, Call& call) { call.Return(self.fileName); }},
    {{L"Name", 2, Kind::kGet, 0}, [](ProjectObject& self, Call& call) { call.Return(self.name); }},
};

ProjectObject::ProjectObject(IdePtr ide, std::wstring file)
    : IdeObject(L"VBProject", kMembers, std::move(ide)),
      fileName(std::move(file)),
      name(ProjectName(fileName)) {}

namespace {

void Changed(const Ide& ide) {
  if (ide.observer) ide.observer->ProjectsChanged();
}

ProjectObject& Open(const IdePtr& ide, const std::wstring& fileName, bool exclusive) {
  const DWORD attributes = ::GetFileAttributesW(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw VbError(53, L"", L"File not found");
  auto project = Make<ProjectObject>(ide, fileName);
  if (exclusive) ide->projects.clear();
  ide->projects.push_back(project);
  ide->active = project;
  return *project.get();
}

class ProjectsObject final : public IdeObject<ProjectsObject> {
 public:
  explicit ProjectsObject(IdePtr ide);
  static const Member kMembers[];
};

const ProjectsObject::Member ProjectsObject::kMembers[] = {
    {{L"AddFromFile", 1, Kind::kMethod, 2},  // (FileName, Exclusive = False)
     [](ProjectsObject& self, Call& call) {
       const std::wstring fileName = call.Text(0);
       const bool exclusive = call.Given(1) && call.Bool(1);
       call.Return(&Open(self.ide_, fileName, exclusive));
       self.ide_->projectCalls.push_back({ProjectCall::kOpened, fileName, exclusive});
       Changed(*self.ide_);
     }},
    {{L"Remove", 2, Kind::kMethod, 1},
     [](ProjectsObject& self, Call& call) {
       Ide& ide = *self.ide_;
       IDispatch* given = call.Object(0);
       auto found = std::find_if(ide.projects.begin(), ide.projects.end(), [given](const auto& p) {
         return SameObject(static_cast<IDispatch*>(p.get()), given);
       });
       if (found == ide.projects.end()) RaiseInvalidArgument();
       ide.projectCalls.push_back({ProjectCall::kRemoved, (*found)->fileName});
       com_ptr<ProjectObject> removed = std::move(*found);
       ide.projects.erase(found);
       if (ide.active.get() == removed.get())
         ide.active = ide.projects.empty() ? nullptr : ide.projects.back();
       Changed(ide);
     }},
    {{L"Count", 3, Kind::kGet, 0},
     [](ProjectsObject& self, Call& call) { call.Return(long(self.ide_->projects.size())); }},
    {{L"Item", DISPID_VALUE, Kind::kGet, 1},
     [](ProjectsObject& self, Call& call) {
       const auto& projects = self.ide_->projects;
       if (IsText(call.Arg(0))) {
         const std::wstring name = call.Text(0);
         for (const auto& project : projects)
           if (SameText(project->name, name)) return call.Return(project.get());
         RaiseInvalidArgument();
       }
       const long n = call.Long(0);
       if (n < 1 || static_cast<std::size_t>(n) > projects.size()) RaiseInvalidArgument();
       call.Return(projects[n - 1].get());
     }},
};

ProjectsObject::ProjectsObject(IdePtr ide) : IdeObject(L"VBProjects", kMembers, std::move(ide)) {}

// ---- VBE ----

class VbeObject final : public IdeObject<VbeObject> {
 public:
  explicit VbeObject(const IdePtr& ide);

  static const Member kMembers[];

 private:
  com_ptr<IDispatch> windows_, addins_, commandBars_, events_, projects_;
};

const VbeObject::Member VbeObject::kMembers[] = {
    {{L"Windows", 1, Kind::kGet, 0},
     [](VbeObject& self, Call& call) { call.Return(self.windows_.get()); }},
    {{L"Addins", 2, Kind::kGet, 0},
     [](VbeObject& self, Call& call) { call.Return(self.addins_.get()); }},
    {{L"CommandBars", 3, Kind::kGet, 0},
     [](VbeObject& self, Call& call) { call.Return(self.commandBars_.get()); }},
    {{L"Events", 4, Kind::kGet, 0},
     [](VbeObject& self, Call& call) { call.Return(self.events_.get()); }},
    {{L"VBProjects", 5, Kind::kGet, 0},
     [](VbeObject& self, Call& call) { call.Return(self.projects_.get()); }},
    {{L"ActiveVBProject", 6, Kind::kGet, 0},
     [](VbeObject& self, Call& call) { call.Return(self.ide_->active.get()); }},
};

VbeObject::VbeObject(const IdePtr& ide)
    : IdeObject(L"VBE", kMembers, ide),
      windows_(MakeWindows(ide)),
      addins_(Make<AddinsObject>(ide).get()),
      commandBars_(MakeCommandBars(ide)),
      events_(MakeEvents(ide)),
      projects_(Make<ProjectsObject>(ide).get()) {}

// ---- The owner's side ----

class StandInIdeImpl final : public StandInIde {
 public:
  explicit StandInIdeImpl(HWND dockParent)
      : ide_(std::make_shared<Ide>(dockParent)), vbe_(Make<VbeObject>(ide_)) {}

  ~StandInIdeImpl() override {
    Ide& ide = *ide_;
    ide.observer = nullptr;
    for (const auto& window : ide.toolWindows) window->Destroy();
    ide.activeObject.reset();
    DropSinks(ide);
    ide.keptSinks.clear();
    for (const auto& bar : ide.bars)
      while (!bar->controls->items.empty()) bar->controls->items.back()->Remove();
    ide.closed = true;
    // Objects the add-in still holds keep the state alive, closed; it no longer holds them.
    ide.toolWindows.clear();
    ide.bars.clear();
    ide.addIns.clear();
    ide.projects.clear();
    ide.active.reset();
  }

  com_ptr<IDispatch> Vbe() const override { return com_ptr<IDispatch>(vbe_.get()); }
  void SetObserver(Observer* observer) override { ide_->observer = observer; }
  void FailCall(int n) override {
    ide_->calls = 0;
    ide_->failCall = n;
  }
  int Calls() const override { return ide_->calls; }
  void RefuseUnadvise() override { ide_->refuseUnadvise = true; }
  std::vector<com_ptr<IDispatch>> KeptSinks() const override { return ide_->keptSinks; }

  void AddBar(std::wstring_view name, bool visible) override {
    ide_->bars.push_back(Make<BarObject>(ide_, std::wstring(name), visible));
  }
  void AddControl(std::wstring_view bar, std::wstring_view caption, bool enabled) override {
    ControlsObject& controls = *ide_->Bar(bar).controls.get();
    ControlInfo info;
    info.caption = caption;
    info.enabled = enabled;
    controls.Insert(controls.items.size(), std::move(info));
  }
  void SetEnabled(std::wstring_view bar, int index, bool enabled) override {
    if (ControlObject* control = Find(bar, index)) control->info.enabled = enabled;
  }
  std::vector<BarInfo> Bars() const override {
    std::vector<BarInfo> bars;
    for (const auto& bar : ide_->bars) {
      bars.push_back({bar->name, bar->visible, {}});
      for (const auto& control : bar->controls->items)
        bars.back().controls.push_back(control->info);
    }
    return bars;
  }
  com_ptr<IDispatch> Control(std::wstring_view bar, int index) const override {
    return com_ptr<IDispatch>(Find(bar, index));
  }
  ClickResult Click(IDispatch* control) override {
    ControlObject* found = ide_->FindControl(control);
    return found ? FireClick(*ide_, *found) : ClickResult{};
  }
  ClickResult Click(std::wstring_view bar, int index) override {
    ControlObject* found = Find(bar, index);
    return found ? FireClick(*ide_, *found) : ClickResult{};
  }

  void AddAddIn(std::wstring_view progId, bool connected) override {
    ide_->addIns.push_back(Make<AddInObject>(ide_, std::wstring(progId), connected));
  }
  com_ptr<IDispatch> AddIn(std::wstring_view progId) const override {
    for (const auto& addIn : ide_->addIns)
      if (SameText(addIn->progId, progId)) return com_ptr<IDispatch>(addIn.get());
    return {};
  }
  bool Connected(std::wstring_view progId) const override {
    for (const auto& addIn : ide_->addIns)
      if (SameText(addIn->progId, progId)) return addIn->connected;
    return false;
  }

  std::vector<ToolWindowInfo> ToolWindows() const override {
    std::vector<ToolWindowInfo> windows;
    for (const auto& window : ide_->toolWindows) windows.push_back(window->Info());
    return windows;
  }
  void CloseToolWindow(std::size_t index) override {
    if (index < ide_->toolWindows.size()) ide_->toolWindows[index]->Close();
  }

  void OpenProject(std::wstring_view fileName, bool exclusive) override {
    Open(ide_, std::wstring(fileName), exclusive);
    Changed(*ide_);
  }
  std::vector<ProjectInfo> Projects() const override {
    std::vector<ProjectInfo> projects;
    for (const auto& project : ide_->projects)
      projects.push_back({project->fileName, project->name});
    return projects;
  }
  int ActiveProject() const override {
    for (std::size_t i = 0; i < ide_->projects.size(); ++i)
      if (ide_->projects[i].get() == ide_->active.get()) return static_cast<int>(i);
    return -1;
  }
  const std::vector<ProjectCall>& ProjectCalls() const override { return ide_->projectCalls; }

  bool PreTranslate(MSG& message) override {
    Ide& ide = *ide_;
    const bool press = message.message == WM_LBUTTONDOWN || message.message == WM_RBUTTONDOWN ||
                       message.message == WM_NCLBUTTONDOWN;
    if (press && ide.activeObject && !Inside(*ide.activeObject.get(), message.hwnd)) {
      // A click elsewhere ends the control's UI activity, as in the IDE.
      if (auto inPlace = ide.activeObject.try_query<IOleInPlaceObject>()) inPlace->UIDeactivate();
      ide.activeObject.reset();
    }
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    if (auto active = ide.activeObject; active && active->TranslateAccelerator(&message) == S_OK)
      return true;
    if (message.message != WM_KEYDOWN) return false;
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
    const wchar_t* command = nullptr;
    if (!ctrl && !shift && message.wParam == VK_F5) command = L"Start";
    if (!ctrl && !shift && message.wParam == VK_DELETE) command = L"Delete";
    if (ctrl && !shift && message.wParam == 'C') command = L"Copy";
    if (!command) return false;
    ide.ideCommands.push_back(command);
    return true;
  }
  const std::vector<std::wstring>& IdeCommands() const override { return ide_->ideCommands; }
  bool HasActiveObject() const override { return static_cast<bool>(ide_->activeObject); }

 private:
  // Whether the window is the active object's or one of its children.
  static bool Inside(IOleInPlaceActiveObject& active, HWND window) {
    HWND own = nullptr;
    return SUCCEEDED(active.GetWindow(&own)) && own && (window == own || ::IsChild(own, window));
  }

  ControlObject* Find(std::wstring_view bar, int index) const {
    for (const auto& b : ide_->bars)
      if (SameText(b->name, bar) && index >= 1 &&
          static_cast<std::size_t>(index) <= b->controls->items.size())
        return b->controls->items[index - 1].get();
    return nullptr;
  }

  IdePtr ide_;
  com_ptr<VbeObject> vbe_;
};

}  // namespace

std::unique_ptr<StandInIde> MakeStandInIde(HWND dockParent) {
  return std::make_unique<StandInIdeImpl>(dockParent);
}

void AddStandardBars(StandInIde& ide) {
  ide.AddBar(L"Menu Bar", true);
  for (const wchar_t* menu : {L"&File", L"&Edit", L"&View", L"&Project", L"&Add-Ins", L"&Help"})
    ide.AddControl(L"Menu Bar", menu);
  ide.AddBar(L"Standard", true);
  for (const wchar_t* button : {L"Add Standard EXE Project", L"Open Project", L"Save Project"})
    ide.AddControl(L"Standard", button);
  ide.AddBar(L"File", false);
  for (const wchar_t* item :
       {L"&New Project", L"&Open Project...", L"Add Projec&t...", L"Remo&ve Project", L"E&xit"})
    ide.AddControl(L"File", item);
  ide.AddBar(L"Add-Ins", false);
  for (const wchar_t* item : {L"&Visual Data Manager...", L"&Add-In Manager..."})
    ide.AddControl(L"Add-Ins", item);
}

}  // namespace standin

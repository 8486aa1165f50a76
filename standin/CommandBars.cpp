// CommandBars, CommandBar, CommandBarControls and CommandBarControl as the IDE's Office 97 bars
// expose them to add-ins.

#include <algorithm>
#include <cwchar>
#include <utility>

#include "standin/Model.h"

namespace standin {
namespace {

// The control types Controls.Add makes: button, edit, drop-down, combo box, pop-up.
bool IsControlType(long type) { return (type >= 1 && type <= 4) || type == 10; }

// The picture on the clipboard, copied into a bitmap of our own; throws VbError when the
// clipboard holds none or cannot be opened.
unique_hbitmap FaceFromClipboard(SIZE& size) {
  const VbError none(E_FAIL, L"", L"Method 'PasteFace' of object '_CommandBarButton' failed");
  if (!::OpenClipboard(nullptr)) throw none;
  unique_hbitmap face;
  // The system makes CF_BITMAP out of a CF_DIB put there.
  if (auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP)))
    face.reset(static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  ::CloseClipboard();
  BITMAP info{};
  if (!face || !::GetObjectW(face.get(), sizeof info, &info)) throw none;
  size = {info.bmWidth, info.bmHeight};
  return face;
}

class CommandBarsObject final : public IdeObject<CommandBarsObject> {
 public:
  explicit CommandBarsObject(IdePtr ide);
  static const Member kMembers[];
};

const CommandBarsObject::Member CommandBarsObject::kMembers[] = {
    {{L"Item", DISPID_VALUE, Kind::kGet, 1},
     [](CommandBarsObject& self, Call& call) { call.Return(&self.ide_->Bar(call.Arg(0))); }},
    {{L"Count", 1, Kind::kGet, 0},
     [](CommandBarsObject& self, Call& call) { call.Return(long(self.ide_->bars.size())); }},
};

CommandBarsObject::CommandBarsObject(IdePtr ide)
    : IdeObject(L"CommandBars", kMembers, std::move(ide)) {}

}  // namespace

// ---- Ide's bars ----

BarObject& Ide::Bar(std::wstring_view name) const {
  for (const auto& bar : bars)
    if (bar->name.size() == name.size() &&
        ::_wcsnicmp(bar->name.c_str(), name.data(), name.size()) == 0)
      return *bar.get();
  RaiseInvalidArgument();
}

BarObject& Ide::Bar(const VARIANT& index) const {
  if (IsText(index)) return Bar(ToText(index));
  const long n = ToLong(index);
  if (n < 1 || static_cast<std::size_t>(n) > bars.size()) RaiseInvalidArgument();
  return *bars[n - 1].get();
}

ControlObject* Ide::FindControl(IUnknown* object) const {
  for (const auto& bar : bars)
    for (const auto& control : bar->controls->items)
      if (SameObject(static_cast<IDispatch*>(control.get()), object)) return control.get();
  return nullptr;
}

// ---- CommandBarControl ----

const ControlObject::Member ControlObject::kMembers[] = {
    {{L"Caption", 1, Kind::kGet, 0},
     [](ControlObject& self, Call& call) { call.Return(self.info.caption); }},
    {{L"Caption", 1, Kind::kPut, 0},
     [](ControlObject& self, Call& call) {
       self.info.caption = ToText(call.Value());
       self.ide_->BarsChanged();
     }},
    {{L"Enabled", 2, Kind::kGet, 0},
     [](ControlObject& self, Call& call) { call.Return(self.info.enabled); }},
    {{L"Enabled", 2, Kind::kPut, 0},
     [](ControlObject& self, Call& call) {
       self.info.enabled = ToBool(call.Value());
       self.ide_->BarsChanged();
     }},
    {{L"Parameter", 3, Kind::kGet, 0},
     [](ControlObject& self, Call& call) { call.Return(self.info.parameter); }},
    {{L"Parameter", 3, Kind::kPut, 0},
     [](ControlObject& self, Call& call) { self.info.parameter = ToText(call.Value()); }},
    {{L"Index", 4, Kind::kGet, 0},
     [](ControlObject& self, Call& call) { call.Return(long(self.Index())); }},
    {{L"Delete", 5, Kind::kMethod, 1},  // (Temporary): every control here goes for good
     [](ControlObject& self, Call&) {
       // A control deleted already is gone from the IDE: deleting it again raises, as the IDE's
       // own bars do.
       if (!self.owner)
         throw VbError(E_FAIL, L"", L"Method 'Delete' of object '_CommandBarButton' failed");
       self.Remove();
       self.ide_->BarsChanged();
     }},
    {{L"PasteFace", 6, Kind::kMethod, 0},
     [](ControlObject& self, Call&) {
       self.face = FaceFromClipboard(self.info.faceSize);
       self.info.face = self.face.get();
       self.ide_->BarsChanged();
     }},
};

ControlObject::ControlObject(IdePtr ide, ControlsObject* bar, ControlInfo controlInfo)
    : IdeObject(L"CommandBarControl", kMembers, std::move(ide)),
      info(std::move(controlInfo)),
      owner(bar) {}

int ControlObject::Index() const {
  const auto& items = owner->items;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i) + 1;
  return 0;
}

void ControlObject::Remove() {
  if (!owner) return;
  auto& items = std::exchange(owner, nullptr)->items;
  // The list's reference may be the last one: this lives until the erase is done.
  com_ptr<ControlObject> self(this);
  std::erase_if(items, [this](const auto& c) { return c.get() == this; });
}

// ---- CommandBarControls ----

const ControlsObject::Member ControlsObject::kMembers[] = {
    {{L"Item", DISPID_VALUE, Kind::kGet, 1},
     [](ControlsObject& self, Call& call) {
       const long n = call.Long(0);
       if (n < 1 || static_cast<std::size_t>(n) > self.items.size()) RaiseInvalidArgument();
       call.Return(self.items[n - 1].get());
     }},
    {{L"Count", 1, Kind::kGet, 0},
     [](ControlsObject& self, Call& call) { call.Return(long(self.items.size())); }},
    {{L"Add", 2, Kind::kMethod, 5},  // (Type, Id, Parameter, Before, Temporary), all optional
     [](ControlsObject& self, Call& call) {
       ControlInfo info;
       if (call.Given(0)) info.type = call.Long(0);
       if (!IsControlType(info.type)) RaiseInvalidArgument();
       if (call.Given(1)) info.id = call.Long(1);
       if (call.Given(2)) info.parameter = call.Text(2);
       std::size_t at = self.items.size();
       if (call.Given(3)) {
         const long before = call.Long(3);
         if (before < 1 || static_cast<std::size_t>(before) > self.items.size() + 1)
           RaiseInvalidArgument();
         at = before - 1;
       }
       if (call.Given(4)) info.temporary = call.Bool(4);
       call.Return(&self.Insert(at, std::move(info)));
       self.ide_->BarsChanged();
     }},
};

ControlsObject::ControlsObject(IdePtr ide)
    : IdeObject(L"CommandBarControls", kMembers, std::move(ide)) {}

ControlObject& ControlsObject::Insert(std::size_t at, ControlInfo info) {
  auto control = Make<ControlObject>(ide_, this, std::move(info));
  return *items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), std::move(control))->get();
}

// ---- CommandBar ----

const BarObject::Member BarObject::kMembers[] = {
    {{L"Name", 1, Kind::kGet, 0}, [](BarObject& self, Call& call) { call.Return(self.name); }},
    {{L"Visible", 2, Kind::kGet, 0},
     [](BarObject& self, Call& call) { call.Return(self.visible); }},
    {{L"Visible", 2, Kind::kPut, 0},
     [](BarObject& self, Call& call) {
       self.visible = ToBool(call.Value());
       self.ide_->BarsChanged();
     }},
    {{L"Controls", 3, Kind::kGet, 0},
     [](BarObject& self, Call& call) { call.Return(self.controls.get()); }},
};

BarObject::BarObject(IdePtr ide, std::wstring barName, bool isVisible)
    : IdeObject(L"CommandBar", kMembers, ide),
      name(std::move(barName)),
      visible(isVisible),
      controls(Make<ControlsObject>(std::move(ide))) {}

com_ptr<IDispatch> MakeCommandBars(IdePtr ide) {
  return com_ptr<IDispatch>(Make<CommandBarsObject>(std::move(ide)).get());
}

}  // namespace standin

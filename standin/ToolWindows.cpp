// Windows.CreateToolWindow and the Window it returns: a hidden dockable frame in the dock area,
// hosting the ActiveX control of a ProgID in place, as the IDE's own container does.

#include <ocidl.h>

#include "platform/win32/ComObject.h"
#include "platform/win32/WindowProc.h"
#include "standin/Model.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace standin {
namespace {

constexpr wchar_t kFrameClass[] = L"MarrowbyStandInToolWindow";

HINSTANCE Module() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

[[noreturn]] void RaiseCannotCreate() {
  throw VbError(429, L"", L"ActiveX component can't create object");
}

}  // namespace

// The container's side of one control: its client site, its in-place site and the frame. The
// frame keeps the active object the control names (SetActiveObject), to which the IDE's message
// loop offers keys first.
class ControlSite final : public ComObject<IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame> {
 public:
  ControlSite(IdePtr ide, HWND window) : ide_(std::move(ide)), window_(window) {}

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow, of the site and of the frame alike
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return window_ ? S_OK : S_FALSE; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = this;
      AddRef();
    }
    if (document) *document = nullptr;
    RECT client{};
    ::GetClientRect(window_, &client);
    if (position) *position = client;
    if (clip) *clip = client;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = ::GetAncestor(window_, GA_ROOT);
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
    ide_->activeObject = com_ptr<IOleInPlaceActiveObject>(object);
    return S_OK;
  }

  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  /// The window is gone: the site refuses to activate again.
  void Detach() { window_ = nullptr; }

 private:
  ~ControlSite() override = default;
  void* FindMore(REFIID riid) override {
    if (::IsEqualIID(riid, IID_IOleWindow)) return static_cast<IOleInPlaceSite*>(this);
    if (::IsEqualIID(riid, IID_IOleInPlaceUIWindow)) return static_cast<IOleInPlaceFrame*>(this);
    return nullptr;
  }

  IdePtr ide_;
  HWND window_;
};

namespace {

class WindowsObject final : public IdeObject<WindowsObject> {
 public:
  explicit WindowsObject(IdePtr ide);
  static const Member kMembers[];
};

// Stores the control into DocObj, passed by reference as an object or a Variant.
void StoreDocument(VARIANT& docObj, IUnknown* control) {
  com_ptr<IDispatch> document;
  control->QueryInterface(IID_IDispatch, document.put_void());
  if (docObj.vt == (VT_BYREF | VT_DISPATCH)) {
    if (*docObj.ppdispVal) (*docObj.ppdispVal)->Release();
    *docObj.ppdispVal = document.detach();
  } else {
    ::VariantClear(docObj.pvarVal);
    docObj.pvarVal->vt = VT_DISPATCH;
    docObj.pvarVal->pdispVal = document.detach();
  }
}

const WindowsObject::Member WindowsObject::kMembers[] = {
    // (AddInInst, ProgId, Caption, GuidPosition, DocObj)
    {{L"CreateToolWindow", 1, Kind::kMethod, 5},
     [](WindowsObject& self, Call& call) {
       if (!call.Object(0)) RaiseInvalidArgument();
       VARIANT& docObj = call.RefArg(4);
       if (docObj.vt != (VT_BYREF | VT_DISPATCH) && docObj.vt != (VT_BYREF | VT_VARIANT))
         RaiseTypeMismatch(L"");
       auto window = Make<ToolWindow>(self.ide_, call.Text(1), call.Text(2), call.Text(3));
       com_ptr<IUnknown> control = window->Create();
       self.ide_->toolWindows.push_back(window);
       StoreDocument(docObj, control.get());
       call.Return(window.get());
     }},
};

WindowsObject::WindowsObject(IdePtr ide) : IdeObject(L"Windows", kMembers, std::move(ide)) {}

}  // namespace

const ToolWindow::Member ToolWindow::kMembers[] = {
    {{L"Caption", 1, Kind::kGet, 0},
     [](ToolWindow& self, Call& call) { call.Return(self.caption_); }},
    {{L"Visible", 2, Kind::kGet, 0},
     [](ToolWindow& self, Call& call) { call.Return(self.Info().visible); }},
    {{L"Visible", 2, Kind::kPut, 0},
     [](ToolWindow& self, Call& call) {
       ::ShowWindow(self.Frame(), ToBool(call.Value()) ? SW_SHOW : SW_HIDE);
     }},
};

ToolWindow::ToolWindow(IdePtr ide, std::wstring progId, std::wstring caption,
                       std::wstring guidPosition)
    : IdeObject(L"Window", kMembers, std::move(ide)),
      progId_(std::move(progId)),
      caption_(std::move(caption)),
      guidPosition_(std::move(guidPosition)) {}

ToolWindow::~ToolWindow() { Destroy(); }

com_ptr<IUnknown> ToolWindow::Create() {
  static const bool registered = [] {
    WNDCLASSEXW frameClass{};
    frameClass.cbSize = sizeof frameClass;
    frameClass.lpfnWndProc = &BoundWindowProc<ToolWindow>;
    frameClass.hInstance = Module();
    frameClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frameClass.lpszClassName = kFrameClass;
    return ::RegisterClassExW(&frameClass) != 0;
  }();
  if (!registered) RaiseCannotCreate();

  // Hidden until the add-in shows it; it fills the dock area.
  RECT area{};
  ::GetClientRect(ide_->dockParent, &area);
  ::CreateWindowExW(WS_EX_TOOLWINDOW, kFrameClass, caption_.c_str(),
                    WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0,
                    area.right, area.bottom, ide_->dockParent, nullptr, Module(), this);
  if (!frame_) RaiseCannotCreate();

  // The control as the IDE's container makes it: the site first, a new state, then in place in
  // the frame's client area.
  CLSID clsid{};
  com_ptr<IOleObject> control;
  if (FAILED(::CLSIDFromProgID(progId_.c_str(), &clsid)) ||
      FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                control.put_void()))) {
    Destroy();
    RaiseCannotCreate();
  }
  site_ = com_ptr<ControlSite>::attach(new ControlSite(ide_, frame_));
  control_ = control;
  control->SetClientSite(site_.get());
  control->SetHostNames(L"Stand-in IDE", caption_.c_str());
  if (auto persist = control.try_query<IPersistStreamInit>()) persist->InitNew();
  RECT client{};
  ::GetClientRect(frame_, &client);
  if (FAILED(control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, frame_, &client))) {
    Destroy();
    RaiseCannotCreate();
  }
  return com_ptr<IUnknown>(control.get());
}

void ToolWindow::Close() {
  if (frame_) ::SendMessageW(frame_, WM_CLOSE, 0, 0);
}

void ToolWindow::Destroy() {
  // The control leaves its place, closes and lets the site go before the frame goes.
  if (control_) {
    if (auto inPlace = control_.try_query<IOleInPlaceObject>()) inPlace->InPlaceDeactivate();
    control_->Close(OLECLOSE_NOSAVE);
    control_->SetClientSite(nullptr);
    control_.reset();
  }
  if (site_) {
    site_->Detach();
    site_.reset();
  }
  if (frame_) ::DestroyWindow(frame_);
}

ToolWindowInfo ToolWindow::Info() const {
  const bool visible = frame_ && (::GetWindowLongW(frame_, GWL_STYLE) & WS_VISIBLE);
  return {progId_, caption_, guidPosition_, frame_, visible};
}

HWND ToolWindow::Frame() const {
  if (!frame_) RaiseDisconnected();
  return frame_;
}

LRESULT ToolWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_SIZE:  // the control fills the frame
      if (control_) {
        const RECT client{0, 0, LOWORD(lParam), HIWORD(lParam)};
        if (auto inPlace = control_.try_query<IOleInPlaceObject>())
          inPlace->SetObjectRects(&client, &client);
      }
      return 0;
    case WM_CLOSE:  // the close box hides a tool window; Window.Visible then reads False
      ::ShowWindow(frame_, SW_HIDE);
      return 0;
  }
  return ::DefWindowProcW(frame_, message, wParam, lParam);
}

com_ptr<IDispatch> MakeWindows(IdePtr ide) {
  return com_ptr<IDispatch>(Make<WindowsObject>(std::move(ide)).get());
}

}  // namespace standin

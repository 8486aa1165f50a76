#include "server/SkeldraObject.h"

#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <new>

#include "server/ActivationContext.h"
#include "server/AddinPlatform.h"
#include "server/Marrowby_h.h"
#include "server/Module.h"
#include "browser/Skeldra.h"
#include "about/win32/AboutForm.h"
#include "ide/mMain.h"
#include "browser/win32/Win32SkeldraWindow.h"
#include "catalogue/ProjectLists.h"
#include "platform/Boundary.h"
#include "platform/Error.h"
#include "platform/win32/com_ptr.h"

namespace {

// The About box, made with the add-in's own visual styles.
class StyledForm final : public ModalForm {
 public:
  explicit StyledForm(std::unique_ptr<ModalForm> form) : form_(std::move(form)) {}
  void ShowModal() override {
    ActivationScope styles;
    form_->ShowModal();
  }

 private:
  std::unique_ptr<ModalForm> form_;
};

constexpr long kHimetricPerInch = 2540;

class SkeldraObject final
    : public ServerObject<Dual<_Skeldra>, IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject,
                          IPersistStreamInit, IOleControl, IViewObject2, IProvideClassInfo,
                          ISupportErrorInfo> {
 public:
  ~SkeldraObject() override { Deactivate(); }

  HRESULT Init() { return InitDual<_Skeldra>(*this); }

  // _Skeldra
  STDMETHODIMP View() override {
    return ComBoundary(__uuidof(_Skeldra), [&] {
      Document().View();
      return S_OK;
    });
  }
  STDMETHODIMP OpenProject() override {
    return ComBoundary(__uuidof(_Skeldra), [&] {
      Document().OpenProject();
      return S_OK;
    });
  }
  STDMETHODIMP RemoveProject() override {
    return ComBoundary(__uuidof(_Skeldra), [&] {
      Document().RemoveProject();
      return S_OK;
    });
  }

  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override {
    return ::IsEqualIID(riid, __uuidof(_Skeldra)) ? S_OK : S_FALSE;
  }

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    site_ = com_ptr<IOleClientSite>(site);
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    if (!site) return E_POINTER;
    *site = com_ptr<IOleClientSite>(site_).detach();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    Deactivate();
    adviseHolder_.reset();
    viewSink_.reset();
    return S_OK;
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject** data) override {
    if (data) *data = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override {
    return ComBoundary(IID_IOleObject, [&] {
      if (site && !site_) site_ = com_ptr<IOleClientSite>(site);
      switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_UIACTIVATE:
          return Activate(true);
        case OLEIVERB_INPLACEACTIVATE:
          return Activate(false);
        case OLEIVERB_HIDE:
          if (window_) ::ShowWindow(window_->Handle(), SW_HIDE);
          return S_OK;
        default:
          return verb > 0 ? S_OK : E_NOTIMPL;
      }
    });
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override {
    return ::OleRegEnumVerbs(__uuidof(Skeldra), verbs);
  }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override {
    if (!clsid) return E_POINTER;
    *clsid = __uuidof(Skeldra);
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override {
    return ::OleRegGetUserType(__uuidof(Skeldra), form, type);
  }
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    extent_ = *size;
    return S_OK;
  }
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = extent_;
    return S_OK;
  }
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override {
    if (!adviseHolder_) {
      const HRESULT hr = ::CreateOleAdviseHolder(adviseHolder_.put());
      if (FAILED(hr)) return hr;
    }
    return adviseHolder_->Advise(sink, connection);
  }
  STDMETHODIMP Unadvise(DWORD connection) override {
    return adviseHolder_ ? adviseHolder_->Unadvise(connection) : OLE_E_NOCONNECTION;
  }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advise) override {
    if (advise) *advise = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(advise) : E_FAIL;
  }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    if (!status) return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
              OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_ ? window_->Handle() : nullptr;
    return window_ ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceObject
  STDMETHODIMP InPlaceDeactivate() override {
    Deactivate();
    return S_OK;
  }
  STDMETHODIMP UIDeactivate() override {
    UiDeactivate();
    return S_OK;
  }
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override {
    if (!position) return E_POINTER;
    if (window_)
      ::MoveWindow(window_->Handle(), position->left, position->top,
                   position->right - position->left, position->bottom - position->top, TRUE);
    return S_OK;
  }
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

  // IOleInPlaceActiveObject
  STDMETHODIMP TranslateAccelerator(LPMSG message) override {
    if (!message || !window_) return S_FALSE;
    bool handled = false;
    Silently([&] { handled = window_->TranslateAccelerator(message); });
    return handled ? S_OK : S_FALSE;
  }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

  // IPersistStreamInit
  STDMETHODIMP GetClassID(CLSID* clsid) override { return GetUserClassID(clsid); }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM) override { return S_OK; }
  STDMETHODIMP Save(LPSTREAM, BOOL) override { return S_OK; }
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
  }
  STDMETHODIMP InitNew() override { return S_OK; }

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override {
    if (!info) return E_POINTER;
    info->cb = sizeof *info;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
  }
  STDMETHODIMP OnMnemonic(MSG*) override { return S_OK; }
  STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
  STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

  // IViewObject2
  STDMETHODIMP Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdc, LPCRECTL bounds,
                    LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!hdc || !bounds) return E_INVALIDARG;
    // Shown by its own window when active; elsewhere (a container's print or design view) a
    // plain face with the title.
    RECT r = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    ::FillRect(hdc, &r, ::GetSysColorBrush(COLOR_WINDOW));
    ::DrawTextW(hdc, L"Skeldra", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return S_OK;
  }
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) override {
    if (colors) *colors = nullptr;
    return S_FALSE;
  }
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override {
    viewAspects_ = aspects;
    viewFlags_ = flags;
    viewSink_ = com_ptr<IAdviseSink>(sink);
    return S_OK;
  }
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) *sink = com_ptr<IAdviseSink>(viewSink_).detach();
    return S_OK;
  }
  STDMETHODIMP GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override {
    return GetExtent(aspect, size);
  }

  // IProvideClassInfo
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
    return GetTypeInfoOf(__uuidof(Skeldra), info);
  }

 private:
  // The bases of interfaces it lists.
  void* FindMore(REFIID riid) override {
    if (::IsEqualIID(riid, IID_IOleWindow)) return static_cast<IOleInPlaceObject*>(this);
    if (::IsEqualIID(riid, IID_IPersist)) return static_cast<IPersistStreamInit*>(this);
    if (::IsEqualIID(riid, IID_IViewObject)) return static_cast<IViewObject2*>(this);
    return nullptr;
  }

  Skeldra& Document() {
    if (!document_)
      throw VbError(91, L"Skeldra", L"The project browser is not shown in a window yet");
    return *document_;
  }

  // In-place activation: the window in the container's window, then the document in it.
  HRESULT Activate(bool uiActivate) {
    if (!site_) return E_UNEXPECTED;
    if (!inPlaceSite_) {
      auto site = site_.try_query<IOleInPlaceSite>();
      if (!site) return E_NOINTERFACE;
      if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
      site->OnInPlaceActivate();
      inPlaceSite_ = site;
    }
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    HWND parent = nullptr;
    if (FAILED(inPlaceSite_->GetWindow(&parent))) return E_FAIL;
    frame_.reset();
    uiWindow_.reset();
    inPlaceSite_->GetWindowContext(frame_.put(), uiWindow_.put(), &position, &clip, &frameInfo);

    if (!window_) {
      AddinPlatform& p = SharedPlatform();
      about_ = std::make_unique<StyledForm>(MakeAboutForm(parent, ModuleHandle(), p.about));
      {
        ActivationScope styles;
        window_ = Win32SkeldraWindow::Create(parent, ModuleHandle(), *about_);
      }
      if (!window_) return E_FAIL;
      lists_ = std::make_unique<ProjectLists>(p.reg, p.files, p.ansi);
      document_ = std::make_unique<Skeldra>(window_->Controls(), *lists_, p.msgBox, p.shell,
                                            p.clipboard);
      document_->UserDocument_Initialize();
      window_->onResize = [this] { document_->UserDocument_Resize(); };
      window_->onKeyDown = [this](int key, int shift) {
        return document_->UserDocument_KeyDown(key, shift);
      };
      // A click or a Tab into the window makes the control the active one: the host then offers
      // it its keys first.
      window_->onFocus = [this] { Silently([&] { UiActivate(false); }); };
      SetObjectRects(&position, &clip);
      ::ShowWindow(window_->Handle(), SW_SHOW);
      document_->UserDocument_Show();
    } else {
      SetObjectRects(&position, &clip);
      ::ShowWindow(window_->Handle(), SW_SHOW);
    }

    if (uiActivate) UiActivate(true);
    return S_OK;
  }

  // Tells the container this is the active object, whose TranslateAccelerator it calls first;
  // focusFirst gives the first control the focus, for an activation that did not come with it.
  void UiActivate(bool focusFirst) {
    if (uiActive_ || !inPlaceSite_ || !window_) return;
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    if (focusFirst) window_->FocusFirst();
    if (frame_) frame_->SetActiveObject(this, L"Skeldra");
    if (uiWindow_) uiWindow_->SetActiveObject(this, L"Skeldra");
  }

  // The reverse: the container forgets the active object, and the focus goes back to the
  // container's window if one of the document's controls held it.
  void UiDeactivate() {
    if (!uiActive_) return;
    uiActive_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
    HWND container = nullptr;
    if (inPlaceSite_ && SUCCEEDED(inPlaceSite_->GetWindow(&container)) && window_) {
      const HWND focus = ::GetFocus();
      if (focus && (focus == window_->Handle() || ::IsChild(window_->Handle(), focus)))
        ::SetFocus(container);
    }
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  }

  // Ends the document and its window: the reverse of Activate.
  void Deactivate() {
    UiDeactivate();
    if (document_) {
      Silently([&] { document_->UserDocument_Terminate(); });
      document_.reset();
    }
    lists_.reset();
    window_.reset();
    about_.reset();
    if (inPlaceSite_) {
      inPlaceSite_->OnInPlaceDeactivate();
      inPlaceSite_.reset();
    }
    frame_.reset();
    uiWindow_.reset();
  }

  com_ptr<IOleClientSite> site_;
  com_ptr<IOleInPlaceSite> inPlaceSite_;
  com_ptr<IOleInPlaceFrame> frame_;        // the container's, while in place
  com_ptr<IOleInPlaceUIWindow> uiWindow_;  // the document window's, when the container has one
  com_ptr<IOleAdviseHolder> adviseHolder_;
  com_ptr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0, viewFlags_ = 0;
  SIZEL extent_ = {5 * kHimetricPerInch, 4 * kHimetricPerInch};
  bool uiActive_ = false;
  std::unique_ptr<ModalForm> about_;
  std::unique_ptr<Win32SkeldraWindow> window_;
  std::unique_ptr<ProjectLists> lists_;
  std::unique_ptr<Skeldra> document_;
};

}  // namespace

HRESULT CreateSkeldraObject(REFIID riid, void** object) {
  auto* control = new (std::nothrow) SkeldraObject();
  if (!control) return E_OUTOFMEMORY;
  HRESULT hr = control->Init();
  if (SUCCEEDED(hr)) hr = control->QueryInterface(riid, object);
  control->Release();
  return hr;
}

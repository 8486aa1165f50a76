#include "server/LateBoundIde.h"

#include <cwchar>
#include <string>
#include <vector>

#include <ocidl.h>

#include "server/Module.h"
#include "platform/Boundary.h"
#include "platform/Error.h"
#include "platform/win32/DispParams.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/com_res.h"

namespace {

// An object of the host, called by member name.
class LateBound {
 public:
  explicit LateBound(IDispatch* object) : object_(object) {
    if (!object) RaiseObjectNotSet(L"Host");
  }

  /// Calls the member with the arguments in their written order; the result in *result.
  void Call(const wchar_t* member, WORD flags, std::vector<VARIANT> args, VARIANT* result) const {
    DISPID id = 0;
    auto* name = const_cast<LPOLESTR>(member);
    HRESULT hr = object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
      RaiseNotSupported(member);

    // IDispatch takes the arguments last first.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception{};
    UINT argError = 0;
    hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                         &argError);
    Check(member, hr, &exception);
  }

  /// Turns a failed call into the error the host described.
  static void Check(const wchar_t* member, HRESULT hr, EXCEPINFO* info = nullptr) {
    EXCEPINFO none{};
    EXCEPINFO& exception = info ? *info : none;
    if (hr == DISP_E_EXCEPTION) {
      if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
      const std::wstring source = TakeBstr(exception.bstrSource);
      const std::wstring description = TakeBstr(exception.bstrDescription);
      ::SysFreeString(exception.bstrHelpFile);
      // The host language's own run-time errors travel in the control facility.
      const long number = ErrorOfHResult(exception.scode ? exception.scode : exception.wCode);
      throw VbError(number, source.empty() ? member : source,
                    description.empty() ? L"Automation error" : description);
    }
    if (FAILED(hr)) throw VbError(hr, member, L"Automation error");
  }

  /// Sets a property: the value goes as the one named argument DISPID_PROPERTYPUT.
  void Put(const wchar_t* member, VARIANT value) const {
    DISPID id = 0;
    auto* name = const_cast<LPOLESTR>(member);
    if (FAILED(object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
      RaiseNotSupported(member);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    EXCEPINFO exception{};
    Check(member, object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                                  nullptr, &exception, nullptr),
          &exception);
  }

  com_ptr<IDispatch> GetObject(const wchar_t* member, std::vector<VARIANT> args = {}) const {
    unique_variant result;
    Call(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args), &result);
    if (result.vt == VT_DISPATCH) return com_ptr<IDispatch>(result.pdispVal);
    if (result.vt == VT_UNKNOWN && result.punkVal) {
      com_ptr<IDispatch> object;
      result.punkVal->QueryInterface(IID_IDispatch, object.put_void());
      return object;
    }
    if (result.vt == VT_EMPTY || result.vt == VT_NULL ||
        (result.vt == VT_DISPATCH && !result.pdispVal))
      return {};
    RaiseTypeMismatch(member);
  }

  long GetLong(const wchar_t* member) const {
    unique_variant result;
    Call(member, DISPATCH_PROPERTYGET, {}, &result);
    if (FAILED(::VariantChangeType(&result, &result, 0, VT_I4))) RaiseTypeMismatch(member);
    return result.lVal;
  }

  bool GetBool(const wchar_t* member) const {
    unique_variant result;
    Call(member, DISPATCH_PROPERTYGET, {}, &result);
    if (FAILED(::VariantChangeType(&result, &result, 0, VT_BOOL))) RaiseTypeMismatch(member);
    return result.boolVal != VARIANT_FALSE;
  }

  IDispatch* get() const { return object_.get(); }

 private:
  com_ptr<IDispatch> object_;
};

VARIANT Text(BSTR text) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = text;
  return v;
}
VARIANT Long(long n) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}
VARIANT Bool(bool b) {
  VARIANT v;
  v.vt = VT_BOOL;
  v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
VARIANT Object(IDispatch* object) {
  VARIANT v;
  v.vt = VT_DISPATCH;
  v.pdispVal = object;
  return v;
}

// An optional argument left out, as a late-bound caller leaves it.
VARIANT Missing() {
  VARIANT v;
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  return v;
}

class Project final : public ide::VBProject {
 public:
  explicit Project(com_ptr<IDispatch> object) : object_(std::move(object)) {}
  IDispatch* get() const { return object_.get(); }

 private:
  com_ptr<IDispatch> object_;
};

class Projects final : public ide::VBProjects {
 public:
  explicit Projects(com_ptr<IDispatch> object) : object_(object.get()) {}
  void AddFromFile(std::wstring_view fileName, bool exclusive) override {
    const auto name = MakeBstr(fileName);
    unique_variant ignored;
    object_.Call(L"AddFromFile", DISPATCH_METHOD, {Text(name.get()), Bool(exclusive)}, &ignored);
  }
  void Remove(ide::VBProject& project) override {
    unique_variant ignored;
    object_.Call(L"Remove", DISPATCH_METHOD, {Object(static_cast<Project&>(project).get())},
                 &ignored);
  }

 private:
  LateBound object_;
};

class Control final : public ide::CommandBarControl {
 public:
  explicit Control(com_ptr<IDispatch> object) : object_(object.get()) {}
  bool Enabled() const override { return object_.GetBool(L"Enabled"); }
  void Caption(std::wstring_view caption) override {
    const auto text = MakeBstr(caption);
    object_.Put(L"Caption", Text(text.get()));
  }
  void PasteFace() override {
    unique_variant ignored;
    object_.Call(L"PasteFace", DISPATCH_METHOD, {}, &ignored);
  }
  void Delete() override {
    unique_variant ignored;
    object_.Call(L"Delete", DISPATCH_METHOD, {Missing()}, &ignored);
  }
  IDispatch* get() const { return object_.get(); }

 private:
  LateBound object_;
};

class Controls final : public ide::CommandBarControls {
 public:
  explicit Controls(com_ptr<IDispatch> object) : object_(object.get()) {}
  int Count() const override { return static_cast<int>(object_.GetLong(L"Count")); }
  std::shared_ptr<ide::CommandBarControl> Item(int index) override {
    return std::make_shared<Control>(object_.GetObject(L"Item", {Long(index)}));
  }
  std::shared_ptr<ide::CommandBarControl> Add(int type, std::optional<int> before) override {
    // Type, Id, Parameter, Before, Temporary.
    return std::make_shared<Control>(object_.GetObject(
        L"Add", {Long(type), Missing(), Missing(), before ? Long(*before) : Missing(), Missing()}));
  }

 private:
  LateBound object_;
};

class Bar final : public ide::CommandBar {
 public:
  explicit Bar(com_ptr<IDispatch> object) : object_(object.get()) {}
  std::shared_ptr<ide::CommandBarControls> Controls() override {
    return std::make_shared<::Controls>(object_.GetObject(L"Controls"));
  }
  void Visible(bool visible) override { object_.Put(L"Visible", Bool(visible)); }

 private:
  LateBound object_;
};

class Bars final : public ide::CommandBars {
 public:
  explicit Bars(com_ptr<IDispatch> object) : object_(object.get()) {}
  std::shared_ptr<ide::CommandBar> Item(std::wstring_view name) override {
    const auto text = MakeBstr(name);
    return std::make_shared<Bar>(object_.GetObject(L"Item", {Text(text.get())}));
  }
  std::shared_ptr<ide::CommandBar> Item(int index) override {
    return std::make_shared<Bar>(object_.GetObject(L"Item", {Long(index)}));
  }

 private:
  LateBound object_;
};

// The receiving end of a control's Click: the host calls Invoke with DISPID 1 on the event
// interface it offers, which this object answers whatever its IID. The host may keep it after
// the binding ends (an Unadvise it refuses): it then holds the DLL loaded, and its Clicks do
// nothing, since the handler's owner may be gone.
class ClickSink final : public ServerObject<IDispatch> {
 public:
  ClickSink(IID eventInterface, std::function<void()> click)
      : eventInterface_(eventInterface), click_(std::move(click)) {}

  /// Ends the binding: later Clicks do nothing.
  void Disarm() noexcept { click_ = nullptr; }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count == 1 && names && ::_wcsicmp(names[0], L"Click") == 0) {
      ids[0] = 1;
      return S_OK;
    }
    return DISP_E_UNKNOWNNAME;
  }
  // for the Click of CommandBarEvents: (CommandBarControl, handled, CancelDefault), DISPID 1
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT* argError) override {
    if (id != 1) return DISP_E_MEMBERNOTFOUND;
    if (const HRESULT hr = CheckDispParams(params, argError); FAILED(hr)) return hr;
    // A copy: the handler may end the binding while it runs. It reports its own failures;
    // nothing goes back into the host.
    Silently([&] {
      if (const auto click = click_) click();
    });
    return S_OK;
  }

 private:
  void* FindMore(REFIID riid) override {
    return ::IsEqualIID(riid, eventInterface_) ? static_cast<IDispatch*>(this) : nullptr;
  }

  IID eventInterface_;
  std::function<void()> click_;
};

// The VBA editor's event interface for command-bar controls; a host may offer its own, which the
// connection point tells.
constexpr IID kCommandBarEvents = {0x0002E131, 0x0000, 0x0000,
                                   {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class Sink final : public ide::EventSink {
 public:
  Sink(com_ptr<IDispatch> source, std::function<void()> click) : source_(std::move(source)) {
    auto container = source_.try_query<IConnectionPointContainer>();
    if (!container) throw VbError(438, L"CommandBarEvents", L"The event source has no events");
    if (FAILED(container->FindConnectionPoint(kCommandBarEvents, point_.put()))) {
      com_ptr<IEnumConnectionPoints> points;
      if (FAILED(container->EnumConnectionPoints(points.put())) ||
          points->Next(1, point_.put(), nullptr) != S_OK)
        throw VbError(438, L"CommandBarEvents", L"The event source has no events");
    }
    IID eventInterface = IID_IDispatch;
    point_->GetConnectionInterface(&eventInterface);
    sink_ = com_ptr<ClickSink>::attach(new ClickSink(eventInterface, std::move(click)));
    const HRESULT hr = point_->Advise(sink_.get(), &cookie_);
    if (FAILED(hr)) throw VbError(hr, L"CommandBarEvents", L"The event source refused the sink");
  }
  ~Sink() override {
    if (sink_) sink_->Disarm();
    if (point_ && cookie_) point_->Unadvise(cookie_);
  }

 private:
  com_ptr<IDispatch> source_;
  com_ptr<IConnectionPoint> point_;
  com_ptr<ClickSink> sink_;
  DWORD cookie_ = 0;
};

class Events final : public ide::Events {
 public:
  explicit Events(com_ptr<IDispatch> object) : object_(object.get()) {}
  std::shared_ptr<ide::EventSink> CommandBarEvents(ide::CommandBarControl& control,
                                                    std::function<void()> click) override {
    auto source = object_.GetObject(L"CommandBarEvents",
                                    {Object(static_cast<Control&>(control).get())});
    return std::make_shared<Sink>(std::move(source), std::move(click));
  }

 private:
  LateBound object_;
};

class AddIn final : public ide::AddIn {
 public:
  explicit AddIn(IDispatch* object) : object_(object) {}
  bool Connect() const override { return object_.GetBool(L"Connect"); }
  IDispatch* get() const { return object_.get(); }

 private:
  LateBound object_;
};

class Addins final : public ide::Addins {
 public:
  explicit Addins(com_ptr<IDispatch> object) : object_(object.get()) {}
  std::shared_ptr<ide::AddIn> Item(std::wstring_view progId) override {
    const auto text = MakeBstr(progId);
    return Wrap(object_.GetObject(L"Item", {Text(text.get())}));
  }
  std::shared_ptr<ide::AddIn> Item(int index) override {
    return Wrap(object_.GetObject(L"Item", {Long(index)}));
  }

 private:
  static std::shared_ptr<ide::AddIn> Wrap(const com_ptr<IDispatch>& entry) {
    return entry ? std::make_shared<AddIn>(entry.get()) : nullptr;
  }
  LateBound object_;
};

class Window final : public ide::Window {
 public:
  explicit Window(com_ptr<IDispatch> object) : object_(object.get()) {}
  bool Visible() const override { return object_.GetBool(L"Visible"); }
  void Visible(bool visible) override { object_.Put(L"Visible", Bool(visible)); }

 private:
  LateBound object_;
};

class Document final : public ide::Document {
 public:
  explicit Document(IDispatch* object) : object_(object) {}
  void View() override {
    unique_variant ignored;
    object_.Call(L"View", DISPATCH_METHOD, {}, &ignored);
  }

 private:
  LateBound object_;
};

class Windows final : public ide::Windows {
 public:
  explicit Windows(com_ptr<IDispatch> object) : object_(object.get()) {}
  std::shared_ptr<ide::Window> CreateToolWindow(ide::AddIn& addInInst, std::wstring_view progId,
                                                 std::wstring_view caption,
                                                 std::wstring_view guidPosition,
                                                 std::shared_ptr<ide::Document>& document) override {
    const auto id = MakeBstr(progId), text = MakeBstr(caption), guid = MakeBstr(guidPosition);
    // DocObj goes by reference: the host stores the new document into it.
    IDispatch* created = nullptr;
    VARIANT docObj;
    docObj.vt = VT_BYREF | VT_DISPATCH;
    docObj.ppdispVal = &created;
    unique_variant window;
    object_.Call(L"CreateToolWindow", DISPATCH_METHOD,
                 {Object(static_cast<AddIn&>(addInInst).get()), Text(id.get()), Text(text.get()),
                  Text(guid.get()), docObj},
                 &window);
    auto owned = com_ptr<IDispatch>::attach(created);
    if (owned) document = std::make_shared<Document>(owned.get());
    if (window.vt != VT_DISPATCH || !window.pdispVal)
      throw VbError(91, L"CreateToolWindow", L"The host made no tool window");
    return std::make_shared<Window>(com_ptr<IDispatch>(window.pdispVal));
  }

 private:
  LateBound object_;
};

class VBE final : public ide::VBE {
 public:
  explicit VBE(IDispatch* object) : object_(object) {}
  std::shared_ptr<ide::VBProjects> VBProjects() override {
    return std::make_shared<Projects>(object_.GetObject(L"VBProjects"));
  }
  std::shared_ptr<ide::VBProject> ActiveVBProject() override {
    com_ptr<IDispatch> project = object_.GetObject(L"ActiveVBProject");
    if (!project) return nullptr;
    return std::make_shared<Project>(std::move(project));
  }
  std::shared_ptr<ide::CommandBars> CommandBars() override {
    return std::make_shared<Bars>(object_.GetObject(L"CommandBars"));
  }
  std::shared_ptr<ide::Windows> Windows() override {
    return std::make_shared<::Windows>(object_.GetObject(L"Windows"));
  }
  std::shared_ptr<ide::Addins> Addins() override {
    return std::make_shared<::Addins>(object_.GetObject(L"Addins"));
  }
  std::shared_ptr<ide::Events> Events() override {
    return std::make_shared<::Events>(object_.GetObject(L"Events"));
  }

 private:
  LateBound object_;
};

}  // namespace

std::shared_ptr<ide::VBE> MakeLateBoundVBE(IDispatch* vbe) { return std::make_shared<VBE>(vbe); }

std::shared_ptr<ide::AddIn> MakeLateBoundAddIn(IDispatch* addIn) {
  return addIn ? std::make_shared<AddIn>(addIn) : nullptr;
}

#include "addin/win32/DispatchHost.h"

#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/win32/com_ptr.h"

namespace {

// A VARIANT that clears itself.
struct Variant : VARIANT {
  Variant() { ::VariantInit(this); }
  ~Variant() { ::VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

std::wstring TakeBstr(BSTR text) {
  std::wstring result = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
  ::SysFreeString(text);
  return result;
}

// An object of the host, called by member name.
class LateBound {
 public:
  explicit LateBound(IDispatch* object) : object_(object) {
    if (!object) throw VbError(91, L"Host", L"Object variable or With block variable not set");
  }

  /// Calls the member with the arguments in their written order; the result in *result.
  void Call(const wchar_t* member, WORD flags, std::vector<VARIANT> args, VARIANT* result) const {
    DISPID id = 0;
    auto* name = const_cast<LPOLESTR>(member);
    HRESULT hr = object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
      throw VbError(438, member, L"Object doesn't support this property or method");

    // IDispatch takes the arguments last first.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception{};
    UINT argError = 0;
    hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                         &argError);
    if (hr == DISP_E_EXCEPTION) {
      if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
      const std::wstring source = TakeBstr(exception.bstrSource);
      const std::wstring description = TakeBstr(exception.bstrDescription);
      ::SysFreeString(exception.bstrHelpFile);
      // The host language's own run-time errors travel in the control facility.
      long number = exception.scode ? exception.scode : exception.wCode;
      if (HRESULT_FACILITY(number) == FACILITY_CONTROL) number &= 0xFFFF;
      throw VbError(number, source.empty() ? member : source,
                    description.empty() ? L"Automation error" : description);
    }
    if (FAILED(hr)) throw VbError(hr, member, L"Automation error");
  }

  com_ptr<IDispatch> GetObject(const wchar_t* member, std::vector<VARIANT> args = {}) const {
    Variant result;
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
    throw VbError(13, member, L"Type mismatch");
  }

  long GetLong(const wchar_t* member) const {
    Variant result;
    Call(member, DISPATCH_PROPERTYGET, {}, &result);
    if (FAILED(::VariantChangeType(&result, &result, 0, VT_I4))) throw VbError(13, member, L"Type mismatch");
    return result.lVal;
  }

  bool GetBool(const wchar_t* member) const {
    Variant result;
    Call(member, DISPATCH_PROPERTYGET, {}, &result);
    if (FAILED(::VariantChangeType(&result, &result, 0, VT_BOOL))) throw VbError(13, member, L"Type mismatch");
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

// A BSTR for the length of one call.
class Bstr {
 public:
  explicit Bstr(std::wstring_view text)
      : b_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!b_) throw std::bad_alloc();
  }
  ~Bstr() { ::SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }

 private:
  BSTR b_;
};

class Project final : public host::VBProject {
 public:
  explicit Project(com_ptr<IDispatch> object) : object_(std::move(object)) {}
  IDispatch* get() const { return object_.get(); }

 private:
  com_ptr<IDispatch> object_;
};

class Projects final : public host::VBProjects {
 public:
  explicit Projects(com_ptr<IDispatch> object) : object_(object.get()) {}
  void AddFromFile(std::wstring_view fileName, bool exclusive) override {
    Bstr name(fileName);
    Variant ignored;
    object_.Call(L"AddFromFile", DISPATCH_METHOD, {Text(name.get()), Bool(exclusive)}, &ignored);
  }
  void Remove(host::VBProject& project) override {
    Variant ignored;
    object_.Call(L"Remove", DISPATCH_METHOD, {Object(static_cast<Project&>(project).get())},
                 &ignored);
  }

 private:
  LateBound object_;
};

class Control final : public host::CommandBarControl {
 public:
  explicit Control(com_ptr<IDispatch> object) : object_(object.get()) {}
  bool Enabled() const override { return object_.GetBool(L"Enabled"); }

 private:
  LateBound object_;
};

class Controls final : public host::CommandBarControls {
 public:
  explicit Controls(com_ptr<IDispatch> object) : object_(object.get()) {}
  int Count() const override { return static_cast<int>(object_.GetLong(L"Count")); }
  std::shared_ptr<host::CommandBarControl> Item(int index) override {
    return std::make_shared<Control>(object_.GetObject(L"Item", {Long(index)}));
  }

 private:
  LateBound object_;
};

class Bar final : public host::CommandBar {
 public:
  explicit Bar(com_ptr<IDispatch> object) : object_(object.get()) {}
  std::shared_ptr<host::CommandBarControls> Controls() override {
    return std::make_shared<::Controls>(object_.GetObject(L"Controls"));
  }

 private:
  LateBound object_;
};

class Bars final : public host::CommandBars {
 public:
  explicit Bars(com_ptr<IDispatch> object) : object_(object.get()) {}
  std::shared_ptr<host::CommandBar> Item(std::wstring_view name) override {
    Bstr text(name);
    return std::make_shared<Bar>(object_.GetObject(L"Item", {Text(text.get())}));
  }
  std::shared_ptr<host::CommandBar> Item(int index) override {
    return std::make_shared<Bar>(object_.GetObject(L"Item", {Long(index)}));
  }

 private:
  LateBound object_;
};

class VBE final : public host::VBE {
 public:
  explicit VBE(IDispatch* object) : object_(object) {}
  std::shared_ptr<host::VBProjects> VBProjects() override {
    return std::make_shared<Projects>(object_.GetObject(L"VBProjects"));
  }
  std::shared_ptr<host::VBProject> ActiveVBProject() override {
    com_ptr<IDispatch> project = object_.GetObject(L"ActiveVBProject");
    if (!project) return nullptr;
    return std::make_shared<Project>(std::move(project));
  }
  std::shared_ptr<host::CommandBars> CommandBars() override {
    return std::make_shared<Bars>(object_.GetObject(L"CommandBars"));
  }

 private:
  LateBound object_;
};

}  // namespace

std::shared_ptr<host::VBE> MakeDispatchVBE(IDispatch* vbe) { return std::make_shared<VBE>(vbe); }

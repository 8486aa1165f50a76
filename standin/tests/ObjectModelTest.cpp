// The stand-in's object model as the add-in drives the IDE's: late bound, by name, with the
// arguments last first and the IDE's error numbers when a call fails. Its tool windows, events
// and projects are seen through the add-in in the server's tests and the stand-in's journeys;
// here, what those rely on of its command bars.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "server/tests/TheDll.h"
#include "standin/StandInIde.h"

namespace {

// A VARIANT that owns its value.
struct Var : VARIANT {
  Var() { ::VariantInit(this); }
  Var(int n) : Var() { vt = VT_I4, lVal = n; }
  Var(bool b) : Var() { vt = VT_BOOL, boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
  Var(const wchar_t* text) : Var() { vt = VT_BSTR, bstrVal = ::SysAllocString(text); }
  Var(const Var& other) : Var() { ::VariantCopy(this, const_cast<Var*>(&other)); }
  ~Var() { ::VariantClear(this); }
};

// An object of the model. Call answers the call's HRESULT, or the code of the exception raised.
struct Late {
  HRESULT Call(const wchar_t* member, std::vector<Var> args = {}, Var* result = nullptr,
               WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) const {
    DISPID put = DISPID_PROPERTYPUT;
    std::reverse(args.begin(), args.end());
    const bool assigns = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{args.data(), assigns ? &put : nullptr, static_cast<UINT>(args.size()),
                      assigns ? 1u : 0u};
    EXCEPINFO e{};
    Var ignored;
    const HRESULT hr = object->Invoke(DispId(object.get(), member), IID_NULL, 0, flags, &params,
                                      result ? result : &ignored, &e, nullptr);
    ::SysFreeString(e.bstrDescription), ::SysFreeString(e.bstrSource);
    ::SysFreeString(e.bstrHelpFile);
    return hr == DISP_E_EXCEPTION ? e.scode : hr;
  }
  Var Get(const wchar_t* member, std::vector<Var> args = {}) const {
    Var result;
    EXPECT_EQ(S_OK, Call(member, std::move(args), &result)) << testing::PrintToString(member);
    return result;
  }
  Late Obj(const wchar_t* member, std::vector<Var> args = {}) const {
    const Var result = Get(member, std::move(args));
    return {com_ptr<IDispatch>(result.vt == VT_DISPATCH ? result.pdispVal : nullptr)};
  }
  com_ptr<IDispatch> object;
};

TEST(ObjectModel, ControlsGoWhereAddPutsThemShowWhatIsSetAndAreDeletedForGood) {
  ::OleInitialize(nullptr);
  auto ide = standin::MakeStandInIde(nullptr);
  standin::AddStandardBars(*ide);
  const Late controls =
      Late{ide->Vbe()}.Obj(L"CommandBars").Obj(L"Item", {L"Add-Ins"}).Obj(L"Controls");
  Var missing;
  missing.vt = VT_ERROR, missing.scode = DISP_E_PARAMNOTFOUND;
  const Late first = controls.Obj(L"Add", {1, missing, missing, 1, true});  // before the first
  const Late last = controls.Obj(L"Add", {1, missing, missing, missing, missing});
  EXPECT_EQ(S_OK, first.Call(L"Caption", {L"&Skeldra"}, nullptr, DISPATCH_PROPERTYPUT));
  EXPECT_EQ(L"&Skeldra", ide->Bars()[3].controls[0].caption);
  EXPECT_EQ(4, last.Get(L"Index").lVal);
  EXPECT_EQ(0x800A0005, controls.Call(L"Add", {1, missing, missing, 7})) << "error 5: no 7th";

  EXPECT_EQ(S_OK, first.Call(L"Delete"));
  EXPECT_EQ(3, controls.Get(L"Count").lVal);
  EXPECT_EQ(3, last.Get(L"Index").lVal);
  EXPECT_EQ(RPC_E_DISCONNECTED, first.Call(L"Delete")) << "the IDE's answer to a second Delete";
  ide.reset();
  EXPECT_EQ(RPC_E_DISCONNECTED, last.Call(L"Index")) << "the IDE's end disconnects its objects";
  ::OleUninitialize();
}

}  // namespace

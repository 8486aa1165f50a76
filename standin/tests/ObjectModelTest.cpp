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

// The member of the object called late bound with the arguments, given first to last: its
// result, or when the call fails, its code (that of the error raised) as a VT_ERROR.
Var Call(const Var& object, const wchar_t* member, std::vector<Var> args = {},
         WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET) {
  DISPID put = DISPID_PROPERTYPUT;
  std::reverse(args.begin(), args.end());
  const bool assigns = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS params{args.data(), assigns ? &put : nullptr, static_cast<UINT>(args.size()),
                    assigns ? 1u : 0u};
  EXCEPINFO e{};
  Var result;
  const HRESULT hr = object.pdispVal->Invoke(DispId(object.pdispVal, member), IID_NULL, 0, flags,
                                             &params, &result, &e, nullptr);
  ::SysFreeString(e.bstrDescription), ::SysFreeString(e.bstrSource);
  ::SysFreeString(e.bstrHelpFile);
  if (FAILED(hr)) {
    ::VariantClear(&result);
    result.vt = VT_ERROR, result.scode = hr == DISP_E_EXCEPTION ? e.scode : hr;
  }
  return result;
}

TEST(ObjectModel, ControlsGoWhereAddPutsThemShowWhatIsSetAndAreDeletedForGood) {
  ::OleInitialize(nullptr);
  auto ide = standin::MakeStandInIde(nullptr);
  standin::AddStandardBars(*ide);
  Var vbe, missing;
  vbe.vt = VT_DISPATCH, vbe.pdispVal = ide->Vbe().detach();
  missing.vt = VT_ERROR, missing.scode = DISP_E_PARAMNOTFOUND;
  const Var controls = Call(Call(Call(vbe, L"CommandBars"), L"Item", {L"Add-Ins"}), L"Controls");
  const Var first = Call(controls, L"Add", {1, missing, missing, 1, true});  // before the first
  const Var last = Call(controls, L"Add", {1, missing, missing, missing, missing});
  EXPECT_NE(VT_ERROR, Call(first, L"Caption", {L"&Skeldra"}, DISPATCH_PROPERTYPUT).vt);
  EXPECT_EQ(L"&Skeldra", ide->Bars()[3].controls[0].caption);
  EXPECT_EQ(4, Call(last, L"Index").lVal);
  EXPECT_EQ(0x800A0005, Call(controls, L"Add", {1, missing, missing, 7}).scode) << "no 7th";

  EXPECT_NE(VT_ERROR, Call(first, L"Delete").vt);
  EXPECT_EQ(3, Call(controls, L"Count").lVal);
  EXPECT_EQ(3, Call(last, L"Index").lVal);
  EXPECT_EQ(RPC_E_DISCONNECTED, Call(first, L"Delete").scode) << "the IDE's answer to a second";
  ide.reset();
  EXPECT_EQ(RPC_E_DISCONNECTED, Call(last, L"Index").scode) << "the IDE's end disconnects them";
  ::OleUninitialize();
}

}  // namespace

// The stand-in's object model as the add-in drives the IDE's: late bound, by name, with the
// arguments last first and the IDE's error numbers when a call fails. Its tool windows, events
// and projects are seen through the add-in in the server's tests and the stand-in's journeys;
// here, what those rely on of its bars: finding them and the add-ins, and adding, dressing and
// deleting controls as the IDE does.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "server/tests/TheDll.h"
#include "standin/StandInIde.h"

namespace {

constexpr SCODE kInvalidArgument = 0x800A0005;  // 5: invalid procedure call or argument

// A VARIANT that owns its value.
struct Var : VARIANT {
  Var() { ::VariantInit(this); }
  Var(int n) : Var() { vt = VT_I4, lVal = n; }
  Var(bool b) : Var() { vt = VT_BOOL, boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
  Var(const wchar_t* text) : Var() { vt = VT_BSTR, bstrVal = ::SysAllocString(text); }
  Var(IDispatch* object) : Var() {
    vt = VT_DISPATCH, pdispVal = object;
    if (object) object->AddRef();
  }
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

class ObjectModel : public testing::Test {
 protected:
  static void SetUpTestSuite() { ::OleInitialize(nullptr); }
  static void TearDownTestSuite() { ::OleUninitialize(); }
  void SetUp() override {
    standin::AddStandardBars(*ide_);
    ide_->AddAddIn(L"Other.Connect", false);
    ide_->AddAddIn(L"Marrowby.Connect", true);
  }
  void TearDown() override {
    ide_.reset();
    ::DestroyWindow(dock_);
  }

  // The dock area, which owns the clipboard too, stays hidden: without a window manager, Wine
  // waits two seconds for one to unmap a top-level window that was shown.
  HWND dock_ = ::CreateWindowExW(0, L"STATIC", L"Dock", WS_OVERLAPPEDWINDOW, 0, 0, 640, 420,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  std::unique_ptr<standin::StandInIde> ide_ = standin::MakeStandInIde(dock_);
  Late vbe_{ide_->Vbe()};
};

TEST_F(ObjectModel, ItemFindsBarsAndAddInsByNameOrPositionAndRaisesError5ForAMissingOne) {
  const Late bars = vbe_.Obj(L"CommandBars"), addIns = vbe_.Obj(L"Addins");
  EXPECT_EQ(L"Standard", std::wstring(bars.Obj(L"Item", {2}).Get(L"Name").bstrVal));
  EXPECT_EQ(L"Add-Ins", std::wstring(bars.Obj(L"Item", {L"add-ins"}).Get(L"Name").bstrVal));
  EXPECT_EQ(L"Other.Connect", std::wstring(addIns.Obj(L"Item", {1}).Get(L"ProgId").bstrVal));
  const Late mine = addIns.Obj(L"Item", {L"marrowby.connect"});
  EXPECT_EQ(ide_->AddIn(L"Marrowby.Connect").get(), mine.object.get()) << "as OnConnection has it";
  EXPECT_EQ(VARIANT_TRUE, mine.Get(L"Connect").boolVal);
  for (const Late& collection : {bars, addIns})
    for (const Var& missing : {Var(L"Missing.Connect"), Var(0), Var(5)})
      EXPECT_EQ(kInvalidArgument, collection.Call(L"Item", {missing}));
}

TEST_F(ObjectModel, ControlsGoBeforeTheGivenOneOrLastTakeTheirFaceAndAreDeletedForGood) {
  const Late controls = vbe_.Obj(L"CommandBars").Obj(L"Item", {L"Add-Ins"}).Obj(L"Controls");
  Var missing;
  missing.vt = VT_ERROR, missing.scode = DISP_E_PARAMNOTFOUND;
  const Late first = controls.Obj(L"Add", {1, missing, missing, 1, true});
  const Late last = controls.Obj(L"Add", {1, missing, missing, missing, missing});
  EXPECT_EQ(S_OK, first.Call(L"Caption", {L"&Skeldra"}, nullptr, DISPATCH_PROPERTYPUT));
  EXPECT_EQ(4, last.Get(L"Index").lVal);
  EXPECT_EQ(L"&Skeldra", ide_->Bars()[3].controls[0].caption);
  EXPECT_EQ(kInvalidArgument, controls.Call(L"Add", {1, missing, missing, 7}));

  // The face is the bitmap on the clipboard; without one PasteFace fails and the face stays.
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 15);
  ::ReleaseDC(nullptr, screen);
  ASSERT_TRUE(::OpenClipboard(dock_) && ::EmptyClipboard());
  ::SetClipboardData(CF_BITMAP, bitmap);
  ::CloseClipboard();
  EXPECT_EQ(S_OK, first.Call(L"PasteFace"));
  EXPECT_EQ(15, ide_->Bars()[3].controls[0].faceSize.cy);
  ASSERT_TRUE(::OpenClipboard(dock_) && ::EmptyClipboard() && ::CloseClipboard());
  EXPECT_EQ(E_FAIL, first.Call(L"PasteFace"));
  EXPECT_TRUE(ide_->Bars()[3].controls[0].face);

  EXPECT_EQ(S_OK, first.Call(L"Delete"));
  EXPECT_EQ(3, controls.Get(L"Count").lVal);
  EXPECT_EQ(3, last.Get(L"Index").lVal);
  EXPECT_EQ(RPC_E_DISCONNECTED, first.Call(L"Delete")) << "the IDE's answer to a second Delete";
}

}  // namespace

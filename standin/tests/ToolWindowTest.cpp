// Windows.CreateToolWindow hosting the add-in's own ActiveX control, registered for the machine
// from the built DLL, in Wine's ATL container.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "server/tests/TheDll.h"
#include "standin/StandInIde.h"
#include "standin/tests/LateBound.h"

namespace {

class ToolWindows : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::OleInitialize(nullptr);
    ASSERT_EQ(0u, Regsvr32(L""));
  }
  static void TearDownTestSuite() {
    Regsvr32(L"/u");
    ::OleUninitialize();
  }

  void SetUp() override {
    ASSERT_TRUE(dock_);
    ide_->AddAddIn(L"Marrowby.Connect", true);
  }
  void TearDown() override {
    ide_.reset();
    ::DestroyWindow(dock_);
  }

  Failure Create(const wchar_t* progId, Var docObj, Var* window) {
    return vbe_.Obj(L"Windows")
        .Invoke(L"CreateToolWindow", DISPATCH_METHOD,
                {ide_->AddIn(L"Marrowby.Connect").get(), progId, L"Skeldra",
                 L"{6F1D3A2B-8C1E-4B6A-9D35-2A7E0C4B5F19}", std::move(docObj)},
                {}, window->get());
  }

  // The dock area stays hidden: without a window manager, Wine waits two seconds for one to
  // unmap a top-level window that was shown.
  HWND dock_ = ::CreateWindowExW(0, L"STATIC", L"Dock", WS_OVERLAPPEDWINDOW, 0, 0, 640, 420,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  std::unique_ptr<standin::StandInIde> ide_ = standin::MakeStandInIde(dock_);
  Late vbe_{ide_->Vbe()};
};

TEST_F(ToolWindows, TheControlIsHostedInAHiddenToolWindowAndStoredIntoDocObj) {
  for (VARTYPE docType : {VT_DISPATCH, VT_VARIANT}) {
    SCOPED_TRACE(docType);
    IDispatch* docObject = nullptr;
    Var docVariant;
    Var docObj = docType == VT_DISPATCH ? Var::Ref(VT_DISPATCH, &docObject)
                                        : Var::Ref(VT_VARIANT, docVariant.get());
    Var result;
    ASSERT_EQ(S_OK, Create(L"Marrowby.Skeldra", docObj, &result).hr);
    Late window(result.Object());
    com_ptr<IDispatch> document =
        docType == VT_DISPATCH ? com_ptr<IDispatch>::attach(docObject) : docVariant.Object();
    ASSERT_TRUE(document);
    DISPID view = 0;
    auto* name = const_cast<LPOLESTR>(L"View");
    EXPECT_EQ(S_OK, document->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &view));
    EXPECT_EQ(1, view);

    const standin::ToolWindowInfo shown = ide_->ToolWindows().back();
    EXPECT_EQ(dock_, ::GetParent(shown.window));
    EXPECT_EQ(L"Marrowby.Skeldra", shown.progId);
    HWND container = ::GetWindow(shown.window, GW_CHILD);
    EXPECT_TRUE(::GetWindow(container, GW_CHILD)) << "the control is in place in its container";
    EXPECT_FALSE(shown.visible);
    EXPECT_FALSE(window.Get(L"Visible").Bool());
    EXPECT_EQ(L"Skeldra", window.Get(L"Caption").Text());

    window.Put(L"Visible", true);
    EXPECT_TRUE(window.Get(L"Visible").Bool());
    EXPECT_TRUE(ide_->ToolWindows().back().visible);
    ide_->CloseToolWindow(ide_->ToolWindows().size() - 1);
    EXPECT_FALSE(window.Get(L"Visible").Bool()) << "the user closed it";
    EXPECT_TRUE(::IsWindow(shown.window)) << "closing hides";
  }
}

TEST_F(ToolWindows, AProgIdThatIsNotRegisteredFailsAndLeavesNoWindow) {
  IDispatch* docObject = nullptr;
  Var result;
  const Failure failure =
      Create(L"Marrowby.NoSuchControl", Var::Ref(VT_DISPATCH, &docObject), &result);
  EXPECT_EQ(DISP_E_EXCEPTION, failure.hr);
  EXPECT_EQ(SCODE(0x800A01AD), failure.scode) << "429: ActiveX component can't create object";
  EXPECT_EQ(nullptr, docObject);
  EXPECT_TRUE(ide_->ToolWindows().empty());
  EXPECT_EQ(nullptr, ::GetWindow(dock_, GW_CHILD));
}

TEST_F(ToolWindows, TeardownDestroysTheToolWindows) {
  IDispatch* docObject = nullptr;
  Var result;
  ASSERT_EQ(S_OK, Create(L"Marrowby.Skeldra", Var::Ref(VT_DISPATCH, &docObject), &result).hr);
  com_ptr<IDispatch> document = com_ptr<IDispatch>::attach(docObject);
  Late window(result.Object());
  window.Put(L"Visible", true);
  HWND frame = ide_->ToolWindows()[0].window;

  ide_.reset();
  EXPECT_FALSE(::IsWindow(frame));
  EXPECT_EQ(nullptr, ::GetWindow(dock_, GW_CHILD));
  EXPECT_EQ(RPC_E_DISCONNECTED, window.Fails(L"Visible").scode);
}

}  // namespace

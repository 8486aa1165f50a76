// The stand-in's object model driven as the add-in drives the IDE's: late bound, by name.

#include <gtest/gtest.h>
#include <windows.h>
#include <ocidl.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "standin/StandInIde.h"
#include "standin/tests/LateBound.h"

namespace {

constexpr SCODE kInvalidArgument = 0x800A0005;

// Counts what the add-in changed.
struct Changes : standin::Observer {
  void CommandBarsChanged() override { ++bars; }
  void ProjectsChanged() override { ++projects; }
  void AddInChanged(std::wstring_view progId) override { addIns.emplace_back(progId); }
  int bars = 0, projects = 0;
  std::vector<std::wstring> addIns;
};

// An event sink on the stack that records the calls it gets; it answers IDispatch, and the
// event interface itself when told to.
class Sink final : public IDispatch {
 public:
  struct Click {
    DISPID id;
    WORD flags;
    std::vector<VARTYPE> types;  // rgvarg, last argument first
    IDispatch* control;
    bool handledOnArrival;
  };
  explicit Sink(bool eventInterface, bool setsHandled = false)
      : eventInterface_(eventInterface), setsHandled_(setsHandled) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    static constexpr IID kEvents = {0x0002E131, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    const bool mine = ::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IDispatch) ||
                      (eventInterface_ && ::IsEqualIID(riid, kEvents));
    *object = mine ? this : nullptr;
    if (mine) AddRef();
    return mine ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                      UINT*) override {
    Click click{id, flags, {}, nullptr, false};
    for (UINT i = 0; i < params->cArgs; ++i) click.types.push_back(params->rgvarg[i].vt);
    if (params->cArgs == 3 && params->rgvarg[1].vt == (VT_BYREF | VT_BOOL)) {
      click.control = params->rgvarg[2].pdispVal;
      click.handledOnArrival = *params->rgvarg[1].pboolVal != VARIANT_FALSE;
      if (setsHandled_) *params->rgvarg[1].pboolVal = VARIANT_TRUE;
    }
    clicks.push_back(click);
    return S_OK;
  }

  ULONG refs = 0;
  std::vector<Click> clicks;

 private:
  bool eventInterface_, setsHandled_;
};

class ObjectModel : public testing::Test {
 protected:
  static void SetUpTestSuite() { ::OleInitialize(nullptr); }
  static void TearDownTestSuite() { ::OleUninitialize(); }

  void SetUp() override {
    standin::AddStandardBars(*ide_);
    ide_->AddAddIn(L"Other.Connect", false);
    ide_->AddAddIn(L"Marrowby.Connect", true);
    ide_->SetObserver(&changes_);
  }
  void TearDown() override {
    ide_.reset();
    ::DestroyWindow(window_);
  }

  Late Controls(const wchar_t* bar) const {
    return vbe_.Obj(L"CommandBars").Obj(L"Item", {bar}).Obj(L"Controls");
  }
  std::vector<std::wstring> Captions(std::size_t bar) const {
    std::vector<std::wstring> captions;
    const std::vector<standin::BarInfo> bars = ide_->Bars();
    for (const auto& control : bars[bar].controls) captions.push_back(control.caption);
    return captions;
  }
  static void ExpectFailure(SCODE scode, const Failure& failure) {
    EXPECT_EQ(DISP_E_EXCEPTION, failure.hr);
    EXPECT_EQ(scode, failure.scode) << testing::PrintToString(failure.description);
  }

  // A solid picture on the clipboard in the format, owned by the clipboard.
  void PutPicture(UINT format, COLORREF color) {
    ASSERT_TRUE(::OpenClipboard(window_));
    ::EmptyClipboard();
    if (format == CF_BITMAP) {
      HDC screen = ::GetDC(nullptr);
      HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 15);
      HDC dc = ::CreateCompatibleDC(screen);
      HGDIOBJ old = ::SelectObject(dc, bitmap);
      RECT all{0, 0, 16, 15};
      HBRUSH brush = ::CreateSolidBrush(color);
      ::FillRect(dc, &all, brush);
      ::DeleteObject(brush);
      ::SelectObject(dc, old);
      ::DeleteDC(dc);
      ::ReleaseDC(nullptr, screen);
      ::SetClipboardData(CF_BITMAP, bitmap);
    } else {
      const DWORD stride = (16 * 3 + 3) & ~3u;
      HGLOBAL dib = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + stride * 15);
      auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(dib));
      *header = {sizeof(BITMAPINFOHEADER), 16, 15, 1, 24, BI_RGB};
      auto* bits = reinterpret_cast<BYTE*>(header + 1);
      for (DWORD y = 0; y < 15; ++y)
        for (DWORD x = 0; x < 16; ++x) {
          BYTE* pixel = bits + y * stride + x * 3;
          pixel[0] = GetBValue(color), pixel[1] = GetGValue(color), pixel[2] = GetRValue(color);
        }
      ::GlobalUnlock(dib);
      ::SetClipboardData(CF_DIB, dib);
    }
    ::CloseClipboard();
  }

  static COLORREF PixelOf(HBITMAP bitmap) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF pixel = ::GetPixel(dc, 3, 3);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return pixel;
  }

  // The clipboard's owner, and the dock area, which these tests leave empty.
  HWND window_ = ::CreateWindowExW(0, L"STATIC", L"Dock", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200,
                                   nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  Changes changes_;
  std::unique_ptr<standin::StandInIde> ide_ = standin::MakeStandInIde(window_);
  Late vbe_{ide_->Vbe()};
};

TEST_F(ObjectModel, BarsAndAddInsAreFoundByNameOrPositionAndAMissingOneFails) {
  Late bars = vbe_.Obj(L"CommandBars");
  EXPECT_EQ(4, bars.Get(L"Count").Long());
  EXPECT_EQ(L"Menu Bar", bars.Obj(L"Item", {1}).Get(L"Name").Text());
  EXPECT_EQ(L"Standard", bars.Obj(L"Item", {2}).Get(L"Name").Text());
  EXPECT_EQ(L"Add-Ins", bars.Obj(L"Item", {L"add-ins"}).Get(L"Name").Text());

  // CommandBars("File"): Item is the default member.
  Var name(L"File"), file;
  DISPPARAMS params{name.get(), nullptr, 1, 0};
  ASSERT_EQ(S_OK, bars.get()->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &params,
                                     file.get(), nullptr, nullptr));
  EXPECT_EQ(L"File", Late(file.Object()).Get(L"Name").Text());

  Late addIns = vbe_.Obj(L"Addins");
  EXPECT_EQ(2, addIns.Get(L"Count").Long());
  EXPECT_EQ(L"Other.Connect", addIns.Obj(L"Item", {1}).Get(L"ProgId").Text());
  Late mine = addIns.Obj(L"Item", {L"marrowby.connect"});
  EXPECT_EQ(L"Marrowby.Connect", mine.Get(L"ProgId").Text());
  EXPECT_EQ(ide_->AddIn(L"Marrowby.Connect").get(), mine.get()) << "the object OnConnection gets";
  EXPECT_TRUE(mine.Get(L"Connect").Bool());
  mine.Put(L"Connect", false);
  EXPECT_FALSE(ide_->Connected(L"Marrowby.Connect"));
  EXPECT_EQ(std::vector<std::wstring>{L"Marrowby.Connect"}, changes_.addIns);

  for (const Late& collection : {bars, addIns})
    for (const Var& missing : {Var(L"Missing.Connect"), Var(0), Var(5)}) {
      const Failure failure = collection.Fails(L"Item", {missing});
      ExpectFailure(kInvalidArgument, failure);
      EXPECT_EQ(L"Invalid procedure call or argument", failure.description);
    }
  EXPECT_EQ(L"Addins.Item", addIns.Fails(L"Item", {L"Missing.Connect"}).source);
}

TEST_F(ObjectModel, AddPutsTheNewControlBeforeTheGivenPositionOrAtTheEnd) {
  Late controls = Controls(L"Add-Ins");
  const Var missing = Var::Missing();
  Late first = controls.Obj(L"Add", {1, missing, missing, 1, true});
  first.Put(L"Caption", L"&Skeldra");
  Late last = controls.Obj(L"Add", {missing, missing, missing, missing, missing});
  last.Put(L"Caption", L"Last");
  controls.Obj(L"Add", {1, missing, L"-", 3});

  EXPECT_EQ((std::vector<std::wstring>{L"&Skeldra", L"&Visual Data Manager...", L"",
                                       L"&Add-In Manager...", L"Last"}),
            Captions(3));
  EXPECT_EQ(5, controls.Get(L"Count").Long());
  EXPECT_EQ(1, first.Get(L"Index").Long());
  EXPECT_EQ(5, last.Get(L"Index").Long());
  EXPECT_TRUE(ide_->Bars()[3].controls[0].temporary);
  EXPECT_EQ(L"-", controls.Obj(L"Item", {3}).Get(L"Parameter").Text());
  EXPECT_EQ(5, changes_.bars);

  ExpectFailure(kInvalidArgument, controls.Fails(L"Add", {1, missing, missing, 7}));
  ExpectFailure(kInvalidArgument, controls.Fails(L"Add", {99}));
  EXPECT_EQ(5, controls.Get(L"Count").Long());
}

TEST_F(ObjectModel, CaptionEnabledAndVisibleReadBackWhatWasSet) {
  Late control = Controls(L"Standard").Obj(L"Item", {2});
  control.Put(L"Caption", L"Skeldra");
  control.Put(L"Enabled", false);
  EXPECT_EQ(L"Skeldra", control.Get(L"Caption").Text());
  EXPECT_FALSE(control.Get(L"Enabled").Bool());
  const standin::ControlInfo shown = ide_->Bars()[1].controls[1];
  EXPECT_EQ(L"Skeldra", shown.caption);
  EXPECT_FALSE(shown.enabled);

  Late bar = vbe_.Obj(L"CommandBars").Obj(L"Item", {L"Standard"});
  bar.Put(L"Visible", false);
  EXPECT_FALSE(bar.Get(L"Visible").Bool());
  EXPECT_FALSE(ide_->Bars()[1].visible);

  // The IDE shows it is busy by disabling the first control of "File".
  ide_->SetEnabled(L"File", 1, false);
  EXPECT_FALSE(Controls(L"File").Obj(L"Item", {1}).Get(L"Enabled").Bool());
}

TEST_F(ObjectModel, PasteFaceTakesThePictureOnTheClipboardAndFailsWithoutOne) {
  Late control = Controls(L"Add-Ins").Obj(L"Add");
  const struct {
    UINT format;
    COLORREF color;
  } pictures[] = {{CF_BITMAP, RGB(255, 0, 0)}, {CF_DIB, RGB(0, 0, 255)}};
  for (const auto& picture : pictures) {
    PutPicture(picture.format, picture.color);
    control.Get(L"PasteFace");
    const standin::ControlInfo shown = ide_->Bars()[3].controls[2];
    ASSERT_TRUE(shown.face) << picture.format;
    EXPECT_EQ(16, shown.faceSize.cx);
    EXPECT_EQ(15, shown.faceSize.cy);
    EXPECT_EQ(picture.color, PixelOf(shown.face)) << picture.format;
  }

  ASSERT_TRUE(::OpenClipboard(window_));
  ::EmptyClipboard();
  ::CloseClipboard();
  ExpectFailure(E_FAIL, control.Fails(L"PasteFace"));
  EXPECT_TRUE(ide_->Bars()[3].controls[2].face) << "the face it had stays";
}

TEST_F(ObjectModel, DeleteTakesTheControlOffItsBarForGood) {
  Late controls = Controls(L"File");
  Late open = controls.Obj(L"Item", {2});
  open.Get(L"Delete");
  EXPECT_EQ(4, controls.Get(L"Count").Long());
  EXPECT_EQ((std::vector<std::wstring>{L"&New Project", L"Add Projec&t...", L"Remo&ve Project",
                                       L"E&xit"}),
            Captions(2));
  EXPECT_EQ(2, controls.Obj(L"Item", {2}).Get(L"Index").Long());
  ExpectFailure(RPC_E_DISCONNECTED, open.Fails(L"Caption"));
  ExpectFailure(RPC_E_DISCONNECTED, open.Fails(L"Delete"));
  EXPECT_EQ(4, controls.Get(L"Count").Long());
}

// Connects the sink to the event source through its container: by the event interface's IID,
// or the first point the container lists.
DWORD Advise(const Late& source, IUnknown* sink, bool byList) {
  com_ptr<IConnectionPointContainer> container;
  EXPECT_EQ(S_OK,
            source.get()->QueryInterface(IID_IConnectionPointContainer, container.put_void()));
  if (!container) return 0;
  com_ptr<IConnectionPoint> point;
  if (byList) {
    com_ptr<IEnumConnectionPoints> points;
    EXPECT_EQ(S_OK, container->EnumConnectionPoints(points.put()));
    ULONG fetched = 0;
    EXPECT_EQ(S_OK, points->Next(1, point.put(), &fetched));
    IConnectionPoint* more = nullptr;
    EXPECT_EQ(S_FALSE, points->Next(1, &more, &fetched)) << "one point only";
  } else {
    const IID events = {0x0002E131, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    EXPECT_EQ(S_OK, container->FindConnectionPoint(events, point.put()));
  }
  if (!point) return 0;
  DWORD cookie = 0;
  EXPECT_EQ(S_OK, point->Advise(sink, &cookie));
  return cookie;
}

void Unadvise(const Late& source, DWORD cookie) {
  com_ptr<IConnectionPointContainer> container;
  source.get()->QueryInterface(IID_IConnectionPointContainer, container.put_void());
  com_ptr<IEnumConnectionPoints> points;
  container->EnumConnectionPoints(points.put());
  com_ptr<IConnectionPoint> point;
  points->Next(1, point.put(), nullptr);
  EXPECT_EQ(S_OK, point->Unadvise(cookie));
}

TEST_F(ObjectModel, ClickReachesEverySinkOfTheControlByReferenceUntilUnadvised) {
  Sink handler(false, true), follower(true), bystander(false);  // outlive their sources
  Late control = Controls(L"Add-Ins").Obj(L"Add");
  Late events = vbe_.Obj(L"Events");
  Late first = events.Obj(L"CommandBarEvents", {control.get()});
  Late second = events.Obj(L"CommandBarEvents", {control.get()});
  Late other = events.Obj(L"CommandBarEvents", {Controls(L"File").Obj(L"Item", {1}).get()});
  const DWORD cookie = Advise(first, &handler, true);
  Advise(second, &follower, false);
  Advise(other, &bystander, false);

  const standin::ClickResult result = ide_->Click(control.get());
  EXPECT_EQ(2, result.sinks);
  EXPECT_TRUE(result.handled);
  EXPECT_FALSE(result.cancelDefault);
  ASSERT_EQ(1u, handler.clicks.size());
  const Sink::Click& click = handler.clicks[0];
  EXPECT_EQ(1, click.id);
  EXPECT_EQ(DISPATCH_METHOD, click.flags);
  EXPECT_EQ((std::vector<VARTYPE>{VT_BYREF | VT_BOOL, VT_BYREF | VT_BOOL, VT_DISPATCH}),
            click.types);
  EXPECT_EQ(control.get(), click.control);
  ASSERT_EQ(1u, follower.clicks.size());
  EXPECT_TRUE(follower.clicks[0].handledOnArrival) << "handled is shared by reference";
  EXPECT_TRUE(bystander.clicks.empty());

  Unadvise(first, cookie);
  EXPECT_EQ(1, ide_->Click(L"Add-Ins", 3).sinks);
  EXPECT_EQ(1u, handler.clicks.size());
  EXPECT_EQ(2u, follower.clicks.size());

  ExpectFailure(kInvalidArgument, events.Fails(L"CommandBarEvents", {vbe_.get()}));
}

TEST_F(ObjectModel, TeardownReleasesTheSinksAndDisconnectsWhatTheAddInHolds) {
  Sink sink(true);
  Late control = Controls(L"Add-Ins").Obj(L"Item", {1});
  Late source = vbe_.Obj(L"Events").Obj(L"CommandBarEvents", {control.get()});
  Late projects = vbe_.Obj(L"VBProjects");
  Advise(source, &sink, false);
  ASSERT_GT(sink.refs, 0u);

  ide_.reset();
  EXPECT_EQ(0u, sink.refs);
  ExpectFailure(RPC_E_DISCONNECTED, control.Fails(L"Caption"));
  ExpectFailure(RPC_E_DISCONNECTED, projects.Fails(L"Count"));
  ExpectFailure(RPC_E_DISCONNECTED, vbe_.Fails(L"CommandBars"));
}

TEST_F(ObjectModel, ProjectsOpenedAndRemovedBecomeActiveAndAreRecorded) {
  const auto folder = std::filesystem::temp_directory_path() / "marrowby-standin";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "orders.vbp") << "Type=Exe\r\nName=\"Orders\"\r\n";
  std::ofstream(folder / "grid.vbp") << "Type=Control\r\n";
  const std::wstring orders = (folder / "orders.vbp").wstring(),
                     grid = (folder / "grid.vbp").wstring();

  Late projects = vbe_.Obj(L"VBProjects");
  const Var none = vbe_.Get(L"ActiveVBProject");
  EXPECT_EQ(VT_DISPATCH, none.vt());
  EXPECT_EQ(nullptr, (*none).pdispVal);

  projects.Get(L"AddFromFile", {orders.c_str(), false});
  projects.Get(L"AddFromFile", {grid.c_str()});
  EXPECT_EQ(2, projects.Get(L"Count").Long());
  EXPECT_EQ(L"grid", vbe_.Obj(L"ActiveVBProject").Get(L"Name").Text());
  EXPECT_EQ(orders, projects.Obj(L"Item", {L"orders"}).Get(L"FileName").Text());

  projects.Get(L"AddFromFile", {orders.c_str(), true});
  EXPECT_EQ(1, projects.Get(L"Count").Long());
  Late active = vbe_.Obj(L"ActiveVBProject");
  EXPECT_EQ(L"Orders", active.Get(L"Name").Text());
  projects.Get(L"Remove", {active.get()});
  EXPECT_EQ(0, projects.Get(L"Count").Long());
  EXPECT_EQ(nullptr, (*vbe_.Get(L"ActiveVBProject")).pdispVal);

  ExpectFailure(0x800A0035, projects.Fails(L"AddFromFile", {(folder / "gone.vbp").c_str(), false}));
  ExpectFailure(kInvalidArgument, projects.Fails(L"Remove", {vbe_.get()}));
  using Call = standin::ProjectCall;
  const std::vector<Call>& calls = ide_->ProjectCalls();
  ASSERT_EQ(4u, calls.size());
  EXPECT_EQ(Call::kOpened, calls[2].kind);
  EXPECT_EQ(orders, calls[2].fileName);
  EXPECT_TRUE(calls[2].exclusive);
  EXPECT_FALSE(calls[1].exclusive);
  EXPECT_EQ(Call::kRemoved, calls[3].kind);
  EXPECT_EQ(4, changes_.projects);
  std::filesystem::remove_all(folder);
}

TEST_F(ObjectModel, CallsTheMembersDoNotTakeAreRefused) {
  EXPECT_EQ(DISP_E_UNKNOWNNAME, vbe_.Fails(L"NoSuchMember").hr);
  Late bars = vbe_.Obj(L"commandBARS");
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, bars.Fails(L"Count", {1}).hr);
  Var ignored;
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
            bars.Invoke(L"Count", DISPATCH_PROPERTYPUT, {}, 3, ignored.get()).hr);
  Late controls = Controls(L"File");
  ExpectFailure(0x800A01C1, controls.Fails(L"Item"));          // 449: argument not optional
  ExpectFailure(0x800A000D, controls.Fails(L"Item", {L"x"}));  // 13: type mismatch
}

}  // namespace

// The catalogue's hot path over the real Win32 APIs, run under Wine, each figure beside its I/O
// floor: the project file reader (Win32FileSystem, the system's code page) against a raw read of
// the same bytes (FindFirstFileW, CreateFileW, one ReadFile, CloseHandle); the recent list's load
// from the registry (advapi32) into the add-in's own list view on a real window against the floor
// of the listed files; and, in the stand-in IDE, the add-in's connection until its tool window
// shows with a 50-entry recent list. Prints BENCH, RATIO and TARGET lines on stdout.
//
//   marrowby_bench_win.exe [folder for the project files]

#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/tests/TheDll.h"
#include "bench/Report.h"
#include "bench/VbpGenerator.h"
#include "bench/win32/Stopwatch.h"
#include "ui/Controls.h"
#include "browser/win32/Win32SkeldraWindow.h"
#include "catalogue/ProjectFile.h"
#include "browser/ProjectListView.h"
#include "catalogue/ProjectLists.h"
#include "standin/StandInIde.h"
#include "standin/app/AddIns.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/unique_res.h"
#include "registry/mReg.h"
#include "registry/win32/Advapi32Registry.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

using bench::Figure, bench::Ratio, bench::Target;

constexpr std::size_t kLargeBytes = 1 << 20;
constexpr int kListSizes[] = {10, 100, 1000};
constexpr int kMostEntries = 1000;
constexpr int kConnectEntries = 50;
constexpr int kRounds = 7;
constexpr double kMinRun = 0.05;  // seconds

constexpr wchar_t kSettingKey[] =
    L"Software\\VB and VBA Program Settings\\Microsoft Visual Basic AddIns\\Skeldra";
constexpr wchar_t kAddInProgId[] = L"Marrowby.Connect";

HINSTANCE Module() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

struct Corpus {
  std::wstring folder, typical, large;
  std::size_t typicalBytes = 0, largeBytes = 0;
  std::vector<std::wstring> entries;  // every tenth file is missing
};

void Write(const std::wstring& path, const std::string& bytes) {
  unique_file file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (!file || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                            nullptr) ||
      written != bytes.size())
    throw std::runtime_error("cannot write a project file");
}

Corpus MakeCorpus(std::wstring folder) {
  ::CreateDirectoryW(folder.c_str(), nullptr);
  Corpus c;
  c.folder = folder;
  const std::string typical = bench::TypicalProject(1), large = bench::LargeProject(kLargeBytes, 2);
  c.typical = folder + L"\\typical.vbp";
  c.large = folder + L"\\large.vbp";
  Write(c.typical, typical);
  Write(c.large, large);
  c.typicalBytes = typical.size();
  c.largeBytes = large.size();
  for (int i = 0; i < kMostEntries; ++i) {
    wchar_t name[32];
    if (i % 10 == 9) {
      ::swprintf(name, 32, L"\\gone%04d.vbp", i);
      ::DeleteFileW((folder + name).c_str());
    } else {
      ::swprintf(name, 32, L"\\project%04d.vbp", i);
      Write(folder + name, bench::TypicalProject(100 + static_cast<std::uint32_t>(i)));
    }
    c.entries.push_back(folder + name);
  }
  return c;
}

void RemoveCorpus(const Corpus& c) {
  ::DeleteFileW(c.typical.c_str());
  ::DeleteFileW(c.large.c_str());
  for (const std::wstring& path : c.entries) ::DeleteFileW(path.c_str());
  ::RemoveDirectoryW(c.folder.c_str());
}

// The floor of one file: the existence test as the reader makes it (a listing that keeps normal
// files), an open, one read of the listed length into a buffer made beforehand, a close. 0 for a
// missing file.
std::size_t RawRead(const std::wstring& path, std::vector<char>& buffer) {
  WIN32_FIND_DATAW found;
  HANDLE find = ::FindFirstFileW(path.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  ::FindClose(find);
  if (found.dwFileAttributes &
      (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY))
    return 0;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  DWORD read = 0;
  ::ReadFile(file, buffer.data(), found.nFileSizeLow, &read, nullptr);
  ::CloseHandle(file);
  return read;
}

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

class NoAboutBox final : public ModalForm {
 public:
  void ShowModal() override {}
};

// A shown top-level window without a frame: Wine hands such a window to no window manager.
unique_hwnd MakeTopWindow(const wchar_t* className) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = Module();
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = className;
  ::RegisterClassExW(&wc);
  unique_hwnd top(::CreateWindowExW(0, className, L"Bench", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                                    1100, 700, nullptr, nullptr, Module(), nullptr));
  if (!top) throw std::runtime_error("no top-level window");
  ::ShowWindow(top.get(), SW_SHOWNOACTIVATE);
  return top;
}

void WriteRecentList(mReg& reg, const Corpus& c, int entries) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecentFilesKey);
  for (int i = 0; i < entries; ++i)
    reg.RegSetKeyValue(kHkeyCurrentUser, kRecentFilesKey, std::to_wstring(i + 1), c.entries[i]);
}

std::string Name(const char* stem, int n) { return std::string(stem) + std::to_string(n); }

// ---------------------------------------------------------------------------------------------

void BenchReader(const Corpus& c) {
  Win32FileSystem files;
  Win32CodePage ansi;
  std::vector<char> buffer(c.largeBytes);
  if (ReadProjectFile(files, ansi, c.typical).Name().empty())
    throw std::runtime_error("the typical file reads empty");
  const auto t = bench::Interleaved(
      {{"raw_typical", [&] { RawRead(c.typical, buffer); }, nullptr},
       {"read_typical", [&] { ReadProjectFile(files, ansi, c.typical); }, nullptr},
       {"raw_1mb", [&] { RawRead(c.large, buffer); }, nullptr},
       {"read_1mb", [&] { ReadProjectFile(files, ansi, c.large); }, nullptr}},
      kRounds, kMinRun);
  Figure("wine_read_typical", t[1], "us");
  Figure("wine_raw_read_typical", t[0], "us");
  Ratio("wine_read_typical_vs_raw", t[1] / t[0]);
  const double mb = static_cast<double>(c.largeBytes) / 1e6;
  Figure("wine_read_1mb", t[3], "us");
  Figure("wine_raw_read_1mb", t[2], "us");
  Figure("wine_read_1mb_throughput", mb / (t[3] / 1e6), "MB/s");
  Figure("wine_raw_read_1mb_throughput", mb / (t[2] / 1e6), "MB/s");
  Ratio("wine_read_1mb_vs_raw", t[3] / t[2]);
}

// The list view as the add-in has it: the document window's recent list, its nine columns, on a
// shown window.
struct RealList {
  unique_hwnd top = MakeTopWindow(L"MarrowbyBenchHost");
  NoAboutBox about;
  std::unique_ptr<Win32SkeldraWindow> window = Win32SkeldraWindow::Create(top.get(), Module(), about);
  SkeldraControls controls = Controls(window);

  static SkeldraControls Controls(const std::unique_ptr<Win32SkeldraWindow>& window) {
    if (!window) throw std::runtime_error("no document window");
    return window->Controls();
  }

  RealList() {
    ::SetWindowPos(window->Handle(), nullptr, 0, 0, 1000, 640, SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(window->Handle(), SW_SHOWNA);
    // The recent list as it starts; the other one sorted by Path, as a list stays once the user
    // has clicked that column's header.
    for (ListView* list : {&controls.lvwRecent, &controls.lvwFavor}) {
      list->Move(0, 0, 15000, 9600);
      for (const wchar_t* key : {L"N", L"Title", L"Path", L"Name", L"Type", L"Version",
                                 L"Description", L"Product Name", L"Company Name"})
        list->AddColumn(key, key, 1440);
    }
    controls.lvwFavor.SortKey(2);
    controls.lvwFavor.Sorted(true);
    controls.lvwFavor.Visible(false);
    controls.lvwRecent.Visible(true);
    Pump();
  }
};

void BenchLists(const Corpus& c) {
  Win32FileSystem files;
  Win32CodePage ansi;
  Advapi32Registry api;
  mReg reg(api, ansi);
  RealList real;
  ListView& list = real.controls.lvwRecent;
  ProjectLists lists(reg, files, ansi);
  std::vector<char> buffer(1 << 16);

  std::vector<double> load, floor;
  std::vector<double> more;  // for 1000 entries: with the drawing, sorted
  for (int n : kListSizes) {
    WriteRecentList(reg, c, n);
    std::vector<bench::Contender> contenders = {
        {"floor", [&] { for (int i = 0; i < n; ++i) RawRead(c.entries[i], buffer); }, nullptr},
        {"load", [&] { LoadProjectList(lists, real.controls.App, list, false); }, Pump}};
    if (n == kMostEntries) {
      // The load followed by the message loop, as the IDE runs it after the add-in's handler:
      // the list is drawn there, once.
      contenders.push_back({"load_and_draw", [&] {
                              LoadProjectList(lists, real.controls.App, list, false);
                              Pump();
                              ::RedrawWindow(real.window->Handle(), nullptr, nullptr,
                                             RDW_UPDATENOW | RDW_ALLCHILDREN);
                            }, nullptr});
      contenders.push_back(
          {"load_sorted",
           [&] { LoadProjectList(lists, real.controls.App, real.controls.lvwFavor, false); },
           Pump});
    }
    const auto t = bench::Interleaved(contenders, kRounds, kMinRun);
    if (list.ItemCount() != n ||
        lists.RecentProjects()->Count() != static_cast<std::size_t>(n - n / 10))
      throw std::runtime_error("the list does not show every entry");
    floor.push_back(t[0]);
    load.push_back(t[1]);
    if (n == kMostEntries) more = {t[2], t[3]};
  }
  for (std::size_t i = 0; i < std::size(kListSizes); ++i) {
    const int n = kListSizes[i];
    Figure(Name("wine_load_", n), load[i], "us");
    Figure(Name("wine_load_floor_", n), floor[i], "us");
    Ratio(Name("wine_load_", n) + "_vs_floor", load[i] / floor[i]);
  }
  Target("wine_load_1000_vs_floor", load[2] / floor[2], 1.3, true);
  for (std::size_t i = 0; i < std::size(kListSizes); ++i) {
    const int n = kListSizes[i];
    Figure(Name("wine_load_per_entry_", n), load[i] / n, "us");
    Figure(Name("wine_load_floor_per_entry_", n), floor[i] / n, "us");
  }
  const double growth = (load[2] / 1000) / (load[0] / 10);
  const double floorGrowth = (floor[2] / 1000) / (floor[0] / 10);
  Ratio("wine_load_per_entry_1000_vs_10", growth);
  Ratio("wine_load_floor_per_entry_1000_vs_10", floorGrowth);

  Figure("wine_load_1000_and_draw", more[0], "us");
  Ratio("wine_load_1000_and_draw_vs_floor", more[0] / floor[2]);
  Figure("wine_load_1000_sorted", more[1], "us");
  Ratio("wine_load_1000_sorted_vs_floor", more[1] / floor[2]);

  // A keystroke in the filter box over 1000 rows: the list shown again through the filter, then
  // drawn. Typing narrows it; the dearest keystroke shows every row again (the filter cleared).
  const std::vector<ListRow> rows = LoadProjectList(lists, real.controls.App, list, false, L"");
  const auto draw = [&] {
    Pump();
    ::RedrawWindow(real.window->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  constexpr const wchar_t* kTyped[] = {L"0", L"00", L"001", L"0012"};
  // Beside them, what the list view's own painting costs: the same 1000 rows drawn again with
  // nothing changed.
  HWND shown = ::GetDlgItem(real.window->Handle(), SkeldraWindowIds::kRecent);
  const auto typed = bench::Interleaved(
      {{"typing", [&] { for (const wchar_t* f : kTyped) ShowRows(list, rows, f), draw(); }, nullptr},
       {"cleared", [&] { ShowRows(list, rows, L""), draw(); }, nullptr},
       {"repaint", [&] { ::InvalidateRect(shown, nullptr, TRUE), ::UpdateWindow(shown); }, nullptr}},
      kRounds, kMinRun);
  const double keystroke = typed[0] / std::size(kTyped);
  Figure("wine_filter_1000_typing_per_keystroke", keystroke, "us");
  Figure("wine_filter_1000_cleared", typed[1], "us");
  Figure("wine_list_1000_repaint", typed[2], "us");
  Ratio("wine_filter_1000_cleared_vs_repaint", typed[1] / typed[2]);
  Target("wine_filter_1000_worst_keystroke_ms", std::max(keystroke, typed[1]) / 1000, 50, true);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecentFilesKey);
}

// ---------------------------------------------------------------------------------------------
// The stand-in IDE connecting the add-in at start-up, its window remembered as shown: from the
// start of the connection until the tool window is visible and painted.

HWND VisibleToolWindow(const standin::StandInIde& ide) {
  for (const auto& w : ide.ToolWindows())
    if (w.visible && w.window && ::IsWindowVisible(w.window)) return w.window;
  return nullptr;
}

int RecentRows(HWND toolWindow) {
  HWND document = ::GetWindow(toolWindow, GW_CHILD);  // the control's, in place
  HWND recent = document ? ::GetDlgItem(document, SkeldraWindowIds::kRecent) : nullptr;
  return recent ? ListView_GetItemCount(recent) : -1;
}

// Seconds from the connection's start until the window shows; throws when it never does.
double ConnectOnce(HWND dock, int expectedRows) {
  auto ide = standin::MakeStandInIde(dock);
  standin::AddStandardBars(*ide);
  standin_app::AddIns addIns;
  const double start = bench::Now();
  addIns.ConnectAtStartup(*ide);
  // Then the IDE's message loop runs: what the add-in posted, and the paints.
  HWND shown = nullptr;
  for (int i = 0; !shown && i < 1000; ++i) {
    Pump();
    shown = VisibleToolWindow(*ide);
  }
  if (shown) ::RedrawWindow(shown, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const double elapsed = bench::Now() - start;
  if (!shown) throw std::runtime_error("the add-in's window never showed");
  if (RecentRows(shown) != expectedRows) throw std::runtime_error("the recent list is not loaded");
  addIns.DisconnectAll();
  ide.reset();
  Pump();
  return elapsed;
}

void BenchConnection(const Corpus& c) {
  if (Regsvr32(L"") != 0) throw std::runtime_error("regsvr32 cannot register the add-in");
  // At start-up only this add-in, its window remembered as shown.
  for (const auto& addIn : standin_app::StartupAddIns())
    if (addIn != kAddInProgId) throw std::runtime_error("another add-in loads at start-up");
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kSettingKey, L"DisplayOnConnect", REG_SZ, L"1", 4);

  Win32CodePage ansi;
  Advapi32Registry api;
  mReg reg(api, ansi);
  unique_hwnd dock = MakeTopWindow(L"MarrowbyBenchDock");
  std::vector<char> buffer(1 << 16);

  WriteRecentList(reg, c, kConnectEntries);
  const double cold = ConnectOnce(dock.get(), kConnectEntries) * 1e6;
  std::vector<double> withList, empty, floor;
  for (int r = 0; r < kRounds; ++r) {
    WriteRecentList(reg, c, kConnectEntries);
    withList.push_back(ConnectOnce(dock.get(), kConnectEntries) * 1e6);
    WriteRecentList(reg, c, 0);
    empty.push_back(ConnectOnce(dock.get(), 0) * 1e6);
    const double start = bench::Now();
    for (int i = 0; i < kConnectEntries; ++i) RawRead(c.entries[i], buffer);
    floor.push_back((bench::Now() - start) * 1e6);
  }
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
  };
  Figure("wine_connect_to_window_first_50", cold, "us");
  Figure("wine_connect_to_window_50", median(withList), "us");
  Figure("wine_connect_to_window_empty", median(empty), "us");
  Figure("wine_connect_floor_50", median(floor), "us");
  Ratio("wine_connect_to_window_50_vs_empty", median(withList) / median(empty));

  ::RegDeleteTreeW(HKEY_CURRENT_USER, kRecentFilesKey);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingKey);
  Regsvr32(L"/u");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // LF line ends, as the native program prints them
  try {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const Corpus corpus = MakeCorpus(argc > 1 ? argv[1] : std::wstring(temp) + L"marrowby-bench");
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&classes);

    BenchReader(corpus);
    BenchLists(corpus);
    BenchConnection(corpus);

    ::OleUninitialize();
    RemoveCorpus(corpus);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "marrowby_bench_win: %s\n", e.what());
    return 1;
  }
  return 0;
}

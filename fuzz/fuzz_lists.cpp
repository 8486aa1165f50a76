// The recent and favourite lists over a registry and a disk that the input fills: values of any
// name and data in both keys and beside them, project files present, missing, hidden, locked or
// unreadable, shares that do not answer, registry calls that fail. Between those changes the
// input loads either list, adds favourites and removes them, directly and as the user does in the
// document over headless controls, and every step is checked against what the registry and the
// disk hold.
//
// The program: one byte per operation (its number modulo the count of operations), then its
// arguments.
//   0 set value         key (byte), name, data (texts), whether the size counts a NUL (byte)
//   1 delete value      key (byte), name
//   2 add file          path, contents (texts), attributes (byte)
//   3 add directory     path
//   4 remove file       path
//   5 fail the file     path, listing or reading (byte)
//   6 fail calls        call (byte), result code (byte), calls to let through first (byte)
//   7 load the recent list
//   8 load the favourites
//   9 add a favourite   path
//  10 remove a favourite, by the text of its number
//  11 shares stop (or start again) answering in time
//  12 release both collections, as when the window ends
//  13 the user clicks a tab of the document (byte: which)
//  14 the user adds a recent row to the favourites from its pop-up menu (byte: which row)
//  15 the user removes a favourite row from its pop-up menu (byte: which row)

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ide/mMain.h"
#include "ide/tests/FakeIde.h"
#include "browser/Skeldra.h"
#include "browser/tests/HeadlessWindow.h"
#include "catalogue/ProjectFile.h"
#include "browser/ProjectListView.h"
#include "catalogue/ProjectLists.h"
#include "catalogue/Text.h"
#include "fuzz/FuzzInput.h"
#include "catalogue/tests/SameRecord.h"
#include "fuzz/StoredValues.h"
#include "platform/CodePage.h"
#include "platform/Error.h"
#include "platform/tests/FakeClipboard.h"
#include "platform/tests/MemoryFileSystem.h"
#include "platform/tests/RecordingMsgBox.h"
#include "platform/tests/RecordingShell.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

namespace {

// The two list keys, then keys beside and below them whose values the lists must never touch.
constexpr const char* kKeys[] = {
    "Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles",
    "Software\\Tolvane\\Skeldra\\Favorites",
    "Software\\Microsoft\\Visual Basic\\6.0",
    "Software\\Tolvane\\Skeldra",
    "Software\\Tolvane\\Skeldra\\Favorites\\Old",
    "Software\\Tolvane\\Skeldra\\Favorites2",
};
constexpr std::size_t kRecent = 0, kFavorites = 1;

constexpr char kProject[] =
    "Type=Exe\r\nForm=frmMain.frm\r\nStartup=\"frmMain\"\r\nTitle=\"Order Entry\"\r\n"
    "ExeName32=\"Orders.exe\"\r\nName=\"Orders\"\r\nDescription=\"Takes the \"day's\" orders\"\r\n"
    "MajorVer=2\r\nMinorVer=1\r\nRevisionVer=15\r\nVersionCompanyName=\"Harbour\"\r\n"
    "VersionProductName=\"Harbour Orders\"\r\n";

constexpr std::string_view kTexts[] = {
    "C:\\Projects\\Orders\\Orders.vbp",
    "c:\\projects\\orders\\ORDERS.VBP",
    "C:\\Projects\\Ledger.vbp",
    "\\\\server\\share\\Team.vbp",
    "R:\\Removable\\Stock.vbp",
    "C:\\Projects",
    "1",
    "2",
    "3",
    " 2 ",
    "2.5",
    "32767",
    "-1",
    kProject,
    std::string_view("C:\\Projects\\Orders\\Orders.vbp\0.bak", 34),
};

constexpr const char* kCalls[] = {"RegOpenKeyA",     "RegQueryInfoKeyA", "RegEnumValueA",
                                  "RegCreateKeyExA", "RegSetValueExA",   "RegOpenKeyExA",
                                  "RegQueryValueExA", "RegDeleteValueA",  ""};
// The failures a registry call may answer with. "Not found" is not among them: a registry that
// says a value is absent when it is there leaves the lists no way to keep it.
constexpr std::int32_t kResults[] = {reg::kAccessDenied, reg::kInvalidHandle, reg::kMoreData,
                                     reg::kNoMoreItems, 1018};

// Files in memory whose paths on shares and on the removable drive R: may block; while shares
// are down, those paths do not answer in time.
class SlowVolumes final : public FileSystem {
 public:
  explicit SlowVolumes(const MemoryFileSystem& files) : files_(files) {}
  bool IsNormalFile(std::wstring_view path) const override { return files_.IsNormalFile(path); }
  std::optional<std::string> ReadAll(std::wstring_view path, std::size_t limit) const override {
    return files_.ReadAll(path, limit);
  }
  bool MayBlock(std::wstring_view path) const override {
    return path.starts_with(L"\\\\") || path.starts_with(L"R:") || path.starts_with(L"r:");
  }
  std::optional<bool> IsNormalFileWithin(std::wstring_view path,
                                         std::chrono::milliseconds) const override {
    if (down) return std::nullopt;
    return files_.IsNormalFile(path);
  }

  bool down = false;

 private:
  const MemoryFileSystem& files_;
};

using Values = std::vector<StoredValue>;
using Snapshot = std::vector<Values>;  // per key of kKeys; an absent key has no values

Snapshot Take(MemoryRegistry& registry) {
  Snapshot snapshot;
  for (const char* key : kKeys) snapshot.push_back(StoredValues(registry, key).value_or(Values{}));
  return snapshot;
}

// Every key but the one given holds what it held.
void CheckOthersUnchanged(const Snapshot& before, const Snapshot& after, std::size_t except) {
  for (std::size_t k = 0; k < before.size(); ++k)
    if (k != except) FUZZ_CHECK(before[k] == after[k]);
}

std::optional<std::int64_t> Number(std::wstring_view name) {
  return text::ParseWholeNumber(name, std::numeric_limits<std::int16_t>::min(),
                                std::numeric_limits<std::int16_t>::max());
}

// The entry a value gives when the registry answers every call: its number and its path; none
// for a value too long to read (its row is empty, and the empty name is not a number) or whose
// name is not a number.
struct Entry {
  std::int16_t number;
  std::wstring path;
};
std::optional<Entry> EntryOf(const CodePage& ansi, const StoredValue& v) {
  const auto row = ReadableRow(ansi, v);
  if (!row) return {};
  const auto number = Number(row->Name);
  if (!number) return {};
  return Entry{static_cast<std::int16_t>(*number), row->Data};
}

class Program {
 public:
  Program()
      : reg_(failing_, ansi_),
        slow_(files_),
        lists_(reg_, slow_, ansi_),
        doc_(w_.Controls(), lists_, msgBox_, shell_, clipboard_) {
    // The document as the add-in opens it, over an empty registry.
    gVBE = host_;
    doc_.UserDocument_Initialize();
    w_.UserDocument.Size(6000, 4000);
    doc_.UserDocument_Show();
    doc_.View();
  }
  ~Program() { gVBE.reset(); }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  void Run(FuzzInput& in) {
    for (int step = 0; step < 48 && !in.Done(); ++step) {
      Step(in);
      FUZZ_CHECK(memory_.OpenHandles() == 0);
    }
  }

 private:
  std::wstring Wide(FuzzInput& in) { return ansi_.ToWide(in.Text(kTexts)); }
  std::string Show(std::wstring_view text) const { return Printable(ansi_.ToAnsi(text)); }

  void Step(FuzzInput& in) {
    switch (in.Below(16)) {
      case 0: {
        const char* key = kKeys[in.Below(std::size(kKeys))];
        const std::string name = in.Text(kTexts);
        const std::string data = in.Text(kTexts);
        const bool countNul = in.Byte() & 1;
        FUZZ_TRACE("set %s %s = %s%s\n", key, Printable(name).c_str(), Printable(data).c_str(),
                   countNul ? " with its NUL" : "");
        HKey h{};
        if (memory_.RegCreateKeyExA(kHkeyCurrentUser, key, 0, nullptr, 0, reg::kWrite, nullptr,
                                    &h, nullptr) == reg::kSuccess) {
          memory_.RegSetValueExA(h, name.c_str(), 0, reg::kRegSz,
                                 reinterpret_cast<const std::uint8_t*>(data.c_str()),
                                 static_cast<std::uint32_t>(data.size() + (countNul ? 1 : 0)));
          memory_.RegCloseKey(h);
        }
        break;
      }
      case 1: {
        const char* key = kKeys[in.Below(std::size(kKeys))];
        const std::string name = in.Text(kTexts);
        FUZZ_TRACE("delete %s %s\n", key, Printable(name).c_str());
        HKey h{};
        if (memory_.RegOpenKeyExA(kHkeyCurrentUser, key, 0, reg::kWrite, &h) == reg::kSuccess) {
          memory_.RegDeleteValueA(h, name.c_str());
          memory_.RegCloseKey(h);
        }
        break;
      }
      case 2: {
        const std::wstring path = Wide(in);
        std::string contents = in.Text(kTexts);
        const unsigned attributes = in.Byte() & (MemoryFileSystem::kReadOnly |
                                                 MemoryFileSystem::kHidden |
                                                 MemoryFileSystem::kSystem |
                                                 MemoryFileSystem::kArchive);
        FUZZ_TRACE("file %s attributes %u: %s\n", Show(path).c_str(), attributes,
                   Printable(contents).c_str());
        files_.AddFile(path, std::move(contents), attributes);
        break;
      }
      case 3: {
        const std::wstring path = Wide(in);
        FUZZ_TRACE("directory %s\n", Show(path).c_str());
        files_.AddDirectory(path);
        break;
      }
      case 4: {
        const std::wstring path = Wide(in);
        FUZZ_TRACE("remove file %s\n", Show(path).c_str());
        files_.Remove(path);
        break;
      }
      case 5: {
        const std::wstring path = Wide(in);
        const bool listing = in.Byte() & 1;
        FUZZ_TRACE("fail %s of %s\n", listing ? "listing" : "reading", Show(path).c_str());
        if (listing)
          files_.FailListing(path);
        else
          files_.FailReading(path);
        break;
      }
      case 6: {
        const char* call = kCalls[in.Below(std::size(kCalls))];
        std::int32_t result = kResults[in.Below(std::size(kResults))];
        // A query without a buffer never answers "more data"; as if it did, every name would
        // seem taken, and each add would ask for all 32767 of them.
        if (std::string_view(call) == "RegQueryValueExA" && result == reg::kMoreData)
          result = reg::kAccessDenied;
        const int skip = in.Byte() % 8;
        FUZZ_TRACE("fail %s with %d after %d\n", call, result, skip);
        failing_.Fail(call, result, skip);
        failures_ = *call != '\0';
        break;
      }
      case 7:
        FUZZ_TRACE("load recent\n");
        Load(w_.lvwRecent, false);
        break;
      case 8:
        FUZZ_TRACE("load favourites\n");
        Load(w_.lvwFavor, true);
        break;
      case 9: {
        const std::wstring path = Wide(in);
        FUZZ_TRACE("add favourite %s\n", Show(path).c_str());
        AddFavorite(path);
        break;
      }
      case 10: {
        const std::wstring number = Wide(in);
        FUZZ_TRACE("remove favourite %s\n", Show(number).c_str());
        RemoveFavorite(number);
        break;
      }
      case 11:
        slow_.down = !slow_.down;
        FUZZ_TRACE("shares %s\n", slow_.down ? "down" : "up");
        break;
      case 12:
        FUZZ_TRACE("release\n");
        lists_.Release();
        FUZZ_CHECK(!lists_.RecentProjects() && !lists_.FavoriteProjects());
        break;
      case 13:
        ClickTab(1 + static_cast<int>(in.Below(3)));
        break;
      case 14:
        UserAdds(in.Byte());
        break;
      case 15:
        UserRemoves(in.Byte());
        break;
    }
  }

  void Load(HeadlessListView& view, bool favorites) {
    const Snapshot before = Take(memory_);
    const auto& other = favorites ? lists_.RecentProjects() : lists_.FavoriteProjects();
    const std::optional<std::size_t> otherCount =
        other ? std::optional<std::size_t>(other->Count()) : std::nullopt;
    try {
      LoadProjectList(lists_, w_.App, view, favorites);
    } catch (...) {
      FUZZ_CHECK(!"a load lets an exception out");
    }
    CheckPointer();
    const Snapshot after = Take(memory_);
    FUZZ_CHECK(after == before);  // a load writes nothing
    FUZZ_CHECK((other ? std::optional<std::size_t>(other->Count()) : std::nullopt) ==
               otherCount);
    CheckLoaded(view, favorites, after);
  }

  // After each load the hourglass has gone.
  void CheckPointer() {
    FUZZ_CHECK(w_.App.MousePointer() == 0);
    FUZZ_CHECK(w_.App.pointers.empty() || w_.App.pointers.back() == 0);
  }

  // The rows of a list just loaded, and the collection the load filled, against the files and
  // the registry as the load read them.
  void CheckLoaded(HeadlessListView& view, bool favorites, const Snapshot& registry) {
    const auto& projects = favorites ? lists_.FavoriteProjects() : lists_.RecentProjects();
    FUZZ_CHECK(projects.has_value());
    std::set<std::wstring> keys;
    std::size_t present = 0;
    for (int i = 1; i <= view.ItemCount(); ++i) {
      ListItem& row = view.Item(i);
      FUZZ_CHECK(keys.insert(row.Key()).second);
      FUZZ_CHECK(row.Key() == L"k_" + row.Text());
      FUZZ_CHECK(Number(row.Text()) && std::to_wstring(*Number(row.Text())) == row.Text());
      const cProject* project = projects->Item(row.Text());
      const std::wstring& path = row.SubItems(2);
      if (row.SmallIcon() == L"yes") {
        ++present;
        FUZZ_CHECK(project != nullptr);
        bool exists = false;
        try {
          exists = files_.IsNormalFile(path);
        } catch (...) {
        }
        FUZZ_CHECK(exists);
        FUZZ_CHECK(SameRecord(*project, ReadProjectFile(files_, ansi_, path)));
        FUZZ_CHECK(row.SubItems(1) == project->Title());
        FUZZ_CHECK(row.SubItems(3) == project->Name());
        FUZZ_CHECK(row.SubItems(4) == project->TypeFreindlyName());
        FUZZ_CHECK(row.SubItems(5) == project->VersionText());
        FUZZ_CHECK(row.SubItems(6) == project->Description());
        FUZZ_CHECK(row.SubItems(7) == project->VersionProductName());
        FUZZ_CHECK(row.SubItems(8) == project->VersionCompanyName());
      } else {
        FUZZ_CHECK(row.SmallIcon() == L"not");
        FUZZ_CHECK(project == nullptr);
        for (int column : {1, 3, 4, 5, 6, 7, 8}) FUZZ_CHECK(row.SubItems(column).empty());
      }
    }
    FUZZ_CHECK(projects->Count() == present);

    // With every call answering, the rows are the key's values in order, one per number.
    if (!failures_ && !view.Sorted()) {
      std::vector<Entry> entries;
      std::set<std::int16_t> seen;
      for (const StoredValue& v : registry[favorites ? kFavorites : kRecent])
        if (auto entry = EntryOf(ansi_, v); entry && seen.insert(entry->number).second)
          entries.push_back(*entry);
      FUZZ_CHECK(static_cast<std::size_t>(view.ItemCount()) == entries.size());
      for (std::size_t i = 0; i < entries.size(); ++i) {
        ListItem& row = view.Item(static_cast<int>(i) + 1);
        FUZZ_CHECK(row.Text() == std::to_wstring(entries[i].number));
        FUZZ_CHECK(row.SubItems(2) == entries[i].path);
      }
    }
  }

  void AddFavorite(const std::wstring& path) {
    const Snapshot before = Take(memory_);
    std::optional<bool> added;
    try {
      added = lists_.AddFavorite(path);
    } catch (const VbError&) {
      // The registry refused the write.
    } catch (...) {
      FUZZ_CHECK(!"AddFavorite lets an exception other than VbError out");
    }
    const Snapshot after = Take(memory_);
    CheckOthersUnchanged(before, after, kFavorites);
    const Values& was = before[kFavorites];
    const Values& is = after[kFavorites];
    if (added == true) {
      // Exactly one value more, after the others, under a name none had, holding the path.
      FUZZ_CHECK(is.size() == was.size() + 1);
      FUZZ_CHECK(std::equal(was.begin(), was.end(), is.begin()));
      const StoredValue& value = is.back();
      const auto number = Number(ansi_.ToWide(value.name));
      FUZZ_CHECK(number && *number >= 1 && std::to_string(*number) == value.name);
      for (const StoredValue& v : was) FUZZ_CHECK(v.name != value.name);
      FUZZ_CHECK(value.data == ansi_.ToAnsi(path.empty() ? L" " : path) + '\0');
    } else {
      FUZZ_CHECK(is == was);
      // Without failures the one reason to write nothing is a favourite that reads as this path
      // already (a value too long to read reads as the empty path).
      if (added == false && !failures_) {
        bool listed = false;
        for (const StoredValue& v : was)
          listed |= ReadableRow(ansi_, v).value_or(RegValue{}).Data == path;
        FUZZ_CHECK(listed);
      }
    }
  }

  // The user chooses a tab: the recent and favourites tabs load their list.
  void ClickTab(int tab) {
    FUZZ_TRACE("user clicks tab %d\n", tab);
    const Snapshot before = Take(memory_);
    const std::size_t pointers = w_.App.pointers.size();
    const std::size_t messages = msgBox_.calls.size();
    w_.TabStrip1.UserClickTab(tab);
    CheckPointer();
    FUZZ_CHECK(Take(memory_) == before);
    FUZZ_CHECK(msgBox_.calls.size() == messages);
    if (w_.App.pointers.size() != pointers && tab != 3)
      CheckLoaded(tab == 1 ? w_.lvwRecent : w_.lvwFavor, tab == 2, before);
  }

  // The user picks "Add to Favorites" on a recent row, by its place in the list.
  void UserAdds(unsigned place) {
    HeadlessListView& list = w_.lvwRecent;
    if (list.ItemCount() == 0) return;
    ListItem& row = list.Item(1 + static_cast<int>(place % list.ItemCount()));
    const std::wstring path = row.SubItems(2);
    const bool missing = row.SmallIcon() == L"not";
    FUZZ_TRACE("user adds recent row %s %s\n", Show(row.Text()).c_str(), Show(path).c_str());
    const Snapshot before = Take(memory_);
    const std::size_t pointers = w_.App.pointers.size();
    const std::size_t messages = msgBox_.calls.size();
    Press(list, row, L"mnuPopRecent_Add");
    CheckPointer();
    FUZZ_CHECK(msgBox_.calls.size() == messages);  // the add is silent whatever fails
    const Snapshot after = Take(memory_);
    CheckOthersUnchanged(before, after, kFavorites);
    // The favourites were loaded first when they never had been.
    if (w_.App.pointers.size() != pointers) CheckLoaded(w_.lvwFavor, true, before);
    const Values& was = before[kFavorites];
    const Values& is = after[kFavorites];
    if (is == was) return;
    FUZZ_CHECK(!missing);
    FUZZ_CHECK(is.size() == was.size() + 1 && std::equal(was.begin(), was.end(), is.begin()));
    FUZZ_CHECK(is.back().data == ansi_.ToAnsi(path.empty() ? L" " : path) + '\0');
  }

  // The user picks "Remove" on a favourite row, by its place in the list.
  void UserRemoves(unsigned place) {
    HeadlessListView& list = w_.lvwFavor;
    if (list.ItemCount() == 0) return;
    ListItem& row = list.Item(1 + static_cast<int>(place % list.ItemCount()));
    const std::wstring number = row.Text();
    FUZZ_TRACE("user removes favourite row %s\n", Show(number).c_str());
    const Snapshot before = Take(memory_);
    const std::size_t messages = msgBox_.calls.size();
    Press(list, row, L"mnuPopFavor_Delete");
    CheckPointer();
    const Snapshot after = Take(memory_);
    CheckOthersUnchanged(before, after, kFavorites);
    const Values& was = before[kFavorites];
    const Values& is = after[kFavorites];
    if (is == was) {
      // The delete failed, and the user was told.
      FUZZ_CHECK(msgBox_.calls.size() == messages + 1);
      return;
    }
    FUZZ_CHECK(msgBox_.calls.size() == messages);
    FUZZ_CHECK(is.size() + 1 == was.size());
    std::size_t gone = 0;
    while (gone < is.size() && is[gone] == was[gone]) ++gone;
    FUZZ_CHECK(std::equal(is.begin() + gone, is.end(), was.begin() + gone + 1));
    FUZZ_CHECK(Number(ansi_.ToWide(was[gone].name)) == Number(number));
    CheckLoaded(list, true, after);  // and the list shows what is left
  }

  // A right click on the row, choosing the pop-up menu's item.
  void Press(HeadlessListView& list, ListItem& row, const wchar_t* choice) {
    const auto [x, y] = list.PointOf(row);
    w_.UserDocument.choose = choice;
    list.UserMouseDown(2, 0, x, y);
  }

  void RemoveFavorite(const std::wstring& number) {
    const Snapshot before = Take(memory_);
    bool removed = false;
    try {
      lists_.RemoveFavorite(number);
      removed = true;
    } catch (const VbError&) {
      // No such favourite, or the registry refused.
    } catch (...) {
      FUZZ_CHECK(!"RemoveFavorite lets an exception other than VbError out");
    }
    const Snapshot after = Take(memory_);
    CheckOthersUnchanged(before, after, kFavorites);
    const Values& was = before[kFavorites];
    const Values& is = after[kFavorites];
    if (!removed) {
      FUZZ_CHECK(is == was);
      return;
    }
    // Exactly one value less, the others in their order.
    FUZZ_CHECK(is.size() + 1 == was.size());
    std::size_t gone = 0;
    while (gone < is.size() && is[gone] == was[gone]) ++gone;
    FUZZ_CHECK(std::equal(is.begin() + gone, is.end(), was.begin() + gone + 1));
  }

  Windows1252CodePage ansi_;
  MemoryRegistry memory_;
  MemoryRegistry failing_{memory_.View()};
  mReg reg_;
  MemoryFileSystem files_;
  SlowVolumes slow_;
  HeadlessWindow w_;
  RecordingMsgBox msgBox_;
  RecordingShell shell_;
  FakeClipboard clipboard_;
  std::shared_ptr<FakeIde> host_ = std::make_shared<FakeIde>();
  ProjectLists lists_;
  Skeldra doc_;
  bool failures_ = false;  // whether a registry call has been set to fail
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  Program program;
  program.Run(in);
  return 0;
}

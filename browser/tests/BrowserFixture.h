#pragma once
// The browser document over a window's controls, the in-memory registry, a folder of project
// files (in memory natively, real files under Windows) and a recording host: everything a user
// scenario needs, and the helpers to drive it as the user would.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browser/Skeldra.h"
#include "browser/tests/HeadlessWindow.h"
#include "catalogue/ProjectLists.h"
#include "ide/mMain.h"
#include "ide/tests/FakeIde.h"
#include "platform/tests/FakeClipboard.h"
#include "platform/tests/FaultyFileSystem.h"
#include "platform/tests/FileWorld.h"
#include "platform/tests/RecordingMsgBox.h"
#include "platform/tests/RecordingShell.h"
#include "registry/mReg.h"
#include "registry/tests/MemoryRegistry.h"

using Strings = std::vector<std::wstring>;

/// A project file's text as the IDE writes it, with the fields the browser shows.
struct Vbp {
  std::string type = "Exe", name, title, description, product, company, copyright, fileDescription,
              exeName;
  int major = 1, minor = 0, revision = 0;
  std::string Text() const;
};

// The lists' keys spelt out here, as the IDE and the users' registries have them.
inline constexpr wchar_t kRecentList[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";
inline constexpr wchar_t kFavoritesList[] = L"Software\\Tolvane\\Skeldra\\Favorites";
using Values = std::vector<std::pair<std::wstring, std::wstring>>;

/// The rows' texts in column (0 the row's text, k sub-item k, -1 the small icon), in the order
/// shown.
Strings ColumnTexts(ListView& list, int column = 0);
/// The row shown with this number; null when none is.
ListItem* Row(ListView& list, std::wstring_view number);

/// Everything the document works with but its window, whose controls it is given.
class DocumentRig {
 protected:
  DocumentRig(std::unique_ptr<FileWorld> world, const SkeldraControls& controls)
      : world_(std::move(world)), c_(controls) {
    gVBE = host_;
  }
  virtual ~DocumentRig() { gVBE.reset(); }

  /// Writes a project file into the folder; its full path.
  std::wstring Project(std::wstring_view fileName, const Vbp& vbp = {}) {
    world_->AddFile(fileName, vbp.Text());
    return world_->PathOf(fileName);
  }
  /// A path in the folder where no file is.
  std::wstring Missing(std::wstring_view fileName) const { return world_->PathOf(fileName); }
  void Set(const wchar_t* key, const Values& values) {
    for (const auto& [name, data] : values) reg_.RegSetKeyValue(kHkeyCurrentUser, key, name, data);
  }
  void SetRecent(const Values& values) { Set(kRecentList, values); }
  void SetFavorites(const Values& values) { Set(kFavoritesList, values); }
  /// The favourites key as it is now: name and data, in creation order.
  RegValueTable StoredFavorites() {
    return reg_.RegGetKeyValues(kHkeyCurrentUser, kFavoritesList).value_or(RegValueTable{});
  }
  /// Creates, shows and views the document at 6000 by 4000 twips, as the add-in does.
  void Open() {
    doc_.UserDocument_Initialize();
    Size(6000, 4000);
    doc_.UserDocument_Show();
    doc_.View();
  }
  /// Gives the document's window this size in twips.
  virtual void Size(float width, float height) = 0;

  std::unique_ptr<FileWorld> world_;
  FaultyFileSystem files_{world_->Files()};  // the files as the document sees them
  MemoryRegistry registry_;
  MemoryRegistry failing_{registry_.View()};  // the registry as the document sees it
  mReg reg_{failing_, world_->Ansi()};
  RecordingMsgBox msgBox_;
  RecordingShell shell_;
  FakeClipboard clipboard_;
  ProjectLists lists_{reg_, files_, world_->Ansi()};
  std::shared_ptr<FakeIde> host_ = std::make_shared<FakeIde>();
  SkeldraControls c_;
  Skeldra doc_{c_, lists_, msgBox_, shell_, clipboard_};
};

/// The document over the headless window, whose controls the test drives as its own members.
class BrowserTest : public testing::TestWithParam<FileWorldMaker>,
                    public HeadlessWindow,
                    public DocumentRig {
 protected:
  BrowserTest() : DocumentRig(GetParam().make(), Controls()) {}
  void Size(float width, float height) override { UserDocument.Size(width, height); }

  /// The user presses a mouse button on the row shown with this number, if one is; with
  /// choice, picks that pop-up item.
  void Press(HeadlessListView& list, std::wstring_view number, int button = 1,
             std::wstring_view choice = {}) {
    if (ListItem* row = Row(list, number)) {
      const auto [x, y] = list.PointOf(*row);
      UserDocument.choose = std::wstring(choice);
      list.UserMouseDown(button, 0, x, y);
    }
  }
};

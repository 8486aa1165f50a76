#include "browser/Skeldra.h"

#include <algorithm>
#include <array>

#include "ide/mMain.h"
#include "browser/ProjectListView.h"
#include "catalogue/ProjectLists.h"
#include "platform/Boundary.h"
#include "platform/Clipboard.h"
#include "platform/Error.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"

namespace {

constexpr wchar_t kNumberColumn[] = L"N";
constexpr float kNumberWidth = 600;
constexpr float kShownWidth = 2000;

constexpr float kToolbarHeight = 360;
constexpr float kMinWidth = 2000;
constexpr float kMinHeight = 2500;

constexpr int kRecentTab = 1;
constexpr int kFavoritesTab = 2;
constexpr int kPropertiesTab = 3;

constexpr int kRightButton = 2;
constexpr int kPopupRightButton = 2;

// The filter box, at the right end of the toolbar's row.
constexpr float kFilterWidth = 2400, kFilterHeight = 300, kFilterTop = 30, kFilterMargin = 60;
// The least room the toolbar's buttons keep at its left.
constexpr float kToolbarButtonsWidth = 1500;

// Keys, as virtual-key codes, and the Shift argument's bits.
constexpr int kKeyTab = 0x09, kKeyReturn = 0x0D, kKeyEscape = 0x1B, kKeyDown = 0x28,
              kKeyDelete = 0x2E, kKeyC = 0x43, kKeyF = 0x46, kKeyApps = 0x5D, kKeyF5 = 0x74,
              kKeyF10 = 0x79;
constexpr int kShiftKey = 1, kCtrlKey = 2;

// The properties page: a caption and a display field a row, at these tops inside the frame.
constexpr const wchar_t* kPropertyCaptions[11] = {
    L"Name:",    L"Path:",         L"Type:",      L"Title:",             L"Product Name:",
    L"Description:", L"Version:",  L"Company Name:", L"Copyright:", L"File Description:",
    L"File Name:"};
constexpr float kLabelTops[11] = {270, 630, 1005, 1365, 1725, 2085, 2460, 2820, 3180, 3540, 3915};
constexpr float kLabelLeft = 180, kLabelWidth = 1635, kLabelHeight = 240;
constexpr float kBoxLeft = 1485, kBoxWidth = 3660, kBoxHeight = 330, kBoxFirstTop = 225,
                kBoxPitch = 360;

// The cells the document reads back from a row, whether their columns show or not.
const int kPathColumn = ListColumn(L"Path");
const int kVersionColumn = ListColumn(L"Version");
constexpr wchar_t kCustomizeButton[] = L"Customize";

}  // namespace

Skeldra::Skeldra(const SkeldraControls& controls, ProjectLists& lists, MsgBox& msgBox,
                 Shell& shell, Clipboard& clipboard)
    : c_(controls), lists_(lists), msgBox_(msgBox), shell_(shell), clipboard_(clipboard) {
  Design();
  BindEvents();
}

std::array<TextBox*, 11> Skeldra::PropertyBoxes() const {
  return {&c_.txtName,    &c_.txtPath,    &c_.txtType,    &c_.txtTitle,
          &c_.txtProduct, &c_.txtDescription, &c_.txtVersion, &c_.txtCompany,
          &c_.txtCopy,    &c_.txtFileDesc, &c_.txtEXEName};
}

void Skeldra::Design() {
  c_.Toolbar1.AddButton(L"Open", L"Open selected Project", L"Open", false);
  c_.Toolbar1.AddButton(L"Properties", L"View Properties of selected Project", L"Properties", false);
  c_.Toolbar1.AddButton(kCustomizeButton, L"Customize view", L"custom", true);
  c_.Toolbar1.AddButton(L"About", L"About program", L"about", false);

  for (const wchar_t* caption : {L"Recent", L"Favorites", L"Properties"}) c_.TabStrip1.AddTab(caption);

  for (ListView* list : {&c_.lvwRecent, &c_.lvwFavor})
    for (const ListField& f : kListFields) list->AddColumn(f.key, f.key, f.designWidth);
  c_.lvwCustomize.AddColumn(L"Show/Hide Field", L"Show/Hide Field", 3000);

  const auto boxes = PropertyBoxes();
  for (int i = 0; i < 11; ++i) {
    c_.lblProps[i]->Caption(kPropertyCaptions[i]);
    c_.lblProps[i]->Move(kLabelLeft, kLabelTops[i], kLabelWidth, kLabelHeight);
    boxes[i]->Move(kBoxLeft, kBoxFirstTop + kBoxPitch * i, kBoxWidth, kBoxHeight);
  }

  // The recent page shows first; the others wait for their tab or button.
  c_.lvwFavor.Visible(false);
  c_.fraProps.Visible(false);
  c_.lvwCustomize.Visible(false);
  c_.UserDocument.MinWidth(kMinWidth);
  c_.UserDocument.MinHeight(kMinHeight);

  mnuPopRecent_ = Menu{L"mnuPopRecent",
                       {{L"mnuPopRecent_Add", L"Add to Favorites", [this] { mnuPopRecent_Add_Click(); }},
                        {L"mnuPopRecent_Open", L"Open Project", [this] { mnuPopRecent_Open_Click(); }},
                        {L"mnuPopRecent_Prop", L"Properties", [this] { mnuPopRecent_Prop_Click(); }},
                        {L"mnuPopRecent_CopyPath", L"Copy Path", [this] { mnuPopRecent_CopyPath_Click(); }},
                        {L"mnuPopRecent_Reveal", L"Open Containing Folder",
                         [this] { mnuPopRecent_Reveal_Click(); }}}};
  mnuPopFavor_ = Menu{L"mnuPopFavor",
                      {{L"mnuPopFavor_Delete", L"Remove", [this] { mnuPopFavor_Delete_Click(); }},
                       {L"mnuPopFavor_Open", L"Open", [this] { mnuPopFavor_Open_Click(); }},
                       {L"mnuPopFavor_Prop", L"Properties", [this] { mnuPopFavor_Prop_Click(); }},
                       {L"mnuPopFavor_CopyPath", L"Copy Path", [this] { mnuPopFavor_CopyPath_Click(); }},
                       {L"mnuPopFavor_Reveal", L"Open Containing Folder",
                        [this] { mnuPopFavor_Reveal_Click(); }}}};
  c_.txtFilter.CueBanner(L"Filter");
}

void Skeldra::BindEvents() {
  c_.TabStrip1.events.Click = [this] { Guard([&] { TabStrip1_Click(); }); };
  c_.Toolbar1.events.ButtonClick = [this](const ToolbarButton& b) {
    Guard([&] { Toolbar1_ButtonClick(b); });
  };
  c_.lvwCustomize.events.ItemCheck = [this](ListItem& item) {
    Guard([&] { lvwCustomize_ItemCheck(item); });
  };
  c_.lvwRecent.events.ColumnClick = [this](ColumnHeader& h) { Guard([&] { lvwRecent_ColumnClick(h); }); };
  c_.lvwFavor.events.ColumnClick = [this](ColumnHeader& h) { Guard([&] { lvwFavor_ColumnClick(h); }); };
  c_.lvwRecent.events.DblClick = [this] { Guard([&] { lvwRecent_DblClick(); }); };
  c_.lvwFavor.events.DblClick = [this] { Guard([&] { lvwFavor_DblClick(); }); };
  c_.lvwRecent.events.MouseDown = [this](int button, int shift, float x, float y) {
    Guard([&] { lvwRecent_MouseDown(button, shift, x, y); });
  };
  c_.lvwFavor.events.MouseDown = [this](int button, int shift, float x, float y) {
    Guard([&] { lvwFavor_MouseDown(button, shift, x, y); });
  };
  c_.txtFilter.events.Change = [this] { Guard([&] { txtFilter_Change(); }); };
}

template <typename Handler>
void Skeldra::Guard(Handler&& handler) noexcept {
  Reporting(msgBox_, MsgBox::kCritical, kAppTitle, std::forward<Handler>(handler));
}

// ---- The public interface -----------------------------------------------------------------

void Skeldra::View() {
  if (IsHostBusy(Host())) return;
  c_.App.DoEvents();

  // The field list in display order, each field with its default check and its place as tag.
  std::array<const ListField*, 9> byPosition;
  for (int i = 0; i < 9; ++i) byPosition[i] = &kListFields[i];
  std::sort(byPosition.begin(), byPosition.end(),
            [](const ListField* a, const ListField* b) { return a->position < b->position; });
  c_.lvwCustomize.ClearItems();
  for (const ListField* f : byPosition) {
    ListItem& row = c_.lvwCustomize.AddItem(f->key, f->key, L"");
    row.Checked(f->shown);
    row.Tag(c_.lvwCustomize.ItemCount());
  }

  c_.TabStrip1.TabIndex(1);
  TabStrip1_Click();

  // Placing the columns one at a time in row order leaves the display order equal to it.
  for (int i = 1; i <= c_.lvwCustomize.ItemCount(); ++i) {
    ListItem& row = c_.lvwCustomize.Item(i);
    for (ListView* list : {&c_.lvwRecent, &c_.lvwFavor}) list->Column(row.Text()).Position(row.Tag());
    if (row.Text() == kNumberColumn)
      SetColumnWidth(row.Text(), kNumberWidth);
    else
      SetColumnWidth(row.Text(), row.Checked() ? kShownWidth : 0);
  }
}

void Skeldra::OpenProject() {
  CommonDialog& dialog = c_.CommonDialog1;
  dialog.CancelError(false);
  dialog.DialogTitle(L"Select VB Project file");
  dialog.Filter(L"Visual Basic Project; *.vbp|*.vbp");
  dialog.FilterIndex(1);
  dialog.InitDir(c_.App.Path());
  dialog.Flags(0x1000 | 0x800);  // the file and its path must exist
  dialog.ShowOpen();
  if (dialog.FileName().empty()) return;
  Host().VBProjects()->AddFromFile(dialog.FileName(), true);
}

void Skeldra::RemoveProject() {
  if (!Host().ActiveVBProject()) return;
  if (auto project = Host().ActiveVBProject()) Host().VBProjects()->Remove(*project);
}

// ---- The container's events ---------------------------------------------------------------

void Skeldra::UserDocument_Initialize() {
  // The lists start unsorted, by "N" descending: the first click on any header, "N" included,
  // then sorts its column ascending.
  Silently([&] { c_.lvwRecent.SortOrder(1); });
  Silently([&] { c_.lvwFavor.SortOrder(1); });
  UserDocument_Resize();
}

void Skeldra::UserDocument_Show() {
  c_.UserDocument.MinWidth(kMinWidth);
  c_.UserDocument.MinHeight(kMinHeight);
  UserDocument_Resize();
}

void Skeldra::UserDocument_Resize() {
  // Smaller than the minimum, the document is laid out at the minimum and reaches beyond
  // the window.
  float width = kMinWidth, height = kMinHeight;
  Silently([&] { width = std::max(c_.UserDocument.ScaleWidth(), c_.UserDocument.MinWidth()); });
  Silently([&] { height = std::max(c_.UserDocument.ScaleHeight(), c_.UserDocument.MinHeight()); });
  Silently([&] { c_.Toolbar1.Move(0, 0, width); });
  PlaceFilter(width);
  Silently([&] { c_.TabStrip1.Move(0, kToolbarHeight, width, height - kToolbarHeight); });

  float left = 0, top = 0, clientWidth = 0, clientHeight = 0;
  bool haveClient = false;
  Silently([&] {
    left = c_.TabStrip1.ClientLeft();
    top = c_.TabStrip1.ClientTop();
    clientWidth = c_.TabStrip1.ClientWidth();
    clientHeight = c_.TabStrip1.ClientHeight();
    haveClient = true;
  });
  if (!haveClient) return;
  for (Control* page : std::initializer_list<Control*>{&c_.lvwRecent, &c_.lvwFavor, &c_.fraProps,
                                                       &c_.lvwCustomize})
    Silently([&] { page->Move(left, top, clientWidth, clientHeight); });
}

// The filter box lies over the toolbar's right end, clear of its buttons; the tab strip and the
// pages keep their places.
void Skeldra::PlaceFilter(float width) {
  const float boxWidth = std::clamp(width - kToolbarButtonsWidth - kFilterMargin, 0.f, kFilterWidth);
  Silently([&] {
    c_.txtFilter.Move(width - boxWidth - kFilterMargin, kFilterTop, boxWidth, kFilterHeight);
  });
  Silently([&] { c_.txtFilter.ZOrder(0); });
}

void Skeldra::UserDocument_Terminate() { lists_.Release(); }

// ---- Tabs and the properties page ---------------------------------------------------------

void Skeldra::TabStrip1_Click() {
  c_.Toolbar1.ButtonValue(kCustomizeButton, 0);
  c_.lvwCustomize.Visible(false);

  switch (c_.TabStrip1.SelectedIndex()) {
    case kRecentTab:
      Load(c_.lvwRecent);
      c_.lvwFavor.Visible(false);
      c_.lvwRecent.Visible(true);
      c_.lvwRecent.ZOrder(0);
      c_.fraProps.Visible(false);
      break;
    case kFavoritesTab:
      Load(c_.lvwFavor);
      c_.lvwFavor.Visible(true);
      c_.lvwRecent.Visible(false);
      c_.lvwFavor.ZOrder(0);
      c_.fraProps.Visible(false);
      break;
    default:
      ShowProperties();
      break;
  }
}

void Skeldra::ShowProperties() {
  const auto boxes = PropertyBoxes();
  for (TextBox* box : boxes) box->Text(L"");
  c_.fraProps.Caption(L"");

  // The list that was showing as the tab changed is the one whose selection is meant.
  const bool fromRecent = c_.lvwRecent.Visible();
  ListView& list = fromRecent ? c_.lvwRecent : c_.lvwFavor;
  const auto& projects = fromRecent ? lists_.RecentProjects() : lists_.FavoriteProjects();
  const ListItem* row = list.SelectedItem();
  const cProject* project =
      row && row->SmallIcon() == kFileExists && projects ? projects->Item(row->Text()) : nullptr;
  if (project) {
    c_.txtName.Text(project->Name());
    c_.txtPath.Text(row->SubItems(kPathColumn));
    c_.txtType.Text(project->TypeFreindlyName());
    c_.txtTitle.Text(project->Title());
    c_.txtProduct.Text(project->VersionProductName());
    c_.txtDescription.Text(project->Description());
    c_.txtVersion.Text(row->SubItems(kVersionColumn));
    c_.txtCompany.Text(project->VersionCompanyName());
    c_.txtCopy.Text(project->VersionLegalCopyright());
    c_.txtFileDesc.Text(project->VersionFileDescription());
    c_.txtEXEName.Text(project->ExeName());
    c_.fraProps.Caption(project->Name());
  }

  c_.lvwFavor.Visible(false);
  c_.lvwRecent.Visible(false);
  c_.fraProps.ZOrder(0);
  c_.fraProps.Visible(true);
}

// ---- Columns and the customize page -------------------------------------------------------

void Skeldra::SetColumnWidth(std::wstring_view key, float width) {
  c_.lvwRecent.Column(key).Width(width);
  c_.lvwFavor.Column(key).Width(width);
}

void Skeldra::ShowFieldList(ListView& list) {
  c_.lvwCustomize.ClearItems();
  for (int i = 1; i <= list.ColumnCount(); ++i) {
    ColumnHeader& header = list.Column(i);
    ListItem& row = c_.lvwCustomize.AddItem(header.Text(), header.Text(), L"");
    row.Tag(header.Position());
    row.Checked(header.Width() != 0);
  }
  c_.lvwCustomize.Move(list.Left(), list.Top(), list.Width(), list.Height());
  c_.lvwCustomize.ZOrder(0);
  c_.lvwCustomize.Visible(true);
}

void Skeldra::lvwCustomize_ItemCheck(ListItem& item) {
  // The number column always shows.
  if (item.Text() == kNumberColumn) return;
  SetColumnWidth(item.Text(), item.Checked() ? kShownWidth : 0);
}

// ---- The lists ----------------------------------------------------------------------------

void Skeldra::SortByColumn(ListView& list, ColumnHeader& header) {
  const int previous = list.SortKey();
  const int key = header.Index() - 1;
  list.SortKey(key);
  if (previous != key)
    list.SortOrder(0);
  else
    list.SortOrder(list.SortOrder() == 0 ? 1 : 0);
  list.Sorted(true);
}

void Skeldra::lvwRecent_ColumnClick(ColumnHeader& header) { SortByColumn(c_.lvwRecent, header); }
void Skeldra::lvwFavor_ColumnClick(ColumnHeader& header) { SortByColumn(c_.lvwFavor, header); }

void Skeldra::OpenSelected(ListView& list) {
  const ListItem* row = list.SelectedItem();
  if (!row || row->SmallIcon() == kFileMissing) return;
  const std::wstring path = row->SubItems(kPathColumn);
  Host().VBProjects()->AddFromFile(path, true);
}

void Skeldra::lvwRecent_DblClick() { OpenSelected(c_.lvwRecent); }
void Skeldra::lvwFavor_DblClick() { OpenSelected(c_.lvwFavor); }

void Skeldra::PressList(ListView& list, const Menu& menu, int button, float x, float y) {
  ListItem* row = list.HitTest(x, y);
  if (!row) return;
  list.SelectedItem(row);
  list.DropHighlight(list.SelectedItem());
  if (button == kRightButton) c_.UserDocument.PopupMenu(menu, kPopupRightButton);
}

void Skeldra::lvwRecent_MouseDown(int button, int, float x, float y) {
  PressList(c_.lvwRecent, mnuPopRecent_, button, x, y);
}
void Skeldra::lvwFavor_MouseDown(int button, int, float x, float y) {
  PressList(c_.lvwFavor, mnuPopFavor_, button, x, y);
}

// ---- The pop-up menus ---------------------------------------------------------------------

void Skeldra::mnuPopRecent_Add_Click() {
  std::wstring path;
  try {
    const ListItem* row = c_.lvwRecent.SelectedItem();
    if (!row || row->SmallIcon() == kFileMissing) return;
    path = row->SubItems(kPathColumn);
  } catch (...) {
    return;  // no row to add
  }
  Silently([&] {
    if (!lists_.FavoriteProjects()) Load(c_.lvwFavor);
  });
  // The favourites as read, whether the filter shows them or not.
  const bool listed = std::any_of(favorRows_.begin(), favorRows_.end(),
                                  [&](const ListRow& r) { return r.cells[kPathColumn] == path; });
  if (listed) return;
  Silently([&] { lists_.AddFavorite(path); });
}

void Skeldra::mnuPopRecent_Open_Click() { lvwRecent_DblClick(); }
void Skeldra::mnuPopRecent_Prop_Click() { c_.TabStrip1.SelectTab(kPropertiesTab); }

void Skeldra::mnuPopFavor_Delete_Click() {
  const ListItem* row = c_.lvwFavor.SelectedItem();
  if (!row) return;
  lists_.RemoveFavorite(row->Text());
  Load(c_.lvwFavor);
}

void Skeldra::mnuPopFavor_Open_Click() { lvwFavor_DblClick(); }
void Skeldra::mnuPopFavor_Prop_Click() { c_.TabStrip1.SelectTab(kPropertiesTab); }

// ---- The toolbar --------------------------------------------------------------------------

void Skeldra::Toolbar1_ButtonClick(const ToolbarButton& button) {
  if (button.Key == L"About") {
    Silently([&] { c_.frmAbout.ShowModal(); });
  } else if (button.Key == kCustomizeButton) {
    Silently([&] {
      if (button.Value == 1)
        ShowFieldList(c_.lvwRecent.Visible() ? c_.lvwRecent : c_.lvwFavor);
      else
        c_.lvwCustomize.Visible(false);
    });
  } else if (button.Key == L"Open") {
    Silently([&] { lvwRecent_DblClick(); });
  } else if (button.Key == L"Properties") {
    Silently([&] { c_.lvwCustomize.Visible(false); });
    Silently([&] { c_.Toolbar1.ButtonValue(kCustomizeButton, 0); });
    Silently([&] { c_.TabStrip1.SelectTab(kPropertiesTab); });
  }
}

// ---- Lists through the filter -------------------------------------------------------------

void Skeldra::Load(ListView& list) {
  RowsOf(list) = LoadProjectList(lists_, c_.App, list, &list == &c_.lvwFavor, filter_);
}

std::vector<ListRow>& Skeldra::RowsOf(const ListView& list) {
  return &list == &c_.lvwFavor ? favorRows_ : recentRows_;
}

ListView* Skeldra::ShownList() {
  if (c_.lvwRecent.Visible()) return &c_.lvwRecent;
  if (c_.lvwFavor.Visible()) return &c_.lvwFavor;
  return nullptr;
}

// The filter narrows the list that shows; the other follows when its tab shows, as it is read
// again then. The registry is never touched.
void Skeldra::txtFilter_Change() {
  filter_ = c_.txtFilter.Text();
  if (ListView* list = ShownList()) ShowRows(*list, RowsOf(*list), filter_);
}

// ---- Copy Path and Open Containing Folder -------------------------------------------------

void Skeldra::CopyPath(ListView& list) {
  if (const ListItem* row = list.SelectedItem()) clipboard_.PutText(row->SubItems(kPathColumn));
}

void Skeldra::Reveal(ListView& list) {
  if (const ListItem* row = list.SelectedItem()) shell_.ShowInFolder(row->SubItems(kPathColumn), nullptr);
}

void Skeldra::mnuPopRecent_CopyPath_Click() { CopyPath(c_.lvwRecent); }
void Skeldra::mnuPopRecent_Reveal_Click() { Reveal(c_.lvwRecent); }
void Skeldra::mnuPopFavor_CopyPath_Click() { CopyPath(c_.lvwFavor); }
void Skeldra::mnuPopFavor_Reveal_Click() { Reveal(c_.lvwFavor); }

// ---- Keys ---------------------------------------------------------------------------------

bool Skeldra::UserDocument_KeyDown(int keyCode, int shift) {
  const Control* focus = nullptr;
  Silently([&] { focus = c_.UserDocument.ActiveControl(); });
  ListView* list = focus == &c_.lvwRecent ? &c_.lvwRecent
                   : focus == &c_.lvwFavor ? &c_.lvwFavor
                                           : nullptr;
  // Ctrl+F finds the filter box from anywhere in the document; the other keys are the lists'.
  if (shift == kCtrlKey && keyCode == kKeyF) {
    Guard([&] { c_.txtFilter.SetFocus(); });
    return true;
  }
  if (!list && focus != &c_.txtFilter) return false;

  // Tab and Shift+Tab move between the controls, and every other key the lists and the box
  // handle themselves.
  const bool ctrl = shift == kCtrlKey, plain = shift == 0;
  const bool taken =
      (plain && (keyCode == kKeyReturn || keyCode == kKeyF5 || keyCode == kKeyApps)) ||
      (plain && list && keyCode == kKeyDelete) ||
      (plain && !list && (keyCode == kKeyEscape || keyCode == kKeyDown)) ||
      (ctrl && keyCode == kKeyC) ||
      ((shift & ~kShiftKey) == kCtrlKey && keyCode == kKeyTab) ||
      (shift == kShiftKey && keyCode == kKeyF10);
  if (taken) Guard([&] { ListKey(list, keyCode, shift); });
  return taken;
}

void Skeldra::ListKey(ListView* focused, int keyCode, int shift) {
  ListView* shown = focused ? focused : ShownList();
  switch (keyCode) {
    case kKeyReturn:
      if (shown) OpenSelected(*shown);
      break;
    case kKeyDelete:
      // The recent list is the IDE's own: the key does nothing there.
      if (shown == &c_.lvwFavor) mnuPopFavor_Delete_Click();
      break;
    case kKeyF5:
      if (shown) Load(*shown);
      break;
    case kKeyC:
      if (shown) CopyPath(*shown);
      break;
    case kKeyTab: {
      const int count = c_.TabStrip1.TabCount(), now = c_.TabStrip1.SelectedIndex();
      c_.TabStrip1.SelectTab((shift & kShiftKey) ? (now + count - 2) % count + 1 : now % count + 1);
      // The focus follows from one list to the other, so the keys go on working there.
      if (ListView* next = ShownList(); next && focused) next->SetFocus();
      break;
    }
    case kKeyEscape:
      c_.txtFilter.Text(L"");
      break;
    case kKeyDown:
      if (!shown) break;
      shown->SetFocus();
      if (!shown->SelectedItem() && shown->ItemCount() > 0) shown->SelectedItem(&shown->Item(1));
      break;
    default: {  // the pop-up menu, at the selected row
      ListItem* row = shown ? shown->SelectedItem() : nullptr;
      if (!row) break;
      const Menu& menu = shown == &c_.lvwFavor ? mnuPopFavor_ : mnuPopRecent_;
      c_.UserDocument.PopupMenu(menu, kPopupRightButton, shown->Left() + kNumberWidth / 2,
                                shown->Top() + row->Top() + kLabelHeight);
      break;
    }
  }
}

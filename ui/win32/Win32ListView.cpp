#include "ui/win32/Win32ListView.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/Boundary.h"
#include "ui/ListSort.h"
#include "ui/win32/Win32Images.h"

namespace {

// Posted to the control by HoldRedraw.
UINT ResumeRedrawMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Marrowby.ListView.ResumeRedraw");
  return message;
}

UINT StateImage(UINT state) { return (state & LVIS_STATEIMAGEMASK) >> 12; }
constexpr UINT kUnchecked = 1, kChecked = 2;  // the check boxes' state images

// The space a report view leaves beside a cell's text, as its LVSCW_AUTOSIZE adds to the widest
// text: a text this much narrower than its cell's label is shown whole.
constexpr int kLabelMargins = 12;

// The host language's Shift argument of a mouse event, from a mouse message's key flags.
int ShiftOf(WPARAM keys) {
  int shift = 0;
  if (keys & MK_SHIFT) shift |= 1;
  if (keys & MK_CONTROL) shift |= 2;
  if (::GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

}  // namespace

class Win32ListView::FromCode {
 public:
  explicit FromCode(Win32ListView& list) : list_(list) { ++list_.fromCode_; }
  ~FromCode() { --list_.fromCode_; }
  FromCode(const FromCode&) = delete;
  FromCode& operator=(const FromCode&) = delete;

 private:
  Win32ListView& list_;
};

// ---------------------------------------------------------------------------------------------
// Rows

class Win32ListView::Row final : public ListItem {
 public:
  Row(Win32ListView& owner, std::uint64_t sequence, std::wstring key, std::wstring text,
      std::wstring smallIcon)
      : owner_(owner), sequence_(sequence), key_(std::move(key)), text_(std::move(text)),
        smallIcon_(std::move(smallIcon)) {}

  const std::wstring& Key() const override { return key_; }
  const std::wstring& Text() const override { return text_; }
  void Text(std::wstring text) override {
    text_ = std::move(text);
    owner_.CellChanged(0);
  }
  const std::wstring& SubItems(int index) const override {
    static const std::wstring kNeverSet;
    if (index < 1) ThrowOutOfBounds(L"SubItems");
    const auto slot = static_cast<std::size_t>(index - 1);
    return slot < subItems_.size() ? subItems_[slot] : kNeverSet;
  }
  void SubItems(int index, std::wstring text) override {
    if (index < 1) ThrowOutOfBounds(L"SubItems");
    const auto slot = static_cast<std::size_t>(index - 1);
    if (slot >= subItems_.size()) subItems_.resize(slot + 1);
    subItems_[slot] = std::move(text);
    owner_.CellChanged(index);
  }
  const std::wstring& SmallIcon() const override { return smallIcon_; }

  bool Checked() const override {
    if (!owner_.checkBoxes_) return checked_;
    const int place = owner_.PlaceOf(*this);
    return place >= 0 &&
           StateImage(ListView_GetItemState(owner_.hwnd_, place, LVIS_STATEIMAGEMASK)) == kChecked;
  }
  void Checked(bool checked) override {
    checked_ = checked;
    if (!owner_.checkBoxes_) return;
    const int place = owner_.PlaceOf(*this);
    if (place < 0) return;
    FromCode quiet(owner_);
    ListView_SetItemState(owner_.hwnd_, place, INDEXTOSTATEIMAGEMASK(checked ? kChecked : kUnchecked),
                          LVIS_STATEIMAGEMASK);
  }
  int Tag() const override { return tag_; }
  void Tag(int tag) override { tag_ = tag; }
  float Top() const override {
    RECT band{};
    const int place = owner_.PlaceOf(*this);
    if (place < 0 || !ListView_GetItemRect(owner_.hwnd_, place, &band, LVIR_BOUNDS)) return 0;
    return owner_.twips().FromPixelsY(band.top);
  }

  const Win32ListView& Owner() const { return owner_; }
  std::uint64_t Sequence() const { return sequence_; }
  // Where the row was last found in the control, and how many sorts the list had made then:
  // rows are only ever added at the end, so only a later sort can have moved it.
  int PlaceHint() const { return placeHint_; }
  std::uint64_t SortsAtHint() const { return sortsAtHint_; }
  void PlaceHint(int place, std::uint64_t sorts) const {
    placeHint_ = place;
    sortsAtHint_ = sorts;
  }
  // The text of a column, as the list sorts and shows it: column 0 is the row's own text.
  const std::wstring& CellText(int column) const noexcept {
    static const std::wstring kNeverSet;
    if (column == 0) return text_;
    const auto slot = static_cast<std::size_t>(column - 1);
    return column > 0 && slot < subItems_.size() ? subItems_[slot] : kNeverSet;
  }

 private:
  Win32ListView& owner_;
  std::uint64_t sequence_;  // insertion order
  std::wstring key_, text_, smallIcon_;
  std::vector<std::wstring> subItems_;  // sub-item i at i - 1
  bool checked_ = false;                // where the control shows no check boxes
  int tag_ = 0;
  mutable int placeHint_ = -1;
  mutable std::uint64_t sortsAtHint_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Column headers

class Win32ListView::Header final : public ColumnHeader {
 public:
  Header(Win32ListView& owner, int index, std::wstring key, std::wstring text)
      : owner_(owner), index_(index), key_(std::move(key)), text_(std::move(text)) {}

  int Index() const override { return index_; }
  const std::wstring& Key() const override { return key_; }
  const std::wstring& Text() const override { return text_; }

  int Position() const override {
    const std::vector<int> order = Order();
    const auto it = std::find(order.begin(), order.end(), index_ - 1);
    return static_cast<int>(it - order.begin()) + 1;
  }
  void Position(int position) override {
    std::vector<int> order = Order();
    order.erase(std::find(order.begin(), order.end(), index_ - 1));
    const int place = std::clamp(position, 1, static_cast<int>(order.size()) + 1);
    order.insert(order.begin() + (place - 1), index_ - 1);
    ListView_SetColumnOrderArray(owner_.hwnd_, static_cast<int>(order.size()), order.data());
  }

  // The twips last given are kept while the column keeps their pixels; a width the user
  // dragged reads back from its pixels.
  float Width() const override {
    const int pixels = ListView_GetColumnWidth(owner_.hwnd_, index_ - 1);
    return pixels == givenPixels_ ? givenTwips_ : owner_.twips().FromPixelsX(pixels);
  }
  void Width(float width) override {
    if (width < 0) ThrowInvalidValue(L"Width");
    ListView_SetColumnWidth(owner_.hwnd_, index_ - 1, owner_.twips().ToPixelsX(width));
    givenTwips_ = width;
    givenPixels_ = ListView_GetColumnWidth(owner_.hwnd_, index_ - 1);
  }

 private:
  // The creation indices (0-based) in display order.
  std::vector<int> Order() const {
    std::vector<int> order(owner_.columns_.size());
    ListView_GetColumnOrderArray(owner_.hwnd_, static_cast<int>(order.size()), order.data());
    return order;
  }

  Win32ListView& owner_;
  int index_;  // creation order, 1-based: also the control's column and the row's sub-item
  std::wstring key_, text_;
  float givenTwips_ = 0;
  int givenPixels_ = -1;
};

// ---------------------------------------------------------------------------------------------
// The list view

Win32ListView::Win32ListView(HWND parent, int id, const Twips& twips,
                             const DrawnImages* smallIcons, bool checkBoxes,
                             std::wstring greyIcon)
    : Win32Control(CreateChild(WS_EX_CLIENTEDGE, WC_LISTVIEWW,
                               WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT |
                                   LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS,
                               parent, id),
                   twips),
      smallIcons_(smallIcons),
      checkBoxes_(checkBoxes),
      greyIcon_(std::move(greyIcon)) {
  DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
  if (checkBoxes_) extended |= LVS_EX_CHECKBOXES;
  ListView_SetExtendedListViewStyle(hwnd_, extended);
  if (smallIcons_) ListView_SetImageList(hwnd_, smallIcons_->Handle(), LVSIL_SMALL);
  // A window procedure of its own in front of the control's, rather than SetWindowSubclass:
  // under Wine each message through a SetWindowSubclass chain cost about 75 us (the chain is kept
  // in a window property, which Wine fetches from its server), and filling the list sends a
  // dozen messages a row.
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  controlProc_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ListView::Proc)));
}

Win32ListView::~Win32ListView() {
  if (::IsWindow(hwnd_) &&
      ::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Win32ListView::Proc))
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
  if (::IsWindow(hwnd_)) ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

LRESULT CALLBACK Win32ListView::Proc(HWND hwnd, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept {
  auto* list = reinterpret_cast<Win32ListView*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!list) {
    // Our object has gone while the window stays: the control's own class handles it.
    const auto control = reinterpret_cast<WNDPROC>(::GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    return ::CallWindowProcW(control, hwnd, message, wParam, lParam);
  }
  const WNDPROC control = list->controlProc_;
  if (message == ResumeRedrawMessage()) {
    list->ResumeRedraw();
    return 0;
  }
  int button = 0;
  switch (message) {
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
      list->ResumeRedraw();
      return ::CallWindowProcW(control, hwnd, message, wParam, lParam);
    case WM_LBUTTONDOWN: button = 1; break;
    case WM_RBUTTONDOWN: button = 2; break;
    case WM_MBUTTONDOWN: button = 4; break;
    default: return ::CallWindowProcW(control, hwnd, message, wParam, lParam);
  }
  // The host language raises MouseDown after the control has handled the press, so the row
  // under the pointer is already focused and selected; a pop-up menu shown from the event then
  // opens after the control's own tracking of the press has ended.
  const LRESULT result = ::CallWindowProcW(control, hwnd, message, wParam, lParam);
  // The event's handler reports its own failures; nothing may leave a window procedure.
  Silently([&] {
    if (::IsWindow(hwnd) && list->events.MouseDown)
      list->events.MouseDown(button, ShiftOf(wParam),
                             list->twips().FromPixelsX(GET_X_LPARAM(lParam)),
                             list->twips().FromPixelsY(GET_Y_LPARAM(lParam)));
  });
  return result;
}

void Win32ListView::HoldRedraw() {
  if (redrawHeld_) return;
  visibleWhenHeld_ = Win32Control::Visible();
  // Without the message to resume, the list would stay undrawn: then it is drawn as it changes.
  if (!::PostMessageW(hwnd_, ResumeRedrawMessage(), 0, 0)) return;
  ::SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  redrawHeld_ = true;
}

void Win32ListView::ResumeRedraw() {
  if (!redrawHeld_) return;
  redrawHeld_ = false;
  ::SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
  // DefWindowProc answers WM_SETREDRAW by clearing and setting WS_VISIBLE: should the control
  // pass the message on, the style is put back as it was.
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  if (((style & WS_VISIBLE) != 0) != visibleWhenHeld_)
    ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style ^ WS_VISIBLE);
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool Win32ListView::Visible() const {
  return redrawHeld_ ? visibleWhenHeld_ : Win32Control::Visible();
}

void Win32ListView::Visible(bool visible) {
  if (redrawHeld_ && visible == visibleWhenHeld_) return;  // as it is: the drawing stays held
  ResumeRedraw();
  Win32Control::Visible(visible);
}

ColumnHeader& Win32ListView::AddColumn(std::wstring key, std::wstring text, float width) {
  if (width < 0) ThrowInvalidValue(L"ColumnHeaders.Add");
  if (!key.empty()) {
    for (auto& column : columns_)
      if (column->Key() == key) ThrowKeyNotUnique(L"ColumnHeaders.Add");
  }
  const int index = ColumnCount() + 1;
  auto header = std::make_unique<Header>(*this, index, std::move(key), std::move(text));
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
  column.fmt = LVCFMT_LEFT;
  column.cx = twips().ToPixelsX(width);
  column.pszText = const_cast<wchar_t*>(header->Text().c_str());
  column.iSubItem = index - 1;
  if (ListView_InsertColumn(hwnd_, index - 1, &column) < 0) ThrowOutOfMemory(L"ColumnHeaders.Add");
  columns_.push_back(std::move(header));
  columns_.back()->Width(width);
  ShowSortArrow();  // the sort's key may be the new column
  return *columns_.back();
}

ColumnHeader& Win32ListView::Column(int index) {
  if (index < 1 || index > ColumnCount()) ThrowOutOfBounds(L"ColumnHeaders");
  return *columns_[static_cast<std::size_t>(index - 1)];
}

ColumnHeader& Win32ListView::Column(std::wstring_view key) {
  for (auto& column : columns_)
    if (column->Key() == key) return *column;
  ThrowNotFound(L"ColumnHeaders");
}

void Win32ListView::ClearItems() {
  HoldRedraw();
  {
    FromCode quiet(*this);
    ListView_DeleteAllItems(hwnd_);
  }
  rows_.clear();
  keys_.clear();
}

ListItem& Win32ListView::AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) {
  if (!key.empty() && keys_.count(key)) ThrowKeyNotUnique(L"ListItems.Add");
  auto row = std::make_unique<Row>(*this, nextSequence_++, std::move(key), std::move(text),
                                   std::move(smallIcon));
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = ItemCount();
  item.pszText = LPSTR_TEXTCALLBACKW;  // every cell's text is asked of the row when shown
  item.lParam = reinterpret_cast<LPARAM>(row.get());
  if (smallIcons_) {
    item.mask |= LVIF_IMAGE;
    const int image = smallIcons_->IndexOf(row->SmallIcon());
    item.iImage = image >= 0 ? image : I_IMAGENONE;
  }
  if (checkBoxes_) {
    item.mask |= LVIF_STATE;
    item.state = INDEXTOSTATEIMAGEMASK(kUnchecked);
    item.stateMask = LVIS_STATEIMAGEMASK;
  }
  HoldRedraw();
  {
    FromCode quiet(*this);
    const int place = ListView_InsertItem(hwnd_, &item);
    if (place < 0) ThrowOutOfMemory(L"ListItems.Add");
    row->PlaceHint(place, sorts_);
  }
  if (!row->Key().empty()) keys_.insert(row->Key());
  rows_.push_back(std::move(row));
  if (sorted_) Sort();
  return *rows_.back();
}

ListItem& Win32ListView::Item(int index) {
  if (index < 1 || index > ItemCount()) ThrowOutOfBounds(L"ListItems");
  return *RowAt(index - 1);
}

Win32ListView::Row* Win32ListView::RowAt(int place) const {
  if (place < 0) return nullptr;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = place;
  if (!ListView_GetItem(hwnd_, &item)) return nullptr;
  return reinterpret_cast<Row*>(item.lParam);
}

int Win32ListView::PlaceOf(const Row& row) const {
  // A row stays where it was last found until the list sorts; after a sort one look there
  // still often spares a search through every row.
  if (row.PlaceHint() >= 0 && (row.SortsAtHint() == sorts_ || RowAt(row.PlaceHint()) == &row))
    return row.PlaceHint();
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = reinterpret_cast<LPARAM>(&row);
  const int place = ListView_FindItem(hwnd_, -1, &find);
  row.PlaceHint(place, sorts_);
  return place;
}

Win32ListView::Row* Win32ListView::Own(const ListItem* item) const {
  if (!item) return nullptr;
  const auto* row = dynamic_cast<const Row*>(item);
  if (!row || &row->Owner() != this) ThrowNotFound(L"ListItems");
  return const_cast<Row*>(row);
}

ListItem* Win32ListView::SelectedItem() {
  return RowAt(ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED));
}

ListItem* Win32ListView::DropHighlight() {
  return RowAt(ListView_GetNextItem(hwnd_, -1, LVNI_DROPHILITED));
}

void Win32ListView::SelectedItem(ListItem* item) {
  const Row* row = Own(item);
  if (!row) {
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
    return;
  }
  const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
  ListView_SetItemState(hwnd_, PlaceOf(*row), state, state);
}

void Win32ListView::DropHighlight(ListItem* item) {
  const Row* row = Own(item);
  ListView_SetItemState(hwnd_, -1, 0, LVIS_DROPHILITED);
  if (row) ListView_SetItemState(hwnd_, PlaceOf(*row), LVIS_DROPHILITED, LVIS_DROPHILITED);
}

ListItem* Win32ListView::HitTest(float x, float y) {
  ResumeRedraw();  // the control's geometry as it is drawn
  const POINT point{twips().ToPixelsX(x), twips().ToPixelsY(y)};
  RECT client;
  ::GetClientRect(hwnd_, &client);
  if (!::PtInRect(&client, point)) return nullptr;
  LVHITTESTINFO hit{};
  hit.pt = point;
  const int place = ListView_HitTest(hwnd_, &hit);
  if (place >= 0 && (hit.flags & LVHT_ONITEM)) return RowAt(place);
  // Right of the last column: the row whose band holds the point.
  const int top = ListView_GetTopIndex(hwnd_);
  const int last = std::min(ItemCount(), top + ListView_GetCountPerPage(hwnd_) + 1);
  for (int i = std::max(top, 0); i < last; ++i) {
    RECT band;
    if (ListView_GetItemRect(hwnd_, i, &band, LVIR_BOUNDS) && point.y >= band.top &&
        point.y < band.bottom)
      return RowAt(i);
  }
  return nullptr;
}

void Win32ListView::SortKey(int key) {
  if (key < 0) ThrowInvalidValue(L"SortKey");
  sortKey_ = key;
  if (sorted_) Sort();
  ShowSortArrow();
}

void Win32ListView::SortOrder(int order) {
  if (order != 0 && order != 1) ThrowInvalidValue(L"SortOrder");
  sortOrder_ = order;
  if (sorted_) Sort();
  ShowSortArrow();
}

void Win32ListView::Sorted(bool sorted) {
  sorted_ = sorted;
  Sort();
  ShowSortArrow();
}

void Win32ListView::CellChanged(int column) {
  // The control asks the row for the text when it draws the cell again: when the list's drawing
  // is held, as it resumes; otherwise at once.
  if (column < ColumnCount()) {
    HoldRedraw();
    if (!redrawHeld_) ::InvalidateRect(hwnd_, nullptr, FALSE);
  }
  if (sorted_ && column == sortKey_) Sort();
}

void Win32ListView::Sort() {
  ++sorts_;
  ListView_SortItems(hwnd_, CompareRows, reinterpret_cast<LPARAM>(this));
}

void Win32ListView::ShowSortArrow() {
  // Header item k is the control's column k, the column created (k + 1)th, wherever it shows.
  HWND header = ListView_GetHeader(hwnd_);
  for (int column = 0; column < ColumnCount(); ++column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!Header_GetItem(header, column, &item)) continue;
    int format = item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN);
    if (sorted_ && column == sortKey_) format |= sortOrder_ == 1 ? HDF_SORTDOWN : HDF_SORTUP;
    if (format == item.fmt) continue;
    item.fmt = format;
    Header_SetItem(header, column, &item);
  }
}

int CALLBACK Win32ListView::CompareRows(LPARAM a, LPARAM b, LPARAM self) noexcept {
  const auto& list = *reinterpret_cast<const Win32ListView*>(self);
  const auto& first = *reinterpret_cast<const Row*>(a);
  const auto& second = *reinterpret_cast<const Row*>(b);
  if (list.sorted_) {
    const int c = CompareListText(first.CellText(list.sortKey_), second.CellText(list.sortKey_));
    if (c != 0) return list.sortOrder_ == 1 ? -c : c;
  }
  // Equal texts, or no sort: the order in which the rows were added.
  return first.Sequence() < second.Sequence() ? -1 : first.Sequence() > second.Sequence() ? 1 : 0;
}

LRESULT Win32ListView::OnNotify(NMHDR& header) {
  switch (header.code) {
    case LVN_COLUMNCLICK: {
      const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
      if (click.iSubItem >= 0 && click.iSubItem < ColumnCount() && events.ColumnClick)
        events.ColumnClick(*columns_[static_cast<std::size_t>(click.iSubItem)]);
      return 0;
    }
    case NM_DBLCLK:
      if (events.DblClick) events.DblClick();
      return 0;
    case LVN_ITEMCHANGED: {
      // Only the user's change of a check box raises ItemCheck: the code's own changes, and
      // the unchecked box a new row is given, pass silently.
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if (fromCode_ > 0 || !checkBoxes_ || !(change.uChanged & LVIF_STATE)) return 0;
      const UINT before = StateImage(change.uOldState), after = StateImage(change.uNewState);
      if (before == 0 || after == 0 || before == after) return 0;
      if (Row* row = RowAt(change.iItem); row && events.ItemCheck) events.ItemCheck(*row);
      return 0;
    }
    case NM_CUSTOMDRAW:
      return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    case LVN_DELETEALLITEMS:
      return TRUE;  // no LVN_DELETEITEM for each row: the rows go with the list's own
    case LVN_GETDISPINFOW:
      FillCellText(reinterpret_cast<NMLVDISPINFOW&>(header).item);
      return 0;
    case LVN_GETINFOTIPW:
      FillInfoTip(reinterpret_cast<NMLVGETINFOTIPW&>(header));
      return 0;
    default:
      return 0;
  }
}

LRESULT Win32ListView::OnCustomDraw(NMLVCUSTOMDRAW& draw) const {
  // Without grey rows the control draws as it would with no one asked.
  if (greyIcon_.empty()) return CDRF_DODEFAULT;
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
    const Row* row = RowAt(static_cast<int>(draw.nmcd.dwItemSpec));
    if (row && row->SmallIcon() == greyIcon_) draw.clrText = ::GetSysColor(COLOR_GRAYTEXT);
  }
  return CDRF_DODEFAULT;
}

void Win32ListView::FillCellText(LVITEMW& item) const {
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const Row* row = item.lParam ? reinterpret_cast<const Row*>(item.lParam) : RowAt(item.iItem);
  const std::wstring_view text = row ? row->CellText(item.iSubItem) : std::wstring_view();
  const auto length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
  std::copy_n(text.data(), length, item.pszText);
  item.pszText[length] = L'\0';
}

void Win32ListView::FillInfoTip(NMLVGETINFOTIPW& tip) const {
  if (!tip.pszText || tip.cchTextMax <= 0) return;
  // Windows documents iSubItem as always 0, asking for the row: the cell is then the one under
  // the pointer while the pointer is in that row, else the row's own text.
  int column = tip.iSubItem;
  LVHITTESTINFO hit{};
  if (column == 0 && ::GetCursorPos(&hit.pt) && ::ScreenToClient(hwnd_, &hit.pt) &&
      ListView_SubItemHitTest(hwnd_, &hit) == tip.iItem)
    column = hit.iSubItem;
  // The control may have put the row's text in for the tip to add to: the tip is the whole text
  // of a cut cell alone, or empty, which shows none.
  std::wstring_view shown;
  RECT label{};
  if (const Row* row = RowAt(tip.iItem);
      row && column < ColumnCount() &&
      ListView_GetSubItemRect(hwnd_, tip.iItem, column, LVIR_LABEL, &label)) {
    const std::wstring& text = row->CellText(column);
    if (ListView_GetStringWidth(hwnd_, text.c_str()) + kLabelMargins > label.right - label.left)
      shown = text;
  }
  const auto length = std::min(shown.size(), static_cast<std::size_t>(tip.cchTextMax) - 1);
  std::copy_n(shown.data(), length, tip.pszText);
  tip.pszText[length] = L'\0';
}

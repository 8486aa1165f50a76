// The list view's aids to reading over the real common control, read back from its windows. (Its
// sort arrow is read in the end-to-end journey, standin/app/tests/EndToEndTest.cpp.)

#include "ui/win32/Win32ListView.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/win32/unique_res.h"
#include "ui/win32/Win32Images.h"

namespace {

std::map<DWORD_PTR, COLORREF> gTextColours;  // by row place, as the list last drew them

// Hands the list its notifications, as the document window does, and notes each row's colour.
LRESULT CALLBACK Parent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                        DWORD_PTR list) {
  if (message != WM_NOTIFY) return ::DefSubclassProc(hwnd, message, wParam, lParam);
  auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
  const LRESULT result = reinterpret_cast<Win32ListView*>(list)->OnNotify(draw.nmcd.hdr);
  if (draw.nmcd.hdr.code == NM_CUSTOMDRAW && draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
    gTextColours[draw.nmcd.dwItemSpec] = draw.clrText;
  return result;
}

TEST(Win32ListView, GreysTheRowsOfTheGreyIconAndTipsACutCellWithItsWholeText) {
  unique_hwnd parent{::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 300,
                                       nullptr, nullptr, nullptr, nullptr)};
  Twips twips;
  DrawnImages icons = DrawnImages::FileIcons();
  Win32ListView list{parent.get(), 1, twips, &icons, false, L"not"};
  ::SetWindowSubclass(parent.get(), Parent, 0, reinterpret_cast<DWORD_PTR>(&list));
  list.Move(0, 0, 9000, 4000);
  for (const wchar_t* key : {L"A", L"B", L"C"}) list.AddColumn(key, key, 1500);
  const std::wstring wide = L"a text far wider than its column of 1500 twips";
  list.AddItem(L"", L"fits", L"yes").SubItems(1, wide);
  list.AddItem(L"", L"gone", L"not");

  gTextColours.clear();
  ::RedrawWindow(list.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_NE(::GetSysColor(COLOR_GRAYTEXT), gTextColours.at(0));
  EXPECT_EQ(::GetSysColor(COLOR_GRAYTEXT), gTextColours.at(1)) << "the row of the grey icon";

  // A cut cell's tip is its whole text, a cell that fits has none; naming no sub-item asks for
  // the cell under the pointer.
  RECT cut;
  ListView_GetSubItemRect(list.Handle(), 0, 1, LVIR_LABEL, &cut);
  ::MapWindowPoints(list.Handle(), nullptr, reinterpret_cast<POINT*>(&cut), 2);
  const struct { int subItem; bool pointerOnCut; std::wstring tip; } cases[] = {
      {1, false, wide}, {0, false, L""}, {0, true, wide}};
  for (const auto& c : cases) {
    ::SetCursorPos(c.pointerOnCut ? cut.left + 4 : 1000, c.pointerOnCut ? cut.top + 4 : 1000);
    wchar_t text[INFOTIPSIZE] = L"fits";  // the row's text, handed in for the tip to add to
    NMLVGETINFOTIPW tip{{list.Handle(), 1, LVN_GETINFOTIPW}, 0, text, INFOTIPSIZE, 0, c.subItem};
    list.OnNotify(tip.hdr);
    EXPECT_EQ(c.tip, text) << "sub-item " << c.subItem << ", pointer on it " << c.pointerOnCut;
  }
  ::RemoveWindowSubclass(parent.get(), Parent, 0);
}

}  // namespace

// The list view's grey rows over the real common control, as the list draws them. (Its sort arrow
// and its tips are read in the end-to-end journey, standin/app/tests/EndToEndTest.cpp.)

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

TEST(Win32ListView, GreysTheRowsOfTheGreyIcon) {
  unique_hwnd parent{::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 600, 300,
                                       nullptr, nullptr, nullptr, nullptr)};
  Twips twips;
  DrawnImages icons = DrawnImages::FileIcons();
  Win32ListView list{parent.get(), 1, twips, &icons, false, L"not"};
  ::SetWindowSubclass(parent.get(), Parent, 0, reinterpret_cast<DWORD_PTR>(&list));
  list.Move(0, 0, 9000, 4000);
  list.AddColumn(L"A", L"A", 1500);
  list.AddItem(L"", L"fits", L"yes");
  list.AddItem(L"", L"gone", L"not");

  ::RedrawWindow(list.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_NE(::GetSysColor(COLOR_GRAYTEXT), gTextColours.at(0));
  EXPECT_EQ(::GetSysColor(COLOR_GRAYTEXT), gTextColours.at(1)) << "the row of the grey icon";

  ::RemoveWindowSubclass(parent.get(), Parent, 0);
}

}  // namespace

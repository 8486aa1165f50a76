// The system clipboard under the add-in's use: a path it copies is the user's copy; what the user
// had copied is saved, the add-in puts its picture, and the user's copy comes back, whatever it
// was.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/Error.h"
#include "platform/win32/Win32Clipboard.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// The text on the clipboard, "(picture)" for a bitmap, "" for nothing.
std::wstring Held() {
  ::OpenClipboard(nullptr);
  std::wstring held = ::IsClipboardFormatAvailable(CF_BITMAP) ? L"(picture)" : L"";
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    held = static_cast<const wchar_t*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return held;
}

TEST(Win32Clipboard, ThePictureTakesTheClipboardAndTheUsersCopyComesBack) {
  Win32Clipboard clipboard(reinterpret_cast<HINSTANCE>(&__ImageBase));
  for (const std::wstring copied : {L"copied \u00e9", L""}) {  // "": the user copied nothing
    ASSERT_TRUE(::OpenClipboard(nullptr) && ::EmptyClipboard() && ::CloseClipboard());
    if (!copied.empty()) clipboard.PutText(copied);
    ASSERT_EQ(copied, Held());
    const auto saved = clipboard.Save();
    clipboard.PutBitmapResource(L"MENUBMP");
    EXPECT_EQ(L"(picture)", Held());
    clipboard.Restore(*saved);
    EXPECT_EQ(copied, Held());
  }
  EXPECT_THROW(clipboard.PutBitmapResource(L"NOSUCH"), VbError);
}

}  // namespace

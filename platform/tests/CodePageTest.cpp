// The ANSI code page: Windows-1252 written out, and under Windows the system's own, which must
// agree with it where that is the system's code page.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32CodePage.h"
#endif

namespace {

TEST(CodePages, EveryByteIsOneCharacterAndComesBackAndMissingCharactersAreQuestionMarks) {
  const Windows1252CodePage cp1252;
  std::vector<const CodePage*> pages = {&cp1252};
#ifdef _WIN32
  Win32CodePage system;
  if (::GetACP() == 1252) pages.push_back(&system);
#endif
  std::string all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  for (const CodePage* page : pages) {
    const std::wstring text = page->ToWide(all);
    ASSERT_EQ(256u, text.size()) << "NUL stays, nothing is cut";
    EXPECT_EQ(std::wstring(L"\0A\u20ac\u0081\u2122\u0178\u00e9", 7),  // 0x81 is undefined
              (std::wstring{text[0], text[0x41], text[0x80], text[0x81], text[0x99], text[0x9f],
                            text[0xe9]}));
    EXPECT_EQ(all, page->ToAnsi(text));
    EXPECT_EQ("a?b", page->ToAnsi(L"a\u4e2db"));
  }
}

}  // namespace

// The ANSI code page: Windows-1252 written out, and under Windows the system's own, which must
// agree with it where that is the system's code page.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/CodePage.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32CodePage.h"
#endif

namespace {

TEST(CodePages, EveryByteIsOneCharacterAndComesBackAndMissingCharactersAreQuestionMarks) {
  std::vector<std::unique_ptr<CodePage>> pages;
  pages.push_back(std::make_unique<Windows1252CodePage>());
#ifdef _WIN32
  if (::GetACP() == 1252) pages.push_back(std::make_unique<Win32CodePage>());
#endif
  std::string all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  const std::pair<int, wchar_t> characters[] = {
      {0, L'\0'},       {0x41, L'A'},      {0x80, L'\u20ac'}, {0x81, L'\u0081'},  // undefined
      {0x99, L'\u2122'}, {0x9f, L'\u0178'}, {0xe9, L'\u00e9'}};
  for (const auto& page : pages) {
    const std::wstring text = page->ToWide(all);
    ASSERT_EQ(256u, text.size()) << "NUL stays, nothing is cut";
    for (const auto& [byte, character] : characters) EXPECT_EQ(character, text[byte]) << byte;
    EXPECT_EQ(all, page->ToAnsi(text));
    EXPECT_EQ("a?b", page->ToAnsi(L"a\u4e2db"));
  }
}

}  // namespace

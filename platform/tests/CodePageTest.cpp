#include <gtest/gtest.h>

#include "platform/CodePage.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Win32CodePage.h"
#endif

namespace {

std::string AllBytes() {
  std::string bytes(256, '\0');
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<char>(i);
  return bytes;
}

TEST(Windows1252, MapsTheHighBytesAsWindowsDoes) {
  Windows1252CodePage cp;
  const std::wstring text = cp.ToWide(AllBytes());
  ASSERT_EQ(256u, text.size());
  EXPECT_EQ(L'\0', text[0]) << "NUL stays, nothing is cut";
  EXPECT_EQ(L'A', text[0x41]);
  EXPECT_EQ(L'\u20ac', text[0x80]);
  EXPECT_EQ(L'\u0081', text[0x81]) << "undefined bytes keep their number";
  EXPECT_EQ(L'\u2122', text[0x99]);
  EXPECT_EQ(L'\u0178', text[0x9f]);
  EXPECT_EQ(L'\u00e9', text[0xe9]);
  EXPECT_EQ(AllBytes(), cp.ToAnsi(text)) << "every byte comes back";
}

TEST(Windows1252, CharactersTheCodePageLacksBecomeQuestionMarks) {
  Windows1252CodePage cp;
  EXPECT_EQ("a?b", cp.ToAnsi(L"a\u4e2db"));
  EXPECT_EQ("", cp.ToAnsi(L""));
  EXPECT_EQ(L"", cp.ToWide(""));
}

#ifdef _WIN32
TEST(Win32CodePage, AgreesWithWindows1252WhereThatIsTheSystemCodePage) {
  if (::GetACP() != 1252) GTEST_SKIP() << "the system code page is " << ::GetACP();
  Win32CodePage system;
  Windows1252CodePage portable;
  const std::string bytes = AllBytes();
  EXPECT_EQ(portable.ToWide(bytes), system.ToWide(bytes));
  const std::wstring text = L"Caf\u00e9 \u20ac \u2122 plain";
  EXPECT_EQ(portable.ToAnsi(text), system.ToAnsi(text));
}
#endif

}  // namespace

// What Explorer is asked to show for a project's path, against the real file system: the file
// itself when it is there, else the nearest folder above it that is.

#include <gtest/gtest.h>

#include "platform/tests/FileWorld.h"
#include "platform/win32/Win32Shell.h"

namespace {

TEST(Win32Shell, ExplorerSelectsTheFileOrOpensTheNearestFolderThatExists) {
  const std::unique_ptr<FileWorld> world = MakeWin32FileWorld();
  world->AddDirectory(L"sub");
  world->AddFile(L"sub\\p.vbp", "Type=Exe\r\n");
  const std::wstring sub = world->PathOf(L"sub"), file = world->PathOf(L"sub\\p.vbp");
  const std::pair<std::wstring, std::wstring> cases[] = {
      {file, L"/select,\"" + file + L"\""},
      {world->PathOf(L"sub\\gone\\deeper\\q.vbp"), L"\"" + sub + L"\""},
      {sub, L"\"" + sub.substr(0, sub.rfind(L'\\')) + L"\""},  // a folder: the one above it
      {L"Q:\\nowhere\\q.vbp", L""},                           // no drive Q
      {L"q.vbp", L""}};
  for (const auto& [path, arguments] : cases) EXPECT_EQ(arguments, ExplorerArguments(path)) << path;
}

}  // namespace

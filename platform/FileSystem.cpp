#include "platform/FileSystem.h"

bool FileSystem::MayBlock(std::wstring_view) const { return false; }

std::optional<bool> FileSystem::IsNormalFileWithin(std::wstring_view path,
                                                   std::chrono::milliseconds) const {
  return IsNormalFile(path);
}

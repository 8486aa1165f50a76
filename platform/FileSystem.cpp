#include "platform/FileSystem.h"

#include <utility>

bool FileSystem::MayBlock(std::wstring_view) const { return false; }

std::optional<bool> FileSystem::IsNormalFileWithin(std::wstring_view path,
                                                   std::chrono::milliseconds) const {
  return IsNormalFile(path);
}

std::optional<std::uint64_t> FileSystem::NormalFileSize(std::wstring_view path) const {
  if (!IsNormalFile(path)) return std::nullopt;
  return kUnknownFileSize;
}

bool FileSystem::ReadListed(std::wstring_view path, std::uint64_t, std::size_t limit,
                            std::string& bytes) const {
  std::optional<std::string> all = ReadAll(path, limit);
  if (!all) return false;
  bytes = std::move(*all);
  return true;
}

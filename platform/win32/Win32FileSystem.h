#pragma once
#include "platform/FileSystem.h"

/// Files through the Win32 API: the existence test is a directory listing of the path that
/// keeps normal files only, and gives their size; the read is one ReadFile of the file's length,
/// as the listing gave it or as GetFileSizeEx gives it. Paths on shares and on
/// drives that are not fixed disks may block; their bounded tests list on a worker thread.
class Win32FileSystem final : public FileSystem {
 public:
  bool IsNormalFile(std::wstring_view path) const override;
  std::optional<std::string> ReadAll(std::wstring_view path, std::size_t limit) const override;
  std::optional<std::uint64_t> NormalFileSize(std::wstring_view path) const override;
  bool ReadListed(std::wstring_view path, std::uint64_t listedSize, std::size_t limit,
                  std::string& bytes) const override;
  bool MayBlock(std::wstring_view path) const override;
  std::optional<bool> IsNormalFileWithin(std::wstring_view path,
                                         std::chrono::milliseconds wait) const override;
};

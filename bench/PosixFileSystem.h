#pragma once
// Real files through POSIX calls, for the native benchmarks: the existence test is a stat that
// keeps regular files only and gives their size, the read one read of the file's length (as the
// listing gave it, or as fstat gives it). Paths are wide texts written out as UTF-8.

#include <string>

#include "platform/FileSystem.h"

class PosixFileSystem final : public FileSystem {
 public:
  bool IsNormalFile(std::wstring_view path) const override;
  std::optional<std::string> ReadAll(std::wstring_view path, std::size_t limit) const override;
  std::optional<std::uint64_t> NormalFileSize(std::wstring_view path) const override;
  bool ReadListed(std::wstring_view path, std::uint64_t listedSize, std::size_t limit,
                  std::string& bytes) const override;

  /// The path as the system takes it.
  static std::string Narrow(std::wstring_view path);
};

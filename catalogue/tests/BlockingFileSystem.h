#pragma once
// Files in memory where paths on shares (\\server\share\...) may block, and those on shares the
// test has blocked do: their bounded queries give no answer, as a share that is down gives none
// within the wait. An unbounded query on a blocked share would hang the caller for good: it
// throws instead.

#include <chrono>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/BoundedExistence.h"
#include "platform/tests/MemoryFileSystem.h"

class BlockingFileSystem final : public FileSystem {
 public:
  MemoryFileSystem& Files() { return files_; }
  /// Queries on the share ("\\\\SERVER\\SHARE", as VolumeOf gives it) hang from now on.
  void Block(std::wstring share) { blocked_.insert(std::move(share)); }
  /// The bounded queries asked, with their waits.
  const std::vector<std::pair<std::wstring, std::chrono::milliseconds>>& Asked() const {
    return asked_;
  }

  bool IsNormalFile(std::wstring_view path) const override {
    if (blocked_.count(VolumeOf(path))) throw std::logic_error("unbounded on a blocked share");
    return files_.IsNormalFile(path);
  }
  std::optional<std::string> ReadAll(std::wstring_view path, std::size_t limit) const override {
    return files_.ReadAll(path, limit);
  }
  bool MayBlock(std::wstring_view path) const override {
    return ++kindQueries, VolumeOf(path).starts_with(L"\\\\");
  }
  std::optional<bool> IsNormalFileWithin(std::wstring_view path,
                                         std::chrono::milliseconds wait) const override {
    asked_.emplace_back(path, wait);
    if (!blocked_.count(VolumeOf(path))) return files_.IsNormalFile(path);
    return std::nullopt;
  }

  mutable std::size_t kindQueries = 0;  // how many times MayBlock was asked

 private:
  MemoryFileSystem files_;
  std::set<std::wstring> blocked_;
  mutable std::vector<std::pair<std::wstring, std::chrono::milliseconds>> asked_;
};

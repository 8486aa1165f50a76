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

class BlockingFileSystem final : public MemoryFileSystem {
 public:
  bool IsNormalFile(std::wstring_view path) const override {
    if (blocked.count(VolumeOf(path))) throw std::logic_error("unbounded on a blocked share");
    return MemoryFileSystem::IsNormalFile(path);
  }
  bool MayBlock(std::wstring_view path) const override {
    return ++kindQueries, VolumeOf(path).starts_with(L"\\\\");
  }
  std::optional<bool> IsNormalFileWithin(std::wstring_view path,
                                         std::chrono::milliseconds wait) const override {
    asked.emplace_back(path, wait);
    if (blocked.count(VolumeOf(path))) return std::nullopt;
    return MemoryFileSystem::IsNormalFile(path);
  }

  std::set<std::wstring> blocked;  // shares ("\\\\SERVER\\SHARE", as VolumeOf gives them)
  mutable std::size_t kindQueries = 0;  // how many times MayBlock was asked
  mutable std::vector<std::pair<std::wstring, std::chrono::milliseconds>> asked;  // with the waits
};

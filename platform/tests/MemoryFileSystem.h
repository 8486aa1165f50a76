#pragma once
// Files in memory with Windows' attributes and path rules (case does not matter), and the
// failures a real disk can give: a listing that cannot be made, a file that cannot be read.

#include <cstddef>
#include <map>
#include <set>
#include <string>

#include "platform/Error.h"
#include "platform/FileSystem.h"

class MemoryFileSystem : public FileSystem {
 public:
  enum Attribute : unsigned { kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kArchive = 0x20 };

  void AddFile(std::wstring_view path, std::string bytes, unsigned attributes = 0) {
    entries_[Fold(path)] = {std::move(bytes), attributes};
  }
  void AddDirectory(std::wstring_view path) { entries_[Fold(path)] = {"", kDirectory}; }
  void Remove(std::wstring_view path) { entries_.erase(Fold(path)); }
  /// Listings of the path throw, as for a drive that is not available.
  void FailListing(std::wstring_view path) { failListing_.insert(Fold(path)); }
  /// The file lists but cannot be read, as when another program holds it locked.
  void FailReading(std::wstring_view path) { failReading_.insert(Fold(path)); }

  bool IsNormalFile(std::wstring_view path) const override {
    if (path.empty() || path.find_first_of(L"*?<>\"") != path.npos) return false;
    if (failListing_.count(Fold(path))) throw VbError(68, L"FileExists", L"Device unavailable");
    const auto it = entries_.find(Fold(path));
    return it != entries_.end() && !(it->second.second & (kHidden | kSystem | kDirectory));
  }
  std::optional<std::string> ReadAll(std::wstring_view path, std::size_t limit) const override {
    const auto it = entries_.find(Fold(path));
    if (it == entries_.end() || it->second.second & kDirectory || failReading_.count(it->first) ||
        it->second.first.size() > limit)
      return std::nullopt;
    return it->second.first;
  }

 private:
  static constexpr unsigned kDirectory = 0x10;
  static std::wstring Fold(std::wstring_view path) {
    std::wstring folded(path);
    for (wchar_t& c : folded)
      if (c >= L'A' && c <= L'Z') c += L'a' - L'A';
    return folded;
  }

  // By folded path: the bytes and the attributes.
  std::map<std::wstring, std::pair<std::string, unsigned>> entries_;
  std::set<std::wstring> failListing_, failReading_;
};

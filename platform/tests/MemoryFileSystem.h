#pragma once
// Files in memory with Windows' attributes and path rules (case does not matter), and the
// failures a real disk can give: a listing that cannot be made, a file that cannot be read.

#include <cstddef>
#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

class MemoryFileSystem final : public FileSystem {
 public:
  enum Attribute : unsigned { kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kArchive = 0x20 };

  void AddFile(std::wstring_view path, std::string bytes, unsigned attributes = 0);
  void AddDirectory(std::wstring_view path);
  void Remove(std::wstring_view path);
  /// Listings of the path throw, as for a drive that is not available.
  void FailListing(std::wstring_view path);
  /// The file lists but cannot be read, as when another program holds it locked.
  void FailReading(std::wstring_view path);

  bool IsNormalFile(std::wstring_view path) const override;
  std::optional<std::string> ReadAll(std::wstring_view path) const override;

  std::size_t Listings() const { return listings_; }
  std::size_t Reads() const { return reads_; }

 private:
  struct Entry {
    std::string bytes;
    unsigned attributes = 0;
    bool directory = false;
  };
  static std::wstring Fold(std::wstring_view path);

  std::map<std::wstring, Entry> entries_;  // by folded path
  std::set<std::wstring> failListing_, failReading_;
  mutable std::size_t listings_ = 0, reads_ = 0;
};

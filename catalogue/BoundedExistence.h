#pragma once
// The existence tests of one load of a list, bounded in time. A project on a network share that
// is down would otherwise hold the IDE for tens of seconds on every tab change.

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

class FileSystem;

/// The share ("\\SERVER\SHARE") or drive ("C:") a path lives on, in upper case; empty for a
/// relative path, which lives on the current drive.
std::wstring VolumeOf(std::wstring_view path);

class BoundedExistence {
 public:
  struct Limits {
    std::chrono::milliseconds perPath{500};  // the longest wait for one path
    std::chrono::milliseconds perLoad{1000};  // the longest the missed waits may add up to
  };

  explicit BoundedExistence(const FileSystem& files) : BoundedExistence(files, Limits{}) {}
  BoundedExistence(const FileSystem& files, Limits limits) : files_(files), limits_(limits) {}

  /// FileExists for one listed path. A path that cannot block is tested at once; whether it may
  /// is asked of the file system once a volume, for the volume's first path. One that may
  /// is given at most perPath to answer; when it misses, it counts as missing and so does every
  /// later path on the same volume. Once the missed waits reach perLoad, paths on volumes that
  /// have not answered yet count as missing without being asked. Throws VbError as FileExists
  /// does when the answer is a failure.
  bool Exists(std::wstring_view path) { return ListedSize(path).has_value(); }

  /// Exists, with the size the listing gave (FileSystem::NormalFileSize; kUnknownFileSize for a
  /// path asked within a wait): nullopt when the file counts as missing.
  std::optional<std::uint64_t> ListedSize(std::wstring_view path);

 private:
  const FileSystem& files_;  // not owned
  Limits limits_;
  std::map<std::wstring, bool> mayBlock_;  // by volume, as MayBlock answered for its first path
  std::set<std::wstring> unreachable_;  // volumes that missed a deadline
  std::set<std::wstring> answering_;    // volumes that answered in time
  std::chrono::milliseconds missed_{0};
};

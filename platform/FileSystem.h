#pragma once
// The files the catalogue reads: an existence test and a whole-file read.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// The size of a normal file whose listing did not give one.
inline constexpr std::uint64_t kUnknownFileSize = UINT64_MAX;

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// True when the path names an existing normal file: one that is not hidden, not a system
  /// file and not a directory (read-only and archive files count). A path that names nothing,
  /// the empty path and a path with wildcards (* ? < > ") are false. A query that cannot be answered (a
  /// malformed path, a drive or share that is not available) throws VbError.
  virtual bool IsNormalFile(std::wstring_view path) const = 0;

  /// The whole file as raw bytes, taken with one read of its length; nullopt when the file
  /// cannot be opened or read in full (missing, locked, a directory, a device, over 2 GiB), or
  /// when it is longer than limit bytes, which are then not read.
  virtual std::optional<std::string> ReadAll(std::wstring_view path, std::size_t limit) const = 0;

  /// IsNormalFile, with the size in bytes the listing gave for a normal file: nullopt when
  /// IsNormalFile is false, kUnknownFileSize when the listing gives no size. Throws as
  /// IsNormalFile. The default asks IsNormalFile and gives no size.
  virtual std::optional<std::uint64_t> NormalFileSize(std::wstring_view path) const;

  /// ReadAll of a file whose listing has just given its size (kUnknownFileSize: none), into
  /// bytes, whose room a caller reading many files keeps from one to the next. The file is not
  /// asked its size again but read with one read of one byte more than listed, which shows a
  /// file grown since; that one is read again as ReadAll reads it. False when ReadAll would give
  /// nullopt, (bytes) then unspecified. The default asks ReadAll.
  virtual bool ReadListed(std::wstring_view path, std::uint64_t listedSize, std::size_t limit,
                          std::string& bytes) const;

  /// True when a query on the path may wait on another machine or on a device: a network share,
  /// a mapped or removable drive. When the share is down such a query can block for tens of
  /// seconds. The default: no path may block.
  virtual bool MayBlock(std::wstring_view path) const;

  /// IsNormalFile, waiting at most `wait` for its answer: nullopt when none came in time. The
  /// query then goes on in the background and its answer is dropped. Throws as IsNormalFile does
  /// when the answer in time is a failure. The default asks on the calling thread, for file
  /// systems whose paths never block.
  virtual std::optional<bool> IsNormalFileWithin(std::wstring_view path,
                                                 std::chrono::milliseconds wait) const;
};

/// True when the path names an existing normal file (not hidden, not system, not a directory).
/// A listing that cannot be made (a malformed path, a drive that is not available) throws VbError.
inline bool FileExists(const FileSystem& files, std::wstring_view path) {
  return files.IsNormalFile(path);
}

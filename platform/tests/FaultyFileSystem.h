#pragma once
// Passes every query to a file system but the one a test picks by its place in the run: that
// existence test raises the listing's error, that read finds the file unreadable.

#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/tests/CallCounter.h"

class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(const FileSystem& inner) : inner_(inner) {}

  bool IsNormalFile(std::wstring_view path) const override {
    if (calls.Next()) throw VbError(75, L"FileExists", L"Path/File access error");
    return inner_.IsNormalFile(path);
  }
  std::optional<std::string> ReadAll(std::wstring_view path, std::size_t limit) const override {
    return calls.Next() ? std::nullopt : inner_.ReadAll(path, limit);
  }

  mutable CallCounter calls;

 private:
  const FileSystem& inner_;  // not owned
};

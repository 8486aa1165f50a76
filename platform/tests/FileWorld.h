#pragma once
// A folder of files that a test fills and the code under test reads: in memory natively, and
// under Windows also real files in a temporary folder, read through the Win32 API.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

class FileWorld {
 public:
  enum Attribute : unsigned { kReadOnly = 0x1, kHidden = 0x2, kSystem = 0x4, kArchive = 0x20 };

  virtual ~FileWorld() = default;
  virtual const FileSystem& Files() const = 0;
  virtual const CodePage& Ansi() const = 0;
  /// The full path of a name in the world's folder.
  virtual std::wstring PathOf(std::wstring_view name) const = 0;
  virtual void AddFile(std::wstring_view name, std::string_view bytes, unsigned attributes = 0) = 0;
  virtual void AddDirectory(std::wstring_view name) = 0;
};

struct FileWorldMaker {
  std::string name;
  std::function<std::unique_ptr<FileWorld>()> make;
};

/// Every world this build can test against: memory, and on Windows the real file system.
std::vector<FileWorldMaker> FileWorlds();

/// Real files in a new temporary folder, removed with the world. Windows builds only.
std::unique_ptr<FileWorld> MakeWin32FileWorld();

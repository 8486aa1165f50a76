#include "platform/tests/FileWorld.h"

#include "platform/tests/MemoryFileSystem.h"

namespace {

class MemoryFileWorld final : public FileWorld {
 public:
  const FileSystem& Files() const override { return files_; }
  const CodePage& Ansi() const override { return ansi_; }
  std::wstring PathOf(std::wstring_view name) const override {
    return L"C:\\Projects\\" + std::wstring(name);
  }
  void AddFile(std::wstring_view name, std::string_view bytes, unsigned attributes) override {
    files_.AddFile(PathOf(name), std::string(bytes), attributes);
  }
  void AddDirectory(std::wstring_view name) override { files_.AddDirectory(PathOf(name)); }

 private:
  MemoryFileSystem files_;
  Windows1252CodePage ansi_;
};

}  // namespace

std::vector<FileWorldMaker> FileWorlds() {
  return {{"Memory", [] { return std::make_unique<MemoryFileWorld>(); }},
#ifdef _WIN32
          {"Win32", MakeWin32FileWorld},
#endif
  };
}

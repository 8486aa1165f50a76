#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/tests/FileWorld.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"

namespace {

class Win32FileWorld final : public FileWorld {
 public:
  Win32FileWorld() {
    static unsigned counter = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("marrowby-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
               std::to_string(++counter));
    std::filesystem::create_directory(folder_);
  }
  // Empties and removes the folder, clearing the attributes that would stop a delete.
  ~Win32FileWorld() override {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_, ignored))
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(folder_, ignored);
  }

  const FileSystem& Files() const override { return files_; }
  const CodePage& Ansi() const override { return ansi_; }
  std::wstring PathOf(std::wstring_view name) const override { return folder_ / name; }
  void AddFile(std::wstring_view name, std::string_view bytes, unsigned attributes) override {
    const std::wstring path = PathOf(name);
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
    // Attributes are set the way other programs set them: the ANSI call on the ANSI path.
    if (attributes) ::SetFileAttributesA(ansi_.ToAnsi(path).c_str(), attributes);
  }
  void AddDirectory(std::wstring_view name) override {
    std::filesystem::create_directory(PathOf(name));
  }

 private:
  std::filesystem::path folder_;
  Win32FileSystem files_;
  Win32CodePage ansi_;
};

}  // namespace

std::unique_ptr<FileWorld> MakeWin32FileWorld() { return std::make_unique<Win32FileWorld>(); }

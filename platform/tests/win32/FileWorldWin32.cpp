#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/tests/FileWorld.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/unique_res.h"

namespace {

void Check(bool done, const char* what) {
  if (!done) throw std::runtime_error(what);
}

// Empties and removes a folder, clearing the attributes that would stop a delete.
void RemoveFolder(const std::wstring& folder) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored))
    ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(folder, ignored);
}

class Win32FileWorld final : public FileWorld {
 public:
  Win32FileWorld() {
    static unsigned counter = 0;
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"marrowby-test-" + std::to_wstring(::GetCurrentProcessId()) +
              L"-" + std::to_wstring(++counter);
    RemoveFolder(folder_);
    Check(::CreateDirectoryW(folder_.c_str(), nullptr), "cannot create the test folder");
  }
  ~Win32FileWorld() override { RemoveFolder(folder_); }

  const FileSystem& Files() const override { return files_; }
  const CodePage& Ansi() const override { return ansi_; }
  std::wstring PathOf(std::wstring_view name) const override {
    return folder_ + L"\\" + std::wstring(name);
  }
  void AddFile(std::wstring_view name, std::string_view bytes, unsigned attributes) override {
    const std::wstring path = PathOf(name);
    unique_file file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    Check(file && ::WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr),
          "cannot write a test file");
    file.reset();
    // Attributes are set the way other programs set them: the ANSI call on the ANSI path.
    Check(!attributes || ::SetFileAttributesA(ansi_.ToAnsi(path).c_str(), attributes),
          "cannot set a test file's attributes");
  }
  void AddDirectory(std::wstring_view name) override {
    Check(::CreateDirectoryW(PathOf(name).c_str(), nullptr), "cannot create a test directory");
  }

 private:
  std::wstring folder_;
  Win32FileSystem files_;
  Win32CodePage ansi_;
};

}  // namespace

std::unique_ptr<FileWorld> MakeWin32FileWorld() { return std::make_unique<Win32FileWorld>(); }

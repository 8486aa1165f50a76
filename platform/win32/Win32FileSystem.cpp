#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "platform/Error.h"
#include "platform/win32/unique_res.h"

namespace {

// Characters the listing takes as patterns ("<", ">" and '"' are wildcards to it too), and NUL.
constexpr std::wstring_view kWildcardsAndNul(L"*?<>\"\0", 6);
constexpr DWORD kNotNormal = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// The error the host language's runtime raises for a listing that fails other than by finding
// nothing.
[[noreturn]] void RaiseListingError(DWORD code) {
  switch (code) {
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_FILENAME_EXCED_RANGE:
      throw VbError(52, L"FileExists", L"Bad file name or number");
    case ERROR_NOT_READY:
      throw VbError(71, L"FileExists", L"Disk not ready");
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETNAME_DELETED:
      throw VbError(68, L"FileExists", L"Device unavailable");
    default:
      throw VbError(75, L"FileExists", L"Path/File access error");
  }
}

// The listing of one path, kept to normal files. Sets code to the listing's error when it fails
// other than by finding nothing, and size (when given) to a normal file's size. Never throws: it
// also runs on workers of its own.
bool ListsNormalFile(const std::wstring& path, DWORD& code,
                     std::uint64_t* size = nullptr) noexcept {
  code = ERROR_SUCCESS;
  if (path.empty() || path.find_first_of(kWildcardsAndNul) != std::wstring::npos) return false;
  WIN32_FIND_DATAW found;
  unique_find find(::FindFirstFileW(path.c_str(), &found));
  if (!find) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
        error != ERROR_NO_MORE_FILES)
      code = error;
    return false;
  }
  if (size) *size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
  return (found.dwFileAttributes & kNotNormal) == 0;
}

// The file opened for reading, as a reader that never writes opens it: sharing everything, as an
// editor or a source-control tool may hold the file open for writing, or be about to rename it.
// Device names ("con", "nul", "lpt1") open too: only a file on disk is kept, as a console would
// wait for input. Null when it cannot be opened or is no file on disk.
unique_file OpenForReading(const std::wstring& path) {
  unique_file file(::CreateFileW(path.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file && ::GetFileType(file.get()) != FILE_TYPE_DISK) file.reset();
  return file;
}

// One listing on a worker thread. The caller and the worker each hold a reference; the last to
// let go frees it, so a caller that stopped waiting leaves nothing behind.
class Probe {
 public:
  explicit Probe(std::wstring path) : path_(std::move(path)) {}
  ~Probe() {
    if (done_) ::CloseHandle(done_);
  }

  bool Start() {
    done_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!done_) return false;
    // The worker holds the module that holds its code: if the host unloads us while a listing
    // still hangs, the code stays mapped until the worker returns and lets go of it.
    HMODULE self = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(&Probe::Main), &self))
      return false;
    module_ = self;
    refs_ = 2;
    HANDLE thread = ::CreateThread(nullptr, 64 * 1024, &Probe::Main, this,
                                   STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
      refs_ = 1;
      ::FreeLibrary(module_);
      return false;
    }
    ::CloseHandle(thread);
    return true;
  }

  // True when the listing finished within the wait; its answer is then in answer and code.
  bool Wait(std::chrono::milliseconds wait) {
    const auto ms = std::min<std::chrono::milliseconds::rep>(wait.count(), INFINITE - 1);
    return ::WaitForSingleObject(done_, static_cast<DWORD>(std::max<decltype(ms)>(ms, 0))) ==
           WAIT_OBJECT_0;
  }

  void Release() {
    if (::InterlockedDecrement(&refs_) == 0) delete this;
  }

  bool answer = false;
  DWORD code = ERROR_SUCCESS;

 private:
  static DWORD WINAPI Main(void* context) {
    auto* probe = static_cast<Probe*>(context);
    const HMODULE module = probe->module_;
    probe->answer = ListsNormalFile(probe->path_, probe->code);
    ::SetEvent(probe->done_);
    probe->Release();
    ::FreeLibraryAndExitThread(module, 0);
  }

  std::wstring path_;
  HANDLE done_ = nullptr;
  HMODULE module_ = nullptr;
  LONG refs_ = 1;
};

// The first letter of a drive path, or of one written in the long form "\\?\X:".
std::optional<wchar_t> DriveLetter(std::wstring_view path) {
  if (path.rfind(L"\\\\?\\", 0) == 0) path.remove_prefix(4);
  if (path.size() >= 2 && path[1] == L':' &&
      ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')))
    return path[0];
  return std::nullopt;
}

}  // namespace

bool Win32FileSystem::IsNormalFile(std::wstring_view path) const {
  DWORD code;
  const bool normal = ListsNormalFile(std::wstring(path), code);
  if (code != ERROR_SUCCESS) RaiseListingError(code);
  return normal;
}

bool Win32FileSystem::MayBlock(std::wstring_view path) const {
  UINT type;
  if (const auto letter = DriveLetter(path)) {
    const wchar_t root[] = {*letter, L':', L'\\', L'\0'};
    type = ::GetDriveTypeW(root);
  } else if (path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') &&
             (path[1] == L'\\' || path[1] == L'/')) {
    return true;  // a share, or a device path
  } else {
    type = ::GetDriveTypeW(nullptr);  // relative to the current drive
  }
  return type != DRIVE_FIXED && type != DRIVE_RAMDISK;
}

std::optional<bool> Win32FileSystem::IsNormalFileWithin(std::wstring_view path,
                                                        std::chrono::milliseconds wait) const {
  auto* probe = new (std::nothrow) Probe(std::wstring(path));
  if (!probe || !probe->Start()) {
    // No worker to be had: ask here rather than call a file missing that may not be.
    if (probe) probe->Release();
    return IsNormalFile(path);
  }
  std::optional<bool> answer;
  DWORD code = ERROR_SUCCESS;
  if (probe->Wait(wait)) {
    answer = probe->answer;
    code = probe->code;
  }
  probe->Release();
  if (code != ERROR_SUCCESS) RaiseListingError(code);
  return answer;
}

std::optional<std::uint64_t> Win32FileSystem::NormalFileSize(std::wstring_view path) const {
  DWORD code;
  std::uint64_t size = 0;
  const bool normal = ListsNormalFile(std::wstring(path), code, &size);
  if (code != ERROR_SUCCESS) RaiseListingError(code);
  if (!normal) return std::nullopt;
  return size;
}

std::optional<std::string> Win32FileSystem::ReadAll(std::wstring_view path, std::size_t limit) const {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  const unique_file file = OpenForReading(std::wstring(path));
  LARGE_INTEGER size;
  if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      size.QuadPart > 0x7FFFFFFF || static_cast<unsigned long long>(size.QuadPart) > limit)
    return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size()))
    return std::nullopt;
  return bytes;
}

bool Win32FileSystem::ReadListed(std::wstring_view path, std::uint64_t listedSize,
                                 std::size_t limit, std::string& bytes) const {
  if (listedSize == kUnknownFileSize) return FileSystem::ReadListed(path, listedSize, limit, bytes);
  if (listedSize > limit || listedSize >= 0x7FFFFFFF) return false;
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return false;
  const unique_file file = OpenForReading(std::wstring(path));
  if (!file) return false;
  bytes.resize(static_cast<size_t>(listedSize) + 1);
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return false;
  if (read == bytes.size())  // grown since it was listed
    return FileSystem::ReadListed(path, kUnknownFileSize, limit, bytes);
  bytes.resize(read);
  return true;
}

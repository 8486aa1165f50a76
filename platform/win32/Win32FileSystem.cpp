#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

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

}  // namespace

bool Win32FileSystem::IsNormalFile(std::wstring_view path) const {
  if (path.empty() || path.find_first_of(kWildcardsAndNul) != std::wstring_view::npos) return false;
  const std::wstring name(path);
  WIN32_FIND_DATAW found;
  unique_find find(::FindFirstFileW(name.c_str(), &found));
  if (!find) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
        code == ERROR_NO_MORE_FILES)
      return false;
    RaiseListingError(code);
  }
  return (found.dwFileAttributes & kNotNormal) == 0;
}

std::optional<std::string> Win32FileSystem::ReadAll(std::wstring_view path) const {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  const std::wstring name(path);
  unique_file file(::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  // Device names ("con", "nul", "lpt1") open too; only a file on disk is read, as a console
  // would wait for input.
  if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF)
    return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size()))
    return std::nullopt;
  return bytes;
}

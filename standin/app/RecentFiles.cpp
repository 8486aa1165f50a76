// The recent list kept the way the IDE keeps it, so the add-in reads what the stand-in wrote.

#include "standin/app/RecentFiles.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <map>

#include "platform/win32/unique_res.h"

namespace standin_app {
namespace {

constexpr wchar_t kRecentFilesKey[] = L"Software\\Microsoft\\Visual Basic\\6.0\\RecentFiles";

bool SameFile(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towlower(x) == std::towlower(y);
         });
}

// The value name as a list position, or 0 when it is not a number.
unsigned long Position(const wchar_t* name) {
  wchar_t* end = nullptr;
  const unsigned long n = std::wcstoul(name, &end, 10);
  return (*name && end && !*end) ? n : 0;
}

}  // namespace

std::vector<std::wstring> WithNewest(std::vector<std::wstring> list, const std::wstring& path,
                                     std::size_t max) {
  std::erase_if(list, [&](const std::wstring& entry) { return SameFile(entry, path); });
  list.insert(list.begin(), path);
  if (list.size() > max) list.resize(max);
  return list;
}

std::vector<std::wstring> ReadRecentFiles() {
  unique_hkey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRecentFilesKey, 0, KEY_READ, key.put()) !=
      ERROR_SUCCESS)
    return {};
  // Wine lists values sorted as text ("1", "10", "2"): order them by number.
  std::map<unsigned long, std::wstring> byPosition;
  for (DWORD i = 0;; ++i) {
    wchar_t name[64];
    DWORD nameLength = 64, type = 0;
    wchar_t data[MAX_PATH * 2] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    const LSTATUS rc = ::RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type,
                                       reinterpret_cast<BYTE*>(data), &size);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS || type != REG_SZ) continue;
    if (const unsigned long n = Position(name)) byPosition[n] = data;
  }
  std::vector<std::wstring> list;
  for (auto& [n, path] : byPosition)
    if (!path.empty()) list.push_back(std::move(path));
  return list;
}

void RememberRecentFile(const std::wstring& path) {
  const auto old = ReadRecentFiles();
  const auto list = WithNewest(old, path);
  unique_hkey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRecentFilesKey, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
    return;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::wstring name = std::to_wstring(i + 1);
    ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(list[i].c_str()),
                     static_cast<DWORD>((list[i].size() + 1) * sizeof(wchar_t)));
  }
  // A list that grew past the limit loses its tail.
  for (std::size_t i = list.size(); i < std::max(old.size(), kMaxRecentFiles); ++i)
    ::RegDeleteValueW(key.get(), std::to_wstring(i + 1).c_str());
}

}  // namespace standin_app

#pragma once
// The IDE's list of recently opened projects: HKCU\Software\Microsoft\Visual Basic\6.0\RecentFiles,
// values "1".."n", "1" the newest.

#include <cstddef>
#include <string>
#include <vector>

namespace standin_app {

inline constexpr std::size_t kMaxRecentFiles = 10;

/// The list with path put first: an earlier entry of the same file (case ignored) leaves its
/// place, and the list is cut to max entries.
std::vector<std::wstring> WithNewest(std::vector<std::wstring> list, const std::wstring& path,
                                     std::size_t max = kMaxRecentFiles);

/// Reads the list in order "1", "2", ...; a missing key is an empty list.
std::vector<std::wstring> ReadRecentFiles();
/// Puts path first in the stored list. Registry failures are ignored: the list is a convenience.
void RememberRecentFile(const std::wstring& path);

}  // namespace standin_app

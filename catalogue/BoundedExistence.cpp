#include "catalogue/BoundedExistence.h"

#include <algorithm>

#include "catalogue/ProjectFile.h"
#include "platform/FileSystem.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; }

// The text up to the end of the next n components of a path that starts with a separator pair.
std::wstring_view FirstComponents(std::wstring_view rest, int n) {
  std::size_t end = 0;
  for (int i = 0; i < n && end < rest.size(); ++i) {
    while (end < rest.size() && IsSeparator(rest[end])) ++end;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
  }
  return rest.substr(0, end);
}

}  // namespace

std::wstring VolumeOf(std::wstring_view path) {
  std::wstring_view volume;
  bool share = false;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::wstring_view rest = path.substr(2);
    const bool longForm = rest.size() >= 2 && (rest[0] == L'?' || rest[0] == L'.') &&
                          IsSeparator(rest[1]);
    if (!longForm) {
      share = true;  // \\server\share\...
      volume = FirstComponents(rest, 2);
    } else {
      rest.remove_prefix(2);
      const bool unc = rest.size() >= 4 && Upper(rest[0]) == L'U' && Upper(rest[1]) == L'N' &&
                       Upper(rest[2]) == L'C' && IsSeparator(rest[3]);
      if (unc) {
        share = true;  // \\?\UNC\server\share\...
        volume = FirstComponents(rest.substr(4), 2);
      } else {
        volume = FirstComponents(rest, 1);  // \\?\X:\... or a device
      }
    }
  } else if (path.size() >= 2 && path[1] == L':') {
    volume = path.substr(0, 2);
  }

  std::wstring folded(share ? L"\\\\" : L"");
  for (wchar_t c : volume) folded += IsSeparator(c) ? L'\\' : Upper(c);
  return folded;
}

std::optional<std::uint64_t> BoundedExistence::ListedSize(std::wstring_view path) {
  if (path.empty()) return files_.NormalFileSize(path);

  // Whether a volume may block is asked once a load: the question can cost more than the
  // listing itself (under Wine, several times more).
  const std::wstring volume = VolumeOf(path);
  auto kind = mayBlock_.find(volume);
  if (kind == mayBlock_.end()) kind = mayBlock_.emplace(volume, files_.MayBlock(path)).first;
  if (!kind->second) return files_.NormalFileSize(path);

  if (unreachable_.count(volume)) return std::nullopt;
  std::chrono::milliseconds wait = limits_.perPath;
  if (!answering_.count(volume)) wait = std::min(wait, limits_.perLoad - missed_);
  if (wait <= std::chrono::milliseconds::zero()) {
    unreachable_.insert(volume);
    return std::nullopt;
  }

  const std::optional<bool> answer = files_.IsNormalFileWithin(path, wait);
  if (!answer) {
    missed_ += wait;
    unreachable_.insert(volume);
    return std::nullopt;
  }
  answering_.insert(volume);
  if (!*answer) return std::nullopt;
  return kUnknownFileSize;
}

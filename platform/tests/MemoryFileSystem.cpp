#include "platform/tests/MemoryFileSystem.h"

#include "platform/Error.h"

std::wstring MemoryFileSystem::Fold(std::wstring_view path) {
  std::wstring folded(path);
  for (wchar_t& c : folded)
    if (c >= L'A' && c <= L'Z') c = wchar_t(c - L'A' + L'a');
  return folded;
}

void MemoryFileSystem::AddFile(std::wstring_view path, std::string bytes, unsigned attributes) {
  entries_[Fold(path)] = Entry{std::move(bytes), attributes, false};
}

void MemoryFileSystem::AddDirectory(std::wstring_view path) {
  entries_[Fold(path)] = Entry{{}, 0, true};
}

void MemoryFileSystem::Remove(std::wstring_view path) { entries_.erase(Fold(path)); }
void MemoryFileSystem::FailListing(std::wstring_view path) { failListing_.insert(Fold(path)); }
void MemoryFileSystem::FailReading(std::wstring_view path) { failReading_.insert(Fold(path)); }

bool MemoryFileSystem::IsNormalFile(std::wstring_view path) const {
  ++listings_;
  if (path.empty() || path.find_first_of(L"*?<>\"") != std::wstring_view::npos) return false;
  const std::wstring key = Fold(path);
  if (failListing_.count(key)) throw VbError(68, L"FileExists", L"Device unavailable");
  auto it = entries_.find(key);
  return it != entries_.end() && !it->second.directory &&
         (it->second.attributes & (kHidden | kSystem)) == 0;
}

std::optional<std::string> MemoryFileSystem::ReadAll(std::wstring_view path) const {
  ++reads_;
  const std::wstring key = Fold(path);
  auto it = entries_.find(key);
  if (it == entries_.end() || it->second.directory || failReading_.count(key)) return std::nullopt;
  return it->second.bytes;
}

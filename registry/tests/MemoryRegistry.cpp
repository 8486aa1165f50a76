#include "registry/tests/MemoryRegistry.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kAllAccess = 0xF003F;
constexpr std::uint32_t kCreatedNewKey = 1;
constexpr std::uint32_t kOpenedExistingKey = 2;
constexpr std::int32_t kBadPathname = 161;
constexpr std::int32_t kKeyDeleted = 1018;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

bool IsPredefined(std::uintptr_t h) {
  auto v = static_cast<std::uint32_t>(h);
  return (h >> 31) != 0 && v >= 0x80000000u && v <= 0x80000006u &&
         static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(v))) == h;
}

}  // namespace

MemoryRegistry::MemoryRegistry() = default;
MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Key* MemoryRegistry::Resolve(HKey handle, std::uint32_t* access) const {
  auto h = static_cast<std::uintptr_t>(handle);
  if (IsPredefined(h)) {
    auto& root = const_cast<MemoryRegistry*>(this)->roots_[h];
    if (!root) root = std::make_unique<Key>();
    *access = kAllAccess;
    return root.get();
  }
  auto it = handles_.find(h);
  if (it == handles_.end()) return nullptr;
  *access = it->second.access;
  return it->second.key;
}

HKey MemoryRegistry::NewHandle(Key* key, std::uint32_t access) {
  if (access & kMaximumAllowed) access = kAllAccess;
  auto h = nextHandle_;
  nextHandle_ += 4;
  handles_[h] = Handle{key, access};
  return static_cast<HKey>(h);
}

std::int32_t MemoryRegistry::Open(HKey root, const char* subKey, bool create, std::uint32_t access,
                                  HKey* result, bool* created) {
  std::uint32_t rootAccess = 0;
  Key* key = Resolve(root, &rootAccess);
  if (!key) return reg::kInvalidHandle;
  if (key->deleted) return kKeyDeleted;
  if (!result) return reg::kInvalidParameter;
  std::string_view path = subKey ? subKey : "";
  if (!path.empty() && path.front() == '\\') return kBadPathname;
  if (created) *created = false;
  while (!path.empty()) {
    auto cut = path.find('\\');
    std::string_view part = path.substr(0, cut);
    path = cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
    if (part.empty()) continue;
    auto it = std::find_if(key->subkeys.begin(), key->subkeys.end(),
                           [&](const auto& k) { return SameName(k->name, part); });
    if (it != key->subkeys.end()) {
      key = it->get();
      continue;
    }
    if (!create) return reg::kFileNotFound;
    if (!(rootAccess & reg::kCreateSubKey)) return reg::kAccessDenied;
    key->subkeys.push_back(std::make_unique<Key>());
    key = key->subkeys.back().get();
    key->name = std::string(part);
    if (created) *created = true;
  }
  *result = NewHandle(key, access);
  return reg::kSuccess;
}

std::int32_t MemoryRegistry::RegCreateKeyExA(HKey root, const char* subKey, std::uint32_t,
                                             char*, std::uint32_t, std::uint32_t access,
                                             const void*, HKey* result,
                                             std::uint32_t* disposition) {
  bool created = false;
  std::int32_t rc = Open(root, subKey, true, access, result, &created);
  if (rc == reg::kSuccess && disposition)
    *disposition = created ? kCreatedNewKey : kOpenedExistingKey;
  return rc;
}

std::int32_t MemoryRegistry::RegOpenKeyExA(HKey root, const char* subKey, std::uint32_t,
                                           std::uint32_t access, HKey* result) {
  return Open(root, subKey, false, access, result, nullptr);
}

std::int32_t MemoryRegistry::RegOpenKeyA(HKey root, const char* subKey, HKey* result) {
  return Open(root, subKey, false, kMaximumAllowed, result, nullptr);
}

std::int32_t MemoryRegistry::RegSetValueExA(HKey handle, const char* valueName, std::uint32_t,
                                            std::uint32_t type, const std::uint8_t* data,
                                            std::uint32_t dataSize) {
  std::uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return reg::kInvalidHandle;
  if (key->deleted) return kKeyDeleted;
  if (!(access & reg::kSetValue)) return reg::kAccessDenied;
  if (!data && dataSize) return reg::kInvalidParameter;
  std::string_view name = valueName ? valueName : "";
  std::string bytes(reinterpret_cast<const char*>(data), data ? dataSize : 0);
  for (auto& v : key->values) {
    if (SameName(v.name, name)) {
      v.type = type;
      v.data = std::move(bytes);
      return reg::kSuccess;
    }
  }
  key->values.push_back(Value{std::string(name), type, std::move(bytes)});
  return reg::kSuccess;
}

std::int32_t MemoryRegistry::RegDeleteValueA(HKey handle, const char* valueName) {
  std::uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return reg::kInvalidHandle;
  if (key->deleted) return kKeyDeleted;
  if (!(access & reg::kSetValue)) return reg::kAccessDenied;
  std::string_view name = valueName ? valueName : "";
  auto it = std::find_if(key->values.begin(), key->values.end(),
                         [&](const Value& v) { return SameName(v.name, name); });
  if (it == key->values.end()) return reg::kFileNotFound;
  key->values.erase(it);
  return reg::kSuccess;
}

std::int32_t MemoryRegistry::RegQueryInfoKeyA(HKey handle, char* keyClass,
                                              std::uint32_t* classSize, std::uint32_t*,
                                              std::uint32_t* subKeys, std::uint32_t* maxSubKeyLen,
                                              std::uint32_t* maxClassLen, std::uint32_t* values,
                                              std::uint32_t* maxValueNameLen,
                                              std::uint32_t* maxValueLen,
                                              std::uint32_t* securityDescriptorSize, void*) {
  std::uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return reg::kInvalidHandle;
  if (key->deleted) return kKeyDeleted;
  // Wine answers this on any handle, write-only ones included; the fake follows it.
  if (keyClass && classSize && *classSize > 0) keyClass[0] = '\0';
  if (classSize) *classSize = 0;
  if (subKeys) *subKeys = static_cast<std::uint32_t>(key->subkeys.size());
  if (maxSubKeyLen) {
    std::size_t m = 0;
    for (auto& k : key->subkeys) m = std::max(m, k->name.size());
    *maxSubKeyLen = static_cast<std::uint32_t>(m);
  }
  if (maxClassLen) *maxClassLen = 0;
  if (values) *values = static_cast<std::uint32_t>(key->values.size());
  std::size_t longestName = 0, longestData = 0;
  for (auto& v : key->values) {
    longestName = std::max(longestName, v.name.size());
    longestData = std::max(longestData, v.data.size());
  }
  if (maxValueNameLen) *maxValueNameLen = static_cast<std::uint32_t>(longestName);
  if (maxValueLen) *maxValueLen = static_cast<std::uint32_t>(longestData);
  if (securityDescriptorSize) *securityDescriptorSize = 0;
  return reg::kSuccess;
}

std::int32_t MemoryRegistry::RegEnumValueA(HKey handle, std::uint32_t index, char* valueName,
                                           std::uint32_t* valueNameSize, std::uint32_t*,
                                           std::uint32_t* type, std::uint8_t* data,
                                           std::uint32_t* dataSize) {
  std::uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return reg::kInvalidHandle;
  if (key->deleted) return kKeyDeleted;
  if (!(access & reg::kQueryValue)) return reg::kAccessDenied;
  if (!valueName || !valueNameSize) return reg::kInvalidParameter;
  if (index >= key->values.size()) return reg::kNoMoreItems;
  const Value& v = key->values[index];
  if (v.name.size() + 1 > *valueNameSize) return reg::kMoreData;
  if (data && dataSize && v.data.size() > *dataSize) {
    *dataSize = static_cast<std::uint32_t>(v.data.size());
    return reg::kMoreData;
  }
  std::memcpy(valueName, v.name.c_str(), v.name.size() + 1);
  *valueNameSize = static_cast<std::uint32_t>(v.name.size());
  if (type) *type = v.type;
  if (data && dataSize) std::memcpy(data, v.data.data(), v.data.size());
  if (dataSize) *dataSize = static_cast<std::uint32_t>(v.data.size());
  return reg::kSuccess;
}

std::int32_t MemoryRegistry::RegQueryValueExA(HKey handle, const char* valueName,
                                              std::uint32_t* reserved, std::uint32_t* type,
                                              std::uint8_t* data, std::uint32_t* dataSize) {
  if (reserved || (data && !dataSize)) return reg::kInvalidParameter;
  // Wine clears the outputs it will fill before it looks the value up, as Windows 9x did.
  if (type) *type = 0;
  if (!data && dataSize) *dataSize = 0;
  std::uint32_t access = 0;
  Key* key = Resolve(handle, &access);
  if (!key) return reg::kInvalidHandle;
  if (key->deleted) return kKeyDeleted;
  if (!(access & reg::kQueryValue)) return reg::kAccessDenied;
  std::string_view name = valueName ? valueName : "";
  auto it = std::find_if(key->values.begin(), key->values.end(),
                         [&](const Value& v) { return SameName(v.name, name); });
  if (it == key->values.end()) return reg::kFileNotFound;
  const auto size = static_cast<std::uint32_t>(it->data.size());
  std::int32_t result = reg::kSuccess;
  if (data) {
    if (size > *dataSize)
      result = reg::kMoreData;
    else
      std::memcpy(data, it->data.data(), size);
  }
  if (type) *type = it->type;
  if (dataSize) *dataSize = size;
  return result;
}

std::int32_t MemoryRegistry::RegCloseKey(HKey handle) {
  auto h = static_cast<std::uintptr_t>(handle);
  if (IsPredefined(h)) return reg::kSuccess;
  return handles_.erase(h) ? reg::kSuccess : reg::kInvalidHandle;
}

bool MemoryRegistry::DeleteTree(HKey root, const std::string& subKey) {
  std::uint32_t access = 0;
  Key* parent = Resolve(root, &access);
  if (!parent) return false;
  auto cut = subKey.rfind('\\');
  if (cut != std::string::npos) {
    HKey h{};
    if (Open(root, subKey.substr(0, cut).c_str(), false, kAllAccess, &h, nullptr) != reg::kSuccess)
      return false;
    parent = handles_[static_cast<std::uintptr_t>(h)].key;
    handles_.erase(static_cast<std::uintptr_t>(h));
  }
  std::string leaf = cut == std::string::npos ? subKey : subKey.substr(cut + 1);
  auto it = std::find_if(parent->subkeys.begin(), parent->subkeys.end(),
                         [&](const auto& k) { return SameName(k->name, leaf); });
  if (it == parent->subkeys.end()) return false;
  // Handles still open on the removed keys stay valid to close; every other call on them fails.
  std::vector<Key*> doomed{it->get()};
  for (std::size_t i = 0; i < doomed.size(); ++i)
    for (auto& k : doomed[i]->subkeys) doomed.push_back(k.get());
  for (Key* k : doomed) k->deleted = true;
  deleted_.push_back(std::move(*it));
  parent->subkeys.erase(it);
  return true;
}

#include "registry/tests/MemoryRegistry.h"


namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  return lower;
}

}  // namespace

std::int32_t MemoryRegistry::Resolve(const char* call, HKey handle, Values*& values,
                                     std::string* path) {
  if (calls.Next()) return nthResult_;
  if (fail_.call == call && fail_.skip-- <= 0) return fail_.result;
  std::string named = std::to_string(static_cast<std::uintptr_t>(handle));
  if (const auto open = store_->handles.find(handle); open != store_->handles.end())
    named = open->second;
  else if (handle == kHkeyClassesRoot || handle == kHkeyCurrentUser || handle == kHkeyLocalMachine)
    store_->keys[named];
  else
    return reg::kInvalidHandle;
  const auto key = store_->keys.find(named);
  if (key == store_->keys.end()) return 1018;  // the key was deleted
  values = &key->second;
  if (path) *path = named;
  return reg::kSuccess;
}

std::int32_t MemoryRegistry::Open(const char* call, HKey root, const char* subKey, bool create,
                                  HKey* result) {
  Values* values = nullptr;
  std::string path;
  if (const std::int32_t rc = Resolve(call, root, values, &path)) return rc;
  for (std::string_view rest = subKey ? subKey : ""; !rest.empty();) {
    const std::string_view part = rest.substr(0, rest.find('\\'));
    rest.remove_prefix(std::min(part.size() + 1, rest.size()));
    if (part.empty()) continue;
    path += '\\' + Lower(part);
    if (create) store_->keys[path];
  }
  if (!store_->keys.count(path)) return reg::kFileNotFound;
  *result = static_cast<HKey>(store_->lastHandle += 4);
  store_->handles[*result] = path;
  return reg::kSuccess;
}

MemoryRegistry::Values::iterator MemoryRegistry::Find(Values& values, const char* name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const Value& v) { return Lower(v.name) == Lower(name ? name : ""); });
}

bool MemoryRegistry::DeleteTree(HKey root, const std::string& subKey) {
  HKey key{};
  if (Open("", root, subKey.c_str(), false, &key) != reg::kSuccess) return false;
  const std::string path = store_->handles[key];
  store_->handles.erase(key);
  return std::erase_if(store_->keys, [&](const auto& k) {
    return k.first == path || k.first.starts_with(path + '\\');
  });
}

std::string MemoryRegistry::Put(const char* path, const char* name, std::uint32_t type,
                                std::string_view bytes) {
  HKey key{};
  RegCreateKeyExA(kHkeyCurrentUser, path, 0, nullptr, 0, reg::kWrite, nullptr, &key, nullptr);
  if (type)
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                   static_cast<std::uint32_t>(bytes.size()));
  Values& values = store_->keys[store_->handles[key]];
  const auto v = Find(values, name);
  RegCloseKey(key);
  return v == values.end() ? "none" : std::to_string(v->type) + ":" + v->data;
}

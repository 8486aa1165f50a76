#pragma once
// An in-memory registry that answers the advapi32 calls as Windows does where the add-in relies on
// it: result 2 for a missing key or value, missing parents made by create, names compared without
// regard to case, values enumerated in creation order, 234 for a name or data over its buffer, data
// kept as the bytes given (NULs included). A test may make its calls fail, for the paths a real
// registry cannot be made to take. Access rights and the key's class are not modelled.

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/tests/CallCounter.h"
#include "registry/RegistryApi.h"

class MemoryRegistry final : public RegistryApi {
 public:
  MemoryRegistry() = default;
  /// Another registry over the same keys and handles, whose failures are its own: the code under
  /// test is given the view that fails, and the test looks at what is stored through this one.
  MemoryRegistry View() { return MemoryRegistry(store_); }

  /// Calls named call fail with result from the (skip + 1)th on; "" fails none.
  void Fail(std::string call, std::int32_t result, int skip = 0) {
    fail_ = {std::move(call), result, skip};
  }
  /// The nth call from now (RegCloseKey not counted) answers result; 0 fails none.
  void FailCall(int n, std::int32_t result = reg::kAccessDenied) {
    calls.FailCall(n);
    nthResult_ = result;
  }
  CallCounter calls;

  /// Handles opened and not yet closed: a leak check for the callers' tests.
  std::size_t OpenHandles() const { return store_->handles.size() - 3; }
  /// Removes a key with its subkeys and values, as RegDeleteTree does; false when absent. Calls on
  /// a handle still open on a removed key answer 1018; closing it succeeds.
  bool DeleteTree(HKey root, const std::string& subKey) {
    HKey key{};
    if (Open("", root, subKey.c_str(), false, &key) != reg::kSuccess) return false;
    const auto open = store_->handles.find(key);
    if (open == store_->handles.end()) return false;
    const std::string path = open->second;
    store_->handles.erase(open);
    return std::erase_if(store_->keys, [&](const auto& k) {
      return k.first == path || k.first.starts_with(path + '\\');
    });
  }

  std::int32_t RegCreateKeyExA(HKey root, const char* subKey, std::uint32_t, char*, std::uint32_t,
                               std::uint32_t, const void*, HKey* result, std::uint32_t*) override {
    return Open("RegCreateKeyExA", root, subKey, true, result);
  }
  std::int32_t RegOpenKeyExA(HKey root, const char* subKey, std::uint32_t, std::uint32_t,
                             HKey* result) override {
    return Open("RegOpenKeyExA", root, subKey, false, result);
  }
  std::int32_t RegOpenKeyA(HKey root, const char* subKey, HKey* result) override {
    return Open("RegOpenKeyA", root, subKey, false, result);
  }
  std::int32_t RegSetValueExA(HKey key, const char* name, std::uint32_t, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) override {
    return On("RegSetValueExA", key, [&](std::string&, Values& values) {
      auto v = Find(values, name);  // the name keeps its first spelling
      if (v == values.end()) v = values.insert(v, {name ? name : "", {}, 0});
      v->data.assign(reinterpret_cast<const char*>(data), size), v->type = type;
      return reg::kSuccess;
    });
  }
  std::int32_t RegDeleteValueA(HKey key, const char* name) override {
    return On("RegDeleteValueA", key, [&](std::string&, Values& values) {
      const auto v = Find(values, name);
      return v == values.end() ? reg::kFileNotFound : (values.erase(v), reg::kSuccess);
    });
  }
  std::int32_t RegQueryInfoKeyA(HKey key, char*, std::uint32_t*, std::uint32_t*, std::uint32_t*,
                                std::uint32_t*, std::uint32_t*, std::uint32_t* count,
                                std::uint32_t* longestName, std::uint32_t* longestData,
                                std::uint32_t*, void*) override {
    return On("RegQueryInfoKeyA", key, [&](std::string&, Values& values) {
      if (count) *count = static_cast<std::uint32_t>(values.size());
      *longestName = *longestData = 0;
      for (const Value& v : values) {
        *longestName = std::max(*longestName, static_cast<std::uint32_t>(v.name.size()));
        *longestData = std::max(*longestData, static_cast<std::uint32_t>(v.data.size()));
      }
      return reg::kSuccess;
    });
  }
  std::int32_t RegEnumValueA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                             std::uint32_t*, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* dataSize) override {
    return On("RegEnumValueA", key, [&](std::string&, Values& values) {
      if (index >= values.size()) return reg::kNoMoreItems;
      const Value& v = values[index];
      if (v.name.size() >= *nameSize || v.data.size() > *dataSize) return reg::kMoreData;
      std::memcpy(name, v.name.c_str(), (*nameSize = v.name.size()) + 1);
      std::memcpy(data, v.data.data(), *dataSize = v.data.size());
      if (type) *type = v.type;
      return reg::kSuccess;
    });
  }
  std::int32_t RegQueryValueExA(HKey key, const char* name, std::uint32_t*, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* dataSize) override {
    return On("RegQueryValueExA", key, [&](std::string&, Values& values) {
      const auto v = Find(values, name);
      if (v == values.end()) return reg::kFileNotFound;
      const bool fits = !data || v->data.size() <= *dataSize;
      if (data && fits) std::memcpy(data, v->data.data(), v->data.size());
      if (type) *type = v->type;
      if (dataSize) *dataSize = v->data.size();
      return fits ? reg::kSuccess : reg::kMoreData;
    });
  }
  std::int32_t RegCloseKey(HKey key) override {
    return store_->handles.erase(key) ? reg::kSuccess : reg::kInvalidHandle;
  }

 private:
  struct Value {
    std::string name, data;
    std::uint32_t type;
  };
  using Values = std::vector<Value>;  // in creation order
  struct Store {
    std::map<std::string, Values> keys{{"0", {}}, {"1", {}}, {"2", {}}};  // by path in lower case
    // The roots, open for good, by their paths; then the keys opened.
    std::map<HKey, std::string> handles{
        {kHkeyClassesRoot, "0"}, {kHkeyCurrentUser, "1"}, {kHkeyLocalMachine, "2"}};
    std::uintptr_t lastHandle = 0x100;
  };
  explicit MemoryRegistry(std::shared_ptr<Store> store) : store_(std::move(store)) {}

  // What the named call answers on the key a handle names: then's answer, given the key's path
  // and values.
  template <typename Then>
  std::int32_t On(const char* call, HKey handle, Then then) {
    if (calls.Next()) return nthResult_;
    if (!fail_.call.empty() && fail_.call == call && fail_.skip-- <= 0) return fail_.result;
    const auto open = store_->handles.find(handle);
    if (open == store_->handles.end()) return reg::kInvalidHandle;
    std::string path = open->second;
    const auto key = store_->keys.find(path);
    return key != store_->keys.end() ? then(path, key->second) : 1018;  // or the key was deleted
  }
  std::int32_t Open(const char* call, HKey root, const char* subKey, bool create, HKey* result) {
    return On(call, root, [&](std::string& path, Values&) {
      for (std::string_view rest = subKey ? subKey : ""; !rest.empty();) {
        const std::string_view part = rest.substr(0, rest.find('\\'));
        rest.remove_prefix(std::min(part.size() + 1, rest.size()));
        if (!part.empty()) path += '\\' + Lower(part);
        if (create) store_->keys[path];
      }
      if (!store_->keys.count(path)) return reg::kFileNotFound;
      *result = static_cast<HKey>(store_->lastHandle += 4);
      store_->handles[*result] = path;
      return reg::kSuccess;
    });
  }
  static std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return lower;
  }
  static Values::iterator Find(Values& values, const char* name) {
    return std::find_if(values.begin(), values.end(),
                        [&](const Value& v) { return Lower(v.name) == Lower(name ? name : ""); });
  }

  std::shared_ptr<Store> store_ = std::make_shared<Store>();
  struct {
    std::string call;
    std::int32_t result, skip;
  } fail_{};
  std::int32_t nthResult_ = reg::kAccessDenied;
};

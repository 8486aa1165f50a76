#pragma once
// An in-memory registry that answers the advapi32 calls as Windows does: result 2 for a missing
// key or value, missing parents made by create, names compared without regard to case, values
// enumerated in creation order, 234 for a name or data over its buffer, data kept as the bytes
// given (NULs included), access checked against the rights a handle was opened with.

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry/RegistryApi.h"

class MemoryRegistry final : public RegistryApi {
 public:
  MemoryRegistry();
  ~MemoryRegistry() override;

  std::int32_t RegCreateKeyExA(HKey root, const char* subKey, std::uint32_t reserved,
                               char* keyClass, std::uint32_t options, std::uint32_t access,
                               const void* security, HKey* result,
                               std::uint32_t* disposition) override;
  std::int32_t RegSetValueExA(HKey key, const char* valueName, std::uint32_t reserved,
                              std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t dataSize) override;
  std::int32_t RegOpenKeyExA(HKey root, const char* subKey, std::uint32_t options,
                             std::uint32_t access, HKey* result) override;
  std::int32_t RegDeleteValueA(HKey key, const char* valueName) override;
  std::int32_t RegOpenKeyA(HKey root, const char* subKey, HKey* result) override;
  std::int32_t RegQueryInfoKeyA(HKey key, char* keyClass, std::uint32_t* classSize,
                                std::uint32_t* reserved, std::uint32_t* subKeys,
                                std::uint32_t* maxSubKeyLen, std::uint32_t* maxClassLen,
                                std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                std::uint32_t* maxValueLen, std::uint32_t* securityDescriptorSize,
                                void* lastWriteTime) override;
  std::int32_t RegEnumValueA(HKey key, std::uint32_t index, char* valueName,
                             std::uint32_t* valueNameSize, std::uint32_t* reserved,
                             std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* dataSize) override;
  std::int32_t RegQueryValueExA(HKey key, const char* valueName, std::uint32_t* reserved,
                                std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* dataSize) override;
  std::int32_t RegCloseKey(HKey key) override;

  /// Handles opened and not yet closed: a leak check for the callers' tests.
  std::size_t OpenHandles() const { return handles_.size(); }

  /// Removes a key with its subkeys and values, as RegDeleteTree does; false when absent.
  bool DeleteTree(HKey root, const std::string& subKey);

 private:
  struct Value {
    std::string name;
    std::uint32_t type;
    std::string data;
  };
  struct Key {
    std::string name;
    std::vector<std::unique_ptr<Key>> subkeys;
    std::vector<Value> values;  // creation order
    bool deleted = false;       // removed while a handle still named it
  };
  struct Handle {
    Key* key;
    std::uint32_t access;
  };

  // The key a handle stands for, or null; (access) gets the rights it was opened with.
  Key* Resolve(HKey handle, std::uint32_t* access) const;
  std::int32_t Open(HKey root, const char* subKey, bool create, std::uint32_t access, HKey* result,
                    bool* created);
  HKey NewHandle(Key* key, std::uint32_t access);

  std::map<std::uintptr_t, std::unique_ptr<Key>> roots_;
  std::map<std::uintptr_t, Handle> handles_;
  std::vector<std::unique_ptr<Key>> deleted_;  // kept while handles may still name them
  std::uintptr_t nextHandle_ = 0x100;
};

#pragma once
#include "registry/RegistryApi.h"

/// The registry calls as advapi32 answers them.
class Advapi32Registry final : public RegistryApi {
 public:
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
};

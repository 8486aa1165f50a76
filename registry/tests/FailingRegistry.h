#pragma once
// Passes every call to a registry except the one a test names, which answers a result code of
// the test's choosing: for the failure paths that a real registry cannot be made to take.

#include <string>

#include "registry/RegistryApi.h"

class FailingRegistry final : public RegistryApi {
 public:
  explicit FailingRegistry(RegistryApi& inner) : inner_(inner) {}

  /// Calls named call fail with result from the (skip + 1)th on; "" fails none.
  void Fail(std::string call, std::int32_t result, int skip = 0) {
    call_ = std::move(call);
    result_ = result;
    skip_ = skip;
  }

  std::int32_t RegCreateKeyExA(HKey root, const char* subKey, std::uint32_t reserved, char* cls,
                               std::uint32_t options, std::uint32_t access, const void* security,
                               HKey* result, std::uint32_t* disposition) override {
    if (Failing("RegCreateKeyExA")) return result_;
    return inner_.RegCreateKeyExA(root, subKey, reserved, cls, options, access, security, result,
                                  disposition);
  }
  std::int32_t RegSetValueExA(HKey key, const char* name, std::uint32_t reserved,
                              std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) override {
    if (Failing("RegSetValueExA")) return result_;
    return inner_.RegSetValueExA(key, name, reserved, type, data, size);
  }
  std::int32_t RegOpenKeyExA(HKey root, const char* subKey, std::uint32_t options,
                             std::uint32_t access, HKey* result) override {
    if (Failing("RegOpenKeyExA")) return result_;
    return inner_.RegOpenKeyExA(root, subKey, options, access, result);
  }
  std::int32_t RegDeleteValueA(HKey key, const char* name) override {
    if (Failing("RegDeleteValueA")) return result_;
    return inner_.RegDeleteValueA(key, name);
  }
  std::int32_t RegOpenKeyA(HKey root, const char* subKey, HKey* result) override {
    if (Failing("RegOpenKeyA")) return result_;
    return inner_.RegOpenKeyA(root, subKey, result);
  }
  std::int32_t RegQueryInfoKeyA(HKey key, char* cls, std::uint32_t* clsSize,
                                std::uint32_t* reserved, std::uint32_t* subKeys,
                                std::uint32_t* maxSubKeyLen, std::uint32_t* maxClassLen,
                                std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                std::uint32_t* maxValueLen, std::uint32_t* securitySize,
                                void* lastWrite) override {
    if (Failing("RegQueryInfoKeyA")) return result_;
    return inner_.RegQueryInfoKeyA(key, cls, clsSize, reserved, subKeys, maxSubKeyLen,
                                   maxClassLen, values, maxValueNameLen, maxValueLen,
                                   securitySize, lastWrite);
  }
  std::int32_t RegEnumValueA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                             std::uint32_t* reserved, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* dataSize) override {
    if (Failing("RegEnumValueA")) return result_;
    return inner_.RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
  }
  std::int32_t RegQueryValueExA(HKey key, const char* name, std::uint32_t* reserved,
                                std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* dataSize) override {
    if (Failing("RegQueryValueExA")) return result_;
    return inner_.RegQueryValueExA(key, name, reserved, type, data, dataSize);
  }
  std::int32_t RegCloseKey(HKey key) override { return inner_.RegCloseKey(key); }

 private:
  bool Failing(const char* call) {
    if (call_ != call) return false;
    return skip_-- <= 0;
  }

  RegistryApi& inner_;  // not owned
  std::string call_;
  std::int32_t result_ = 0;
  int skip_ = 0;
};

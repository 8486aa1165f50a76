#pragma once
// Passes every call to a registry except the one a test names, which answers a result code of
// the test's choosing: for the failure paths that a real registry cannot be made to take. A test
// may also fail the call at a given place in the run, whichever it is (closing never fails).

#include <optional>
#include <string>

#include "platform/tests/CallCounter.h"
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

  /// The nth call from now (RegCloseKey not counted) answers result; 0 fails none.
  void FailCall(int n, std::int32_t result = 5) {
    calls.FailCall(n);
    nthResult_ = result;
  }
  CallCounter calls;

  std::int32_t RegCreateKeyExA(HKey root, const char* subKey, std::uint32_t reserved, char* cls,
                               std::uint32_t options, std::uint32_t access, const void* security,
                               HKey* result, std::uint32_t* disposition) override {
    if (const auto failed = Failing("RegCreateKeyExA")) return *failed;
    return inner_.RegCreateKeyExA(root, subKey, reserved, cls, options, access, security, result,
                                  disposition);
  }
  std::int32_t RegSetValueExA(HKey key, const char* name, std::uint32_t reserved,
                              std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) override {
    if (const auto failed = Failing("RegSetValueExA")) return *failed;
    return inner_.RegSetValueExA(key, name, reserved, type, data, size);
  }
  std::int32_t RegOpenKeyExA(HKey root, const char* subKey, std::uint32_t options,
                             std::uint32_t access, HKey* result) override {
    if (const auto failed = Failing("RegOpenKeyExA")) return *failed;
    return inner_.RegOpenKeyExA(root, subKey, options, access, result);
  }
  std::int32_t RegDeleteValueA(HKey key, const char* name) override {
    if (const auto failed = Failing("RegDeleteValueA")) return *failed;
    return inner_.RegDeleteValueA(key, name);
  }
  std::int32_t RegOpenKeyA(HKey root, const char* subKey, HKey* result) override {
    if (const auto failed = Failing("RegOpenKeyA")) return *failed;
    return inner_.RegOpenKeyA(root, subKey, result);
  }
  std::int32_t RegQueryInfoKeyA(HKey key, char* cls, std::uint32_t* clsSize,
                                std::uint32_t* reserved, std::uint32_t* subKeys,
                                std::uint32_t* maxSubKeyLen, std::uint32_t* maxClassLen,
                                std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                std::uint32_t* maxValueLen, std::uint32_t* securitySize,
                                void* lastWrite) override {
    if (const auto failed = Failing("RegQueryInfoKeyA")) return *failed;
    return inner_.RegQueryInfoKeyA(key, cls, clsSize, reserved, subKeys, maxSubKeyLen,
                                   maxClassLen, values, maxValueNameLen, maxValueLen,
                                   securitySize, lastWrite);
  }
  std::int32_t RegEnumValueA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                             std::uint32_t* reserved, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* dataSize) override {
    if (const auto failed = Failing("RegEnumValueA")) return *failed;
    return inner_.RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
  }
  std::int32_t RegQueryValueExA(HKey key, const char* name, std::uint32_t* reserved,
                                std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* dataSize) override {
    if (const auto failed = Failing("RegQueryValueExA")) return *failed;
    return inner_.RegQueryValueExA(key, name, reserved, type, data, dataSize);
  }
  std::int32_t RegCloseKey(HKey key) override { return inner_.RegCloseKey(key); }

 private:
  std::optional<std::int32_t> Failing(const char* call) {
    if (calls.Next()) return nthResult_;
    if (call_ != call || skip_-- > 0) return std::nullopt;
    return result_;
  }

  RegistryApi& inner_;  // not owned
  std::string call_;
  std::int32_t result_ = 0;
  int skip_ = 0;
  std::int32_t nthResult_ = 5;
};

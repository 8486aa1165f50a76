#include "registry/win32/Advapi32Registry.h"

#include <windows.h>

namespace {

HKEY ToHkey(HKey key) { return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key)); }
HKey FromHkey(HKEY key) { return static_cast<HKey>(reinterpret_cast<std::uintptr_t>(key)); }

// advapi32 takes DWORD (unsigned long) where the interface has uint32_t: copy in and out.
class DwordArg {
 public:
  explicit DwordArg(std::uint32_t* p) : p_(p), v_(p ? *p : 0) {}
  ~DwordArg() {
    if (p_) *p_ = static_cast<std::uint32_t>(v_);
  }
  DWORD* get() { return p_ ? &v_ : nullptr; }

 private:
  std::uint32_t* p_;
  DWORD v_;
};

}  // namespace

std::int32_t Advapi32Registry::RegCreateKeyExA(HKey root, const char* subKey,
                                               std::uint32_t reserved, char* keyClass,
                                               std::uint32_t options, std::uint32_t access,
                                               const void* security, HKey* result,
                                               std::uint32_t* disposition) {
  HKEY key = nullptr;
  DwordArg disp(disposition);
  LONG rc = ::RegCreateKeyExA(ToHkey(root), subKey, reserved, keyClass, options, access,
                              static_cast<SECURITY_ATTRIBUTES*>(const_cast<void*>(security)),
                              &key, disp.get());
  if (rc == ERROR_SUCCESS && result) *result = FromHkey(key);
  return rc;
}

std::int32_t Advapi32Registry::RegSetValueExA(HKey key, const char* valueName,
                                              std::uint32_t reserved, std::uint32_t type,
                                              const std::uint8_t* data, std::uint32_t dataSize) {
  return ::RegSetValueExA(ToHkey(key), valueName, reserved, type, data, dataSize);
}

std::int32_t Advapi32Registry::RegOpenKeyExA(HKey root, const char* subKey, std::uint32_t options,
                                             std::uint32_t access, HKey* result) {
  HKEY key = nullptr;
  LONG rc = ::RegOpenKeyExA(ToHkey(root), subKey, options, access, &key);
  if (rc == ERROR_SUCCESS && result) *result = FromHkey(key);
  return rc;
}

std::int32_t Advapi32Registry::RegDeleteValueA(HKey key, const char* valueName) {
  return ::RegDeleteValueA(ToHkey(key), valueName);
}

std::int32_t Advapi32Registry::RegOpenKeyA(HKey root, const char* subKey, HKey* result) {
  HKEY key = nullptr;
  LONG rc = ::RegOpenKeyA(ToHkey(root), subKey, &key);
  if (rc == ERROR_SUCCESS && result) *result = FromHkey(key);
  return rc;
}

std::int32_t Advapi32Registry::RegQueryInfoKeyA(
    HKey key, char* keyClass, std::uint32_t* classSize, std::uint32_t* reserved,
    std::uint32_t* subKeys, std::uint32_t* maxSubKeyLen, std::uint32_t* maxClassLen,
    std::uint32_t* values, std::uint32_t* maxValueNameLen, std::uint32_t* maxValueLen,
    std::uint32_t* securityDescriptorSize, void* lastWriteTime) {
  DwordArg cls(classSize), res(reserved), sub(subKeys), maxSub(maxSubKeyLen), maxCls(maxClassLen),
      val(values), maxName(maxValueNameLen), maxVal(maxValueLen), sec(securityDescriptorSize);
  return ::RegQueryInfoKeyA(ToHkey(key), keyClass, cls.get(), res.get(), sub.get(), maxSub.get(),
                            maxCls.get(), val.get(), maxName.get(), maxVal.get(), sec.get(),
                            static_cast<FILETIME*>(lastWriteTime));
}

std::int32_t Advapi32Registry::RegEnumValueA(HKey key, std::uint32_t index, char* valueName,
                                             std::uint32_t* valueNameSize, std::uint32_t* reserved,
                                             std::uint32_t* type, std::uint8_t* data,
                                             std::uint32_t* dataSize) {
  DwordArg nameSize(valueNameSize), res(reserved), typ(type), size(dataSize);
  return ::RegEnumValueA(ToHkey(key), index, valueName, nameSize.get(), res.get(), typ.get(), data,
                         size.get());
}

std::int32_t Advapi32Registry::RegQueryValueExA(HKey key, const char* valueName,
                                                std::uint32_t* reserved, std::uint32_t* type,
                                                std::uint8_t* data, std::uint32_t* dataSize) {
  DwordArg res(reserved), typ(type), size(dataSize);
  return ::RegQueryValueExA(ToHkey(key), valueName, res.get(), typ.get(), data, size.get());
}

std::int32_t Advapi32Registry::RegCloseKey(HKey key) { return ::RegCloseKey(ToHkey(key)); }

#pragma once
// Test doubles for the About box: a shell and a message box that record what they are asked,
// and a registry wrapper that records how keys are opened, queried and closed.

#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "registry/RegistryApi.h"

class RecordingShell final : public Shell {
 public:
  struct Opened {
    std::wstring target;
    Window owner;
  };
  struct Started {
    std::wstring commandLine;
    int windowStyle;
  };

  void Open(std::wstring_view target, Window owner) override {
    opened.push_back({std::wstring(target), owner});
  }
  /// Records the call, then fails as the real shell does for an empty command line, and for
  /// every command line while failStarts is set.
  void Start(std::wstring_view commandLine, int windowStyle) override {
    started.push_back({std::wstring(commandLine), windowStyle});
    if (commandLine.empty()) throw VbError(5, L"Shell", L"Invalid procedure call or argument");
    if (failStarts) throw VbError(53, L"Shell", L"File not found");
  }

  bool failStarts = false;
  std::vector<Opened> opened;
  std::vector<Started> started;
};

class RecordingMsgBox final : public MsgBox {
 public:
  struct Shown {
    std::wstring prompt;
    int style;
    std::wstring title;
  };
  /// Records the message; the user answers OK (1).
  int Show(std::wstring_view prompt, int style, std::wstring_view title) override {
    shown.push_back({std::wstring(prompt), style, std::wstring(title)});
    return 1;
  }
  std::vector<Shown> shown;
};

/// Passes every call on, recording the arguments of the open, query and close calls.
class RecordingRegistry final : public RegistryApi {
 public:
  struct Open {
    HKey root;
    std::string subKey;
    std::uint32_t options;
    std::uint32_t access;
    std::int32_t result;
    HKey key;
  };
  struct Query {
    HKey key;
    std::string valueName;
    bool reservedGiven;
    bool bufferGiven;
    std::uint32_t bufferSize;
  };

  explicit RecordingRegistry(RegistryApi& inner) : inner_(inner) {}

  std::int32_t RegOpenKeyExA(HKey root, const char* subKey, std::uint32_t options,
                             std::uint32_t access, HKey* result) override {
    std::int32_t rc = inner_.RegOpenKeyExA(root, subKey, options, access, result);
    opens.push_back(
        {root, subKey ? subKey : "", options, access, rc, rc == 0 && result ? *result : HKey{}});
    return rc;
  }
  std::int32_t RegQueryValueExA(HKey key, const char* name, std::uint32_t* reserved,
                                std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* dataSize) override {
    queries.push_back(
        {key, name ? name : "", reserved != nullptr, data != nullptr, dataSize ? *dataSize : 0});
    return inner_.RegQueryValueExA(key, name, reserved, type, data, dataSize);
  }
  std::int32_t RegCloseKey(HKey key) override {
    closes.push_back(key);
    return inner_.RegCloseKey(key);
  }

  std::int32_t RegCreateKeyExA(HKey root, const char* subKey, std::uint32_t reserved, char* cls,
                               std::uint32_t options, std::uint32_t access, const void* security,
                               HKey* result, std::uint32_t* disposition) override {
    return inner_.RegCreateKeyExA(root, subKey, reserved, cls, options, access, security, result,
                                  disposition);
  }
  std::int32_t RegSetValueExA(HKey key, const char* name, std::uint32_t reserved,
                              std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) override {
    return inner_.RegSetValueExA(key, name, reserved, type, data, size);
  }
  std::int32_t RegDeleteValueA(HKey key, const char* name) override {
    return inner_.RegDeleteValueA(key, name);
  }
  std::int32_t RegOpenKeyA(HKey root, const char* subKey, HKey* result) override {
    return inner_.RegOpenKeyA(root, subKey, result);
  }
  std::int32_t RegQueryInfoKeyA(HKey key, char* cls, std::uint32_t* clsSize,
                                std::uint32_t* reserved, std::uint32_t* subKeys,
                                std::uint32_t* maxSubKeyLen, std::uint32_t* maxClassLen,
                                std::uint32_t* values, std::uint32_t* maxValueNameLen,
                                std::uint32_t* maxValueLen, std::uint32_t* securitySize,
                                void* lastWrite) override {
    return inner_.RegQueryInfoKeyA(key, cls, clsSize, reserved, subKeys, maxSubKeyLen, maxClassLen,
                                   values, maxValueNameLen, maxValueLen, securitySize, lastWrite);
  }
  std::int32_t RegEnumValueA(HKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                             std::uint32_t* reserved, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* dataSize) override {
    return inner_.RegEnumValueA(key, index, name, nameSize, reserved, type, data, dataSize);
  }

  std::vector<Open> opens;
  std::vector<Query> queries;
  std::vector<HKey> closes;

 private:
  RegistryApi& inner_;  // not owned
};

#pragma once
// The registries the contract runs against: the in-memory one, and under Windows advapi32 itself.
// Each test's keys go below its own key of the host language's settings store, so that they are the
// settings of an application of the test's own; the real registry's world removes it after.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "registry/RegistryApi.h"

struct RegistryWorld {
  virtual ~RegistryWorld() = default;
  std::unique_ptr<RegistryApi> api;
  std::string app = "Marrowby Tests";  // the settings' application, whose key is
                                       // the test's own
};

/// Every registry this build can test against, by name.
std::vector<std::pair<std::string, std::function<std::unique_ptr<RegistryWorld>()>>>
RegistryWorlds();
/// The real registry. Windows builds only.
std::unique_ptr<RegistryWorld> MakeRealRegistryWorld();

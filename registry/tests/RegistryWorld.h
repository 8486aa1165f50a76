#pragma once
// The registries the contract runs against: the in-memory one, and under Windows advapi32 itself,
// below a key of HKEY_CURRENT_USER that the world removes afterwards.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "registry/RegistryApi.h"

struct RegistryWorld {
  virtual ~RegistryWorld() = default;
  std::unique_ptr<RegistryApi> api;
  std::string root = "Software\\Marrowby Tests\\Memory";  // a key of the test's own
  bool sortsValues = false;  // Wine enumerates values sorted by name, Windows in creation order
};

struct RegistryWorldMaker {
  std::string name;
  std::function<std::unique_ptr<RegistryWorld>()> make;
};

/// Every registry this build can test against.
std::vector<RegistryWorldMaker> RegistryWorlds();
/// The real registry. Windows builds only.
std::unique_ptr<RegistryWorld> MakeRealRegistryWorld();

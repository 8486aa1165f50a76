#pragma once
// The registries the contract runs against: the in-memory one, and under Windows the real one,
// below a key of HKEY_CURRENT_USER that the world removes afterwards.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryApi.h"

class RegistryWorld {
 public:
  virtual ~RegistryWorld() = default;
  virtual RegistryApi& Api() = 0;
  /// Handles opened and not closed, where the world can count them.
  virtual std::optional<std::size_t> OpenHandles() const = 0;
  std::string root = "Software\\Marrowby Tests\\Memory";  // a key of this test's own
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

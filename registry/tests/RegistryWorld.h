#pragma once
// A registry for a test to work in: the in-memory one, and under Windows the real one below a
// key of HKEY_CURRENT_USER that the world removes afterwards.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "registry/RegistryApi.h"

class RegistryWorld {
 public:
  virtual ~RegistryWorld() = default;
  virtual RegistryApi& Api() = 0;
  virtual const CodePage& Ansi() const = 0;
  /// A key path below HKEY_CURRENT_USER that belongs to this test alone.
  virtual const std::string& Root() const = 0;
  /// True where enumeration keeps the order values were created in (Windows and the in-memory
  /// registry); Wine lists them sorted by name.
  virtual bool KeepsCreationOrder() const = 0;
  /// Handles opened and not closed, where the world can count them.
  virtual std::optional<std::size_t> OpenHandles() const = 0;
};

struct RegistryWorldMaker {
  std::string name;
  std::function<std::unique_ptr<RegistryWorld>()> make;
};

/// Every registry this build can test against.
std::vector<RegistryWorldMaker> RegistryWorlds();

/// The real registry, below a key of its own that it removes. Windows builds only.
std::unique_ptr<RegistryWorld> MakeRealRegistryWorld();

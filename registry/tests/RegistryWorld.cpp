#include "registry/tests/RegistryWorld.h"

#include "registry/tests/MemoryRegistry.h"

std::vector<std::pair<std::string, std::function<std::unique_ptr<RegistryWorld>()>>>
RegistryWorlds() {
  const auto memory = [] {
    auto world = std::make_unique<RegistryWorld>();
    world->api = std::make_unique<MemoryRegistry>();
    return world;
  };
#ifdef _WIN32
  return {{"Memory", memory}, {"Advapi32", MakeRealRegistryWorld}};
#else
  return {{"Memory", memory}};
#endif
}

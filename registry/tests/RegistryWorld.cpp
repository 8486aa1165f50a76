#include "registry/tests/RegistryWorld.h"

#include "registry/tests/MemoryRegistry.h"

std::vector<RegistryWorldMaker> RegistryWorlds() {
  std::vector<RegistryWorldMaker> worlds{{"Memory", [] {
                                            auto world = std::make_unique<RegistryWorld>();
                                            world->api = std::make_unique<MemoryRegistry>();
                                            return world;
                                          }}};
#ifdef _WIN32
  worlds.push_back({"Advapi32", MakeRealRegistryWorld});
#endif
  return worlds;
}

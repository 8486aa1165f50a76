#include "registry/tests/RegistryWorld.h"

#include "registry/tests/MemoryRegistry.h"

namespace {

class MemoryRegistryWorld final : public RegistryWorld {
 public:
  RegistryApi& Api() override { return registry_; }
  std::optional<std::size_t> OpenHandles() const override { return registry_.OpenHandles(); }

 private:
  MemoryRegistry registry_;
};

}  // namespace

std::vector<RegistryWorldMaker> RegistryWorlds() {
  std::vector<RegistryWorldMaker> worlds{
      {"Memory", [] { return std::make_unique<MemoryRegistryWorld>(); }}};
#ifdef _WIN32
  worlds.push_back({"Advapi32", [] { return MakeRealRegistryWorld(); }});
#endif
  return worlds;
}

#include "registry/tests/RegistryWorld.h"

#include "registry/tests/MemoryRegistry.h"

namespace {

class MemoryRegistryWorld final : public RegistryWorld {
 public:
  RegistryApi& Api() override { return registry_; }
  const CodePage& Ansi() const override { return ansi_; }
  const std::string& Root() const override { return root_; }
  bool KeepsCreationOrder() const override { return true; }
  std::optional<std::size_t> OpenHandles() const override { return registry_.OpenHandles(); }

 private:
  MemoryRegistry registry_;
  Windows1252CodePage ansi_;
  std::string root_ = "Software\\Marrowby Tests\\Memory";
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

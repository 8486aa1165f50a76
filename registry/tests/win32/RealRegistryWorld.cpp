#include <windows.h>

#include "registry/tests/RegistryWorld.h"
#include "registry/win32/Advapi32Registry.h"

namespace {

struct RealRegistryWorld final : RegistryWorld {
  RealRegistryWorld() {
    api = std::make_unique<Advapi32Registry>();
    app += " " + std::to_string(::GetCurrentProcessId());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, Key().c_str());
  }
  ~RealRegistryWorld() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, Key().c_str()); }
  std::string Key() const { return "Software\\VB and VBA Program Settings\\" + app; }
};

}  // namespace

std::unique_ptr<RegistryWorld> MakeRealRegistryWorld() {
  return std::make_unique<RealRegistryWorld>();
}

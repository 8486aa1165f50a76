#include <windows.h>

#include "registry/tests/RegistryWorld.h"
#include "registry/win32/Advapi32Registry.h"

namespace {

constexpr char kTestsKey[] = "Software\\Marrowby Tests";

struct RealRegistryWorld final : RegistryWorld {
  RealRegistryWorld() {
    api = std::make_unique<Advapi32Registry>();
    root = std::string(kTestsKey) + "\\" + std::to_string(::GetCurrentProcessId());
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    sortsValues = ntdll && ::GetProcAddress(ntdll, "wine_get_version");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
  }
  ~RealRegistryWorld() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestsKey);  // only goes when no other test's key is left
  }
};

}  // namespace

std::unique_ptr<RegistryWorld> MakeRealRegistryWorld() {
  return std::make_unique<RealRegistryWorld>();
}

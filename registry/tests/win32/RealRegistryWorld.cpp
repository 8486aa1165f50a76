#include <windows.h>

#include "registry/tests/RegistryWorld.h"
#include "registry/win32/Advapi32Registry.h"

namespace {

constexpr char kTestsKey[] = "Software\\Marrowby Tests";

class RealRegistryWorld final : public RegistryWorld {
 public:
  RealRegistryWorld() {
    static unsigned counter = 0;
    root = std::string(kTestsKey) + "\\" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(++counter);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    sortsValues = ntdll && ::GetProcAddress(ntdll, "wine_get_version");
  }
  ~RealRegistryWorld() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestsKey);  // only goes when no other test's key is left
  }
  RegistryApi& Api() override { return registry_; }
  std::optional<std::size_t> OpenHandles() const override { return std::nullopt; }

 private:
  Advapi32Registry registry_;
};

}  // namespace

std::unique_ptr<RegistryWorld> MakeRealRegistryWorld() {
  return std::make_unique<RealRegistryWorld>();
}

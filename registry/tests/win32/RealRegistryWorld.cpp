#include <windows.h>

#include "platform/win32/Win32CodePage.h"
#include "registry/tests/RegistryWorld.h"
#include "registry/win32/Advapi32Registry.h"

namespace {

constexpr char kTestsKey[] = "Software\\Marrowby Tests";

bool RunningOnWine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

class RealRegistryWorld final : public RegistryWorld {
 public:
  RealRegistryWorld() {
    static unsigned counter = 0;
    root_ = std::string(kTestsKey) + "\\" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
  }
  ~RealRegistryWorld() override {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, root_.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestsKey);  // only goes when no other test's key is left
  }

  RegistryApi& Api() override { return registry_; }
  const CodePage& Ansi() const override { return ansi_; }
  const std::string& Root() const override { return root_; }
  bool KeepsCreationOrder() const override { return !RunningOnWine(); }
  std::optional<std::size_t> OpenHandles() const override { return std::nullopt; }

 private:
  Advapi32Registry registry_;
  Win32CodePage ansi_;
  std::string root_;
};

}  // namespace

std::unique_ptr<RegistryWorld> MakeRealRegistryWorld() {
  return std::make_unique<RealRegistryWorld>();
}

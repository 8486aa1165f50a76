// The DLL's exports: the COM class objects and self-registration.

#include <windows.h>
#include <objbase.h>

#include <cwchar>

#include "addin/win32/ClassFactory.h"
#include "addin/win32/Marrowby_h.h"
#include "addin/win32/Module.h"
#include "addin/win32/Registration.h"
#include "browser/win32/SkeldraControl.h"

namespace {

struct ClassObject {
  const CLSID* clsid;
  CreateInstanceFn create;
};

const ClassObject kClassObjects[] = {
    {&__uuidof(Skeldra), CreateSkeldraControl},
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleHandle(module);
    ::DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  for (const ClassObject& c : kClassObjects)
    if (::IsEqualCLSID(clsid, *c.clsid)) return MakeClassFactory(c.create, riid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return ModuleRefs() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return RegisterServer(false); }

STDAPI DllUnregisterServer() { return UnregisterServer(false); }

// regsvr32 /i:user registers for the current user alone (no administrator rights needed);
// any other command line registers for the machine, as DllRegisterServer does.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
  const bool perUser = commandLine && ::_wcsicmp(commandLine, L"user") == 0;
  return install ? RegisterServer(perUser) : UnregisterServer(perUser);
}

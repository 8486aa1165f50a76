// The DLL's exports: the COM class objects and self-registration.

#include <windows.h>
#include <objbase.h>

#include <cwchar>

#include "ide/mMain.h"
#include "server/ClassFactory.h"
#include "server/ConnectObject.h"
#include "server/Marrowby_h.h"
#include "server/Module.h"
#include "server/Registration.h"
#include "server/SkeldraObject.h"

namespace {

struct ClassObject {
  const CLSID* clsid;
  CreateInstanceFn create;
};

const ClassObject kClassObjects[] = {
    {&__uuidof(Connect), CreateConnectObject},
    {&__uuidof(Skeldra), CreateSkeldraObject},
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleHandle(module);
    ::DisableThreadLibraryCalls(module);
  }
  // Nothing is released on DLL_PROCESS_DETACH: gVBE, gToolWindow and gDocument are never
  // destroyed (see mMain.cpp), so no Release reaches the IDE under the loader lock.
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  for (const ClassObject& c : kClassObjects)
    if (::IsEqualCLSID(clsid, *c.clsid)) return MakeClassFactory(c.create, riid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

// The host's objects held for an incomplete disconnection keep the DLL loaded too.
STDAPI DllCanUnloadNow() {
  return ModuleRefs() == 0 && !gVBE && !gToolWindow && !gDocument ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() { return RegisterServer(false); }

STDAPI DllUnregisterServer() { return UnregisterServer(false); }

// regsvr32 /i:user registers for the current user alone (no administrator rights needed);
// any other command line registers for the machine, as DllRegisterServer does.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
  const bool perUser = commandLine && ::_wcsicmp(commandLine, L"user") == 0;
  return install ? RegisterServer(perUser) : UnregisterServer(perUser);
}

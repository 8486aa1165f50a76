#include "addin/mMain.h"

#include "platform/Error.h"

// Never destroyed: references still held when the library unloads (a disconnection that stopped
// part way) are left unreleased. At process end the host's objects may be gone already, and an
// unload runs the static destructors under the loader lock, where a Release into the host must
// not happen. A complete disconnection empties them.
std::shared_ptr<host::VBE>& gVBE = *new std::shared_ptr<host::VBE>;
std::shared_ptr<host::Window>& gToolWindow = *new std::shared_ptr<host::Window>;
std::shared_ptr<host::Document>& gDocument = *new std::shared_ptr<host::Document>;

host::VBE& Host() {
  if (!gVBE) throw VbError(91, L"Host", L"Object variable or With block variable not set");
  return *gVBE;
}

bool IsHostBusy(host::VBE& vbe) {
  return !vbe.CommandBars()->Item(L"File")->Controls()->Item(1)->Enabled();
}

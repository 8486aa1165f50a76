#include "ide/mMain.h"

#include "platform/Error.h"

// Never destroyed: references still held when the library unloads (a disconnection that stopped
// part way) are left unreleased. At process end the host's objects may be gone already, and an
// unload runs the static destructors under the loader lock, where a Release into the host must
// not happen. A complete disconnection empties them.
std::shared_ptr<ide::VBE>& gVBE = *new std::shared_ptr<ide::VBE>;
std::shared_ptr<ide::Window>& gToolWindow = *new std::shared_ptr<ide::Window>;
std::shared_ptr<ide::Document>& gDocument = *new std::shared_ptr<ide::Document>;

ide::VBE& Host() {
  if (!gVBE) RaiseObjectNotSet(L"Host");
  return *gVBE;
}

bool IsHostBusy(ide::VBE& vbe) {
  return !vbe.CommandBars()->Item(L"File")->Controls()->Item(1)->Enabled();
}

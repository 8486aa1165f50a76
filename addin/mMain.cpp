#include "addin/mMain.h"

#include "platform/Error.h"

std::shared_ptr<host::VBE> gVBE;
std::shared_ptr<host::Window> gToolWindow;
std::shared_ptr<host::Document> gDocument;

host::VBE& Host() {
  if (!gVBE) throw VbError(91, L"Host", L"Object variable or With block variable not set");
  return *gVBE;
}

bool IsHostBusy(host::VBE& vbe) {
  return !vbe.CommandBars()->Item(L"File")->Controls()->Item(1)->Enabled();
}

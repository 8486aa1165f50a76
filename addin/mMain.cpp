#include "addin/mMain.h"

std::shared_ptr<host::VBE> gVBE;

bool IsHostBusy(host::VBE& vbe) {
  return !vbe.CommandBars()->Item(L"File")->Controls()->Item(1)->Enabled();
}

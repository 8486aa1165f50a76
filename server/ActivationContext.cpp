#include "server/ActivationContext.h"

#include <commctrl.h>

#include "server/Module.h"

namespace {

HANDLE ModuleContext() {
  static HANDLE context = [] {
    ACTCTXW actctx{};
    actctx.cbSize = sizeof actctx;
    actctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actctx.hModule = ModuleHandle();
    actctx.lpResourceName = MAKEINTRESOURCEW(2);
    return ::CreateActCtxW(&actctx);
  }();
  return context;
}

}  // namespace

ActivationScope::ActivationScope() {
  const HANDLE context = ModuleContext();
  if (context != INVALID_HANDLE_VALUE && ::ActivateActCtx(context, &cookie_)) {
    active_ = true;
    // The version 6 classes are registered per context.
    INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                               ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
  }
}

ActivationScope::~ActivationScope() {
  if (active_) ::DeactivateActCtx(0, cookie_);
}

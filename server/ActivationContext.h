#pragma once
// The DLL's own activation context (its manifest resource 2): windows created while it is active
// get the common controls with visual styles, and the IDE's own windows keep theirs.

#include <windows.h>

class ActivationScope {
 public:
  /// Activates the module's context for the scope's life; does nothing where there is none.
  ActivationScope();
  ~ActivationScope();
  ActivationScope(const ActivationScope&) = delete;
  ActivationScope& operator=(const ActivationScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

#include "addin/win32/AddinPlatform.h"


AddinPlatform& SharedPlatform() {
  static AddinPlatform platform;
  return platform;
}

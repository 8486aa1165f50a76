#include "server/AddinPlatform.h"


AddinPlatform& SharedPlatform() {
  static AddinPlatform platform;
  return platform;
}

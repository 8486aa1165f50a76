// The in-memory registry is all in its header; this unit gives the testing library its object.
#include "registry/tests/MemoryRegistry.h"

#pragma once
// The class object for one creatable class: makes instances through a creation function.

#include <windows.h>
#include <objbase.h>

/// Makes a new object and asks it for riid; the object owns itself from then on.
using CreateInstanceFn = HRESULT (*)(REFIID riid, void** object);

/// A new class object for the function, answering IClassFactory.
HRESULT MakeClassFactory(CreateInstanceFn create, REFIID riid, void** object);

#pragma once
// The registry entries that make the DLL's classes creatable, and its type library known.

#include <windows.h>

/// Writes the entries below HKEY_CURRENT_USER\Software\Classes (perUser) or
/// HKEY_LOCAL_MACHINE\Software\Classes, and registers the type library there.
HRESULT RegisterServer(bool perUser);
/// Removes everything RegisterServer wrote.
HRESULT UnregisterServer(bool perUser);

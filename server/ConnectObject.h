#pragma once
// The connection class "Marrowby.Connect": the object the IDE creates and raises its add-in
// events on.

#include <windows.h>

/// Makes a new connection object and asks it for riid.
HRESULT CreateConnectObject(REFIID riid, void** object);

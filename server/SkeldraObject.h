#pragma once
// The document class Skeldra as an ActiveX control: the object the IDE creates in its tool
// window from the ProgID "Marrowby.Skeldra".

#include <windows.h>

/// Makes a new control and asks it for riid.
HRESULT CreateSkeldraObject(REFIID riid, void** object);

#pragma once
// A picture of a window as it stands on the screen, for the demonstration and its smoke test.

#include <windows.h>

#include <string>

namespace standin_app {

/// Copies the window's rectangle from the screen into a 24-bit BMP file at path. Read from the
/// screen rather than through PrintWindow, which under Wine paints the backgrounds only.
/// False when the picture could not be taken or written; the file is then incomplete or absent.
bool SaveWindowPicture(HWND window, const std::wstring& path);

}  // namespace standin_app

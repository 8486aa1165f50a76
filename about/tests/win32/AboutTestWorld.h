#pragma once
// What the About box's Windows tests work with: values of HKEY_LOCAL_MACHINE set for a test and
// put back afterwards, a folder holding copies of the start probe, windows found from another
// thread, and pictures of windows.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

/// One value below HKEY_LOCAL_MACHINE, as it was before the test: set back (or removed, with the
/// key if the test made it) when this goes.
class ScopedMachineValue {
 public:
  ScopedMachineValue(std::wstring key, std::wstring name);
  ~ScopedMachineValue();
  ScopedMachineValue(const ScopedMachineValue&) = delete;
  ScopedMachineValue& operator=(const ScopedMachineValue&) = delete;

  /// Stores text as REG_SZ with its terminating NUL; false when the registry refuses.
  bool Set(const std::wstring& text);
  void Remove();

 private:
  std::wstring key_, name_;
  bool keyExisted_ = false;
  std::optional<std::pair<DWORD, std::vector<BYTE>>> saved_;
};

/// A new folder below the temporary folder, removed with everything in it when this goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  /// Copies the start probe to the relative path (making its folders); its full path.
  std::wstring CopyProbe(const std::wstring& relative) const;

 private:
  std::wstring path_;
};

/// The folder of the running test program.
std::wstring ProgramFolder();

/// The window style a copy of the start probe was started with, once it has left its note;
/// nullopt when it has not been started within the test's patience.
std::optional<int> ProbeStartStyle(const std::wstring& probe);

/// Polls until find gives a window, for up to 15 seconds; null when none came.
HWND WaitForWindow(const std::function<HWND()>& find);
/// Polls until the window is gone, for up to 15 seconds.
bool WaitUntilGone(HWND window);

/// A top-level window of the thread whose owner is owner and whose class is the dialogs'.
HWND FindOwnedDialog(DWORD thread, HWND owner);

std::wstring WindowText(HWND window);
/// The texts of the window's static children, in order, joined by "|".
std::wstring StaticTexts(HWND window);

/// A picture of a window with its frame, caption and children, drawn by the windows themselves.
struct Screenshot {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top down

  static Screenshot Of(HWND window);
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  /// Writes a 24-bit BMP file, making the folder.
  bool Save(const std::wstring& path) const;
};

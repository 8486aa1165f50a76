#pragma once
// The document's window with the Windows common controls inside it: the Win32 side of the
// controls the document Skeldra is written against. The window is a child of the container's
// window; its client area is the document, measured in twips with the device's real DPI.

#include <windows.h>

#include <functional>
#include <memory>

#include "browser/SkeldraControls.h"

/// The identifiers of the document window's controls, for programs that drive it from outside.
namespace SkeldraWindowIds {
inline constexpr int kToolbar = 1;
inline constexpr int kCustomize = 2;
inline constexpr int kRecent = 3;
inline constexpr int kFavorites = 4;
inline constexpr int kFrame = 5;
inline constexpr int kTabStrip = 6;
inline constexpr int kFilter = 7;
inline constexpr int kFirstInFrame = 10;  // the properties page's labels and text boxes
}  // namespace SkeldraWindowIds

class Win32SkeldraWindow {
 public:
  virtual ~Win32SkeldraWindow() = default;

  /// Creates the window (hidden) and its controls as children of parent, with window classes
  /// registered on module (the add-in's own, never the host's). about is shown by the toolbar's
  /// About button; it outlives the window. Returns null when the window cannot be made.
  static std::unique_ptr<Win32SkeldraWindow> Create(HWND parent, HINSTANCE module,
                                                    ModalForm& about);

  virtual HWND Handle() const = 0;
  /// The controls, for the document to be built on.
  virtual SkeldraControls Controls() = 0;

  /// Raised when the window's size changes (WM_SIZE), after ScaleWidth and ScaleHeight follow it.
  std::function<void()> onResize;

  /// Offered each key pressed in the window, before the host's shortcuts: true when the
  /// document took it (keyCode a virtual-key code; shift: 1 shift, 2 ctrl, 4 alt).
  std::function<bool(int keyCode, int shift)> onKeyDown;
  /// Raised when one of the window's controls gets the keyboard focus.
  std::function<void()> onFocus;

  /// The window's keys, before the host's own shortcuts see them: the document's keys
  /// (onKeyDown), keyboard navigation among the controls (Tab, Shift+Tab, arrows), and every key
  /// typed into the filter box, which it handles itself. True when the message was used. The
  /// ActiveX control calls it from IOleInPlaceActiveObject::TranslateAccelerator.
  virtual bool TranslateAccelerator(MSG* message) = 0;
  /// Gives the keyboard focus to the first control that takes it.
  virtual void FocusFirst() = 0;
};

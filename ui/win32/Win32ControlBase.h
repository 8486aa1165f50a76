#pragma once
// What every Win32 control of the document shares: twips to pixels with the document's DPI, the
// common controls' errors, the route of notifications back to the control that sent them, and
// the placement, visibility and stacking of a child window.

#include <windows.h>

#include "ui/ControlErrors.h"

#include <string>

#include "ui/Controls.h"

/// Converts between twips (1440 to the inch) and the pixels of the document window's device.
class Twips {
 public:
  Twips() = default;
  Twips(int dpiX, int dpiY);

  int ToPixelsX(float twips) const { return ToPixels(twips, dpiX_); }
  int ToPixelsY(float twips) const { return ToPixels(twips, dpiY_); }
  float FromPixelsX(int pixels) const { return FromPixels(pixels, dpiX_); }
  float FromPixelsY(int pixels) const { return FromPixels(pixels, dpiY_); }
  int DpiX() const { return dpiX_; }
  int DpiY() const { return dpiY_; }

 private:
  static int ToPixels(float twips, int dpi);
  static float FromPixels(int pixels, int dpi);

  int dpiX_ = 96;
  int dpiY_ = 96;
};

/// A control that handles what its window sends to the document window. The document window
/// finds the target by the sending window and calls it inside its window procedure, which
/// catches whatever escapes.
class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  /// For WM_NOTIFY: the message's result. Some notifications carry answers back in the header's
  /// larger structure.
  virtual LRESULT OnNotify(NMHDR& header) = 0;
  /// For WM_COMMAND.
  virtual void OnCommand(WORD code, WORD id) = 0;
};

/// Creates a child window of a system class with the default GUI font. Throws VbError (7) when
/// the window cannot be made.
HWND CreateChild(DWORD exStyle, const wchar_t* windowClass, DWORD style, HWND parent, int id);

/// The window's text.
std::wstring WindowText(HWND hwnd);

/// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);

/// Placement in twips over a child window. The twips last given are kept while the window stays
/// on the pixels they gave, so a control reads back exactly what it was given; once something
/// else has moved or sized the window, its pixels are converted back.
template <typename Base>
class Win32Control : public Base {
 public:
  Win32Control(HWND hwnd, const Twips& twips) : hwnd_(hwnd), twips_(twips) {}
  Win32Control(const Win32Control&) = delete;
  Win32Control& operator=(const Win32Control&) = delete;

  HWND Handle() const { return hwnd_; }

  using Base::Move;
  void Move(float left, float top, float width, float height) override {
    if (width < 0 || height < 0) ThrowInvalidValue(L"Move");
    const int x = twips_.ToPixelsX(left), y = twips_.ToPixelsY(top);
    ::SetWindowPos(hwnd_, nullptr, x, y, twips_.ToPixelsX(width), twips_.ToPixelsY(height),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = Placement{left, top, width, height, RectInParent(hwnd_), true};
  }
  float Left() const override { return Current().left; }
  float Top() const override { return Current().top; }
  float Width() const override { return Current().width; }
  float Height() const override { return Current().height; }

  bool Visible() const override {
    return (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void Visible(bool visible) override { ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }

  /// 0 in front of the sibling windows, anything else behind them.
  void ZOrder(int position) override {
    ::SetWindowPos(hwnd_, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  void SetFocus() override { ::SetFocus(hwnd_); }

 protected:
  const Twips& twips() const { return twips_; }

  HWND hwnd_;

 private:
  struct Placement {
    float left, top, width, height;
    RECT pixels;
    bool valid;
  };

  Placement Current() const {
    const RECT now = RectInParent(hwnd_);
    if (placed_.valid && ::EqualRect(&now, &placed_.pixels)) return placed_;
    return Placement{twips_.FromPixelsX(now.left), twips_.FromPixelsY(now.top),
                     twips_.FromPixelsX(now.right - now.left),
                     twips_.FromPixelsY(now.bottom - now.top), now, false};
  }

  const Twips& twips_;  // not owned
  Placement placed_{};
};

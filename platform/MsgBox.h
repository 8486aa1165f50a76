#pragma once
// The platform's message box.

#include <string_view>

class MsgBox {
 public:
  static constexpr int kOkOnly = 0;
  static constexpr int kCritical = 16;

  virtual ~MsgBox() = default;
  /// Shows the prompt with the buttons and icon of style; returns the button chosen.
  virtual int Show(std::wstring_view prompt, int style, std::wstring_view title) = 0;
};

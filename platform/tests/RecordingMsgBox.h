#pragma once
// A message box that records each call and answers OK (1), as the user closing it would.

#include <ostream>
#include <string>
#include <vector>

#include "platform/MsgBox.h"

class RecordingMsgBox final : public MsgBox {
 public:
  struct Call {
    std::wstring prompt;
    int style;
    std::wstring title;
    bool operator==(const Call&) const = default;
    friend void PrintTo(const Call& c, std::ostream* os) {
      const auto text = [os](const std::wstring& s) {
        *os << '"';
        for (wchar_t ch : s) *os << (ch > 0 && ch < 128 ? static_cast<char>(ch) : '?');
        *os << '"';
      };
      text(c.prompt);
      *os << ", " << c.style << ", ";
      text(c.title);
    }
  };

  int Show(std::wstring_view prompt, int style, std::wstring_view title) override {
    calls.push_back({std::wstring(prompt), style, std::wstring(title)});
    return 1;
  }

  std::vector<Call> calls;
};

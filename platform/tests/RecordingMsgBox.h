#pragma once
// A message box that records each call and answers OK (1), as the user closing it would.

#include <string>
#include <vector>

#include "platform/MsgBox.h"

class RecordingMsgBox final : public MsgBox {
 public:
  struct Call {
    std::wstring prompt;
    int style;
    std::wstring title;
  };

  int Show(std::wstring_view prompt, int style, std::wstring_view title) override {
    calls.push_back({std::wstring(prompt), style, std::wstring(title)});
    return 1;
  }

  std::vector<Call> calls;
};

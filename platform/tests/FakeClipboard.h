#pragma once
// A clipboard that holds what the user copied; a picture put on it takes the copy's place.

#include <memory>
#include <string>

#include "platform/Clipboard.h"
#include "platform/Error.h"

class FakeClipboard final : public Clipboard {
 public:
  struct Held final : Contents {
    std::wstring text;
  };

  std::unique_ptr<Contents> Save() override { return std::make_unique<Held>(held); }
  void Restore(const Contents& saved) override { held = static_cast<const Held&>(saved); }
  void PutBitmapResource(std::wstring_view) override {
    if (failPut) throw VbError(-2147221040, L"Clipboard", L"OpenClipboard Failed");
    held = Held();
  }
  void PutText(std::wstring_view text) override { held.text = text; }

  Held held;
  bool failPut = false;  // PutBitmapResource throws while set
};

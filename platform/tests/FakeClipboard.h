#pragma once
// A clipboard that holds what the user copied, or a picture (by the resource's name).

#include <memory>
#include <string>

#include "platform/Clipboard.h"
#include "platform/Error.h"

class FakeClipboard final : public Clipboard {
 public:
  struct Held final : Contents {
    std::wstring text, picture;  // picture: the resource's name, or ""
  };

  std::unique_ptr<Contents> Save() override { return std::make_unique<Held>(held); }
  void Restore(const Contents& saved) override { held = static_cast<const Held&>(saved); }
  void PutBitmapResource(std::wstring_view name) override {
    if (failPut) throw VbError(-2147221040, L"Clipboard", L"OpenClipboard Failed");
    held = Held();
    held.picture = name;
  }
  void PutText(std::wstring_view text) override {
    held = Held();
    held.text = text;
  }

  Held held;
  bool failPut = false;  // PutBitmapResource throws while set
};

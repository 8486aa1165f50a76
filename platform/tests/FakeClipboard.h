#pragma once
// A clipboard that holds a text or a picture (by the resource's name) and records its calls:
// "Save", "Restore", "PutBitmapResource <name>". The calls go into log, its own unless a test
// points it at another (a fake host's, to check the order of both).

#include <memory>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Error.h"

class FakeClipboard final : public Clipboard {
 public:
  struct Held final : Contents {
    Held(std::wstring text, std::wstring picture)
        : text(std::move(text)), picture(std::move(picture)) {}
    std::wstring text, picture;
  };

  FakeClipboard() = default;
  FakeClipboard(const FakeClipboard&) = delete;
  FakeClipboard& operator=(const FakeClipboard&) = delete;

  std::unique_ptr<Contents> Save() override {
    log->push_back("Save");
    return std::make_unique<Held>(text, picture);
  }
  void Restore(const Contents& contents) override {
    log->push_back("Restore");
    const auto& held = static_cast<const Held&>(contents);
    text = held.text;
    picture = held.picture;
  }
  void PutBitmapResource(std::wstring_view name) override {
    if (failPut) throw VbError(-2147221040, L"Clipboard", L"OpenClipboard Failed");
    log->push_back("PutBitmapResource " + std::string(name.begin(), name.end()));
    text.clear();
    picture = name;
  }

  std::wstring text;     // what the user copied
  std::wstring picture;  // the resource name of the picture held, or ""
  bool failPut = false;  // PutBitmapResource throws while set
  std::vector<std::string> calls;
  std::vector<std::string>* log = &calls;  // not owned
};

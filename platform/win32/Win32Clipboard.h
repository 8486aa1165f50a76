#pragma once
#include <windows.h>

#include "platform/Clipboard.h"

/// The system clipboard. Keeps text, Unicode text and device-independent bitmaps when it saves.
class Win32Clipboard final : public Clipboard {
 public:
  /// Resources are looked up in module (the add-in's own).
  explicit Win32Clipboard(HINSTANCE module) : module_(module) {}

  std::unique_ptr<Contents> Save() override;
  void Restore(const Contents& contents) override;
  void PutBitmapResource(std::wstring_view name) override;
  void PutText(std::wstring_view text) override;

 private:
  HINSTANCE module_;
};

#pragma once
#include "platform/CodePage.h"

/// The system's ANSI code page (CP_ACP), or the code page given.
class Win32CodePage final : public CodePage {
 public:
  explicit Win32CodePage(unsigned codePage = 0 /* CP_ACP */);
  std::wstring ToWide(std::string_view bytes) const override;
  std::string ToAnsi(std::wstring_view text) const override;
  bool IsDoubleByte() const override { return doubleByte_; }

 private:
  unsigned codePage_;
  bool doubleByte_;
};

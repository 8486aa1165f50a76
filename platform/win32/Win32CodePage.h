#pragma once
#include "platform/CodePage.h"

/// The system's ANSI code page (CP_ACP).
class Win32CodePage final : public CodePage {
 public:
  std::wstring ToWide(std::string_view bytes) const override;
  std::string ToAnsi(std::wstring_view text) const override;
};

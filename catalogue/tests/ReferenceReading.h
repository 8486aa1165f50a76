#pragma once
// The judge of the project file reader: the text, widened whole, read the plain way.

#include <string>
#include <string_view>

#include "catalogue/ProjectFile.h"
#include "catalogue/Text.h"
#include "platform/Error.h"

// The file read the plain way: trim the blanks at both ends, split at every CR LF, and hand each
// line with an "=" to ApplyProjectKey, the value without its quotes; a first "=" past position
// 32767 or a number that does not fit ends the reading.
inline cProject ReferenceReading(std::wstring_view content) {
  cProject p;
  std::wstring_view rest = text::TrimSpaces(content);
  while (!rest.empty()) {
    const std::size_t end = rest.find(L"\r\n");
    const std::wstring_view line = rest.substr(0, end);
    rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 2);
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) continue;
    if (equals + 1 > 32767) break;
    std::wstring value;
    for (wchar_t c : line.substr(equals + 1))
      if (c != L'"') value += c;
    try {
      ApplyProjectKey(p, line.substr(0, equals), value);
    } catch (const VbError&) {
      break;  // a number that does not fit
    }
  }
  return p;
}

#pragma once
// The system clipboard, as far as the add-in uses it: the command entries put their face picture
// there for the host to paste and put back what the user had copied; the lists copy a path.

#include <memory>
#include <string_view>

class Clipboard {
 public:
  /// What the clipboard held at one moment.
  class Contents {
   public:
    virtual ~Contents() = default;
  };

  virtual ~Clipboard() = default;
  /// Takes a copy of what the clipboard holds now (at least text, Unicode text and bitmaps).
  virtual std::unique_ptr<Contents> Save() = 0;
  /// Puts back what Save took, replacing what the clipboard holds.
  virtual void Restore(const Contents& contents) = 0;
  /// Replaces what the clipboard holds with the library's bitmap resource of that name, as a
  /// picture. Throws VbError when the resource or the clipboard cannot be had.
  virtual void PutBitmapResource(std::wstring_view name) = 0;
  /// Replaces what the clipboard holds with the text, as Unicode text and as text in the ANSI
  /// code page, for programs that read either. Throws VbError when the clipboard cannot be had.
  virtual void PutText(std::wstring_view text) = 0;
};

#pragma once
// The system clipboard, as far as the add-in's command entries use it: it puts its face picture
// there for the host to paste, and puts back what the user had copied.

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
};

#include "platform/win32/Win32Clipboard.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/Error.h"
#include "platform/win32/unique_res.h"

namespace {

constexpr UINT kKeptFormats[] = {CF_UNICODETEXT, CF_TEXT, CF_DIB};

class SavedContents final : public Clipboard::Contents {
 public:
  std::vector<std::pair<UINT, std::vector<char>>> formats;
};

// The clipboard, open for as long as it lives. Emptying it needs an owner window, or setting data
// after EmptyClipboard fails: a message-only window of the moment serves.
class ClipboardOpen {
 public:
  ClipboardOpen() {
    owner_ = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr);
    // Another program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = ::OpenClipboard(owner_) != FALSE;
      if (!open_) ::Sleep(20);
    }
    if (!open_) {
      if (owner_) ::DestroyWindow(owner_);
      throw VbError(521, L"Clipboard", L"Can't open Clipboard");
    }
  }
  ~ClipboardOpen() {
    ::CloseClipboard();
    if (owner_) ::DestroyWindow(owner_);
  }
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;

 private:
  HWND owner_ = nullptr;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<Clipboard::Contents> Win32Clipboard::Save() {
  auto saved = std::make_unique<SavedContents>();
  ClipboardOpen open;
  for (UINT format : kKeptFormats) {
    HANDLE data = ::GetClipboardData(format);
    if (!data) continue;
    const SIZE_T size = ::GlobalSize(data);
    const void* bytes = ::GlobalLock(data);
    if (!bytes) continue;
    saved->formats.emplace_back(format, std::vector<char>(static_cast<const char*>(bytes),
                                                          static_cast<const char*>(bytes) + size));
    ::GlobalUnlock(data);
  }
  return saved;
}

void Win32Clipboard::Restore(const Contents& contents) {
  const auto& saved = static_cast<const SavedContents&>(contents);
  ClipboardOpen open;
  ::EmptyClipboard();
  for (const auto& [format, bytes] : saved.formats) {
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!copy) continue;
    if (void* target = ::GlobalLock(copy)) {
      std::memcpy(target, bytes.data(), bytes.size());
      ::GlobalUnlock(copy);
    }
    // The clipboard owns the memory once it takes it.
    if (!::SetClipboardData(format, copy)) ::GlobalFree(copy);
  }
}

void Win32Clipboard::PutBitmapResource(std::wstring_view name) {
  const std::wstring resource(name);
  unique_hbitmap bitmap(static_cast<HBITMAP>(
      ::LoadImageW(module_, resource.c_str(), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  if (!bitmap) throw VbError(326, L"LoadResPicture", L"Resource with identifier not found");
  ClipboardOpen open;
  ::EmptyClipboard();
  if (!::SetClipboardData(CF_BITMAP, bitmap.get()))
    throw VbError(521, L"Clipboard", L"Can't open Clipboard");
  bitmap.release();  // the clipboard's now
}

namespace {

// A movable global block holding the bytes and a terminating zero of the character type, for
// SetClipboardData; null when memory ran out.
template <typename Char>
HGLOBAL GlobalText(const Char* text, std::size_t length) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(Char));
  if (!block) return nullptr;
  if (auto* target = static_cast<Char*>(::GlobalLock(block))) {
    std::memcpy(target, text, length * sizeof(Char));
    target[length] = 0;
    ::GlobalUnlock(block);
  }
  return block;
}

}  // namespace

void Win32Clipboard::PutText(std::wstring_view text) {
  // The ANSI form is made here rather than left to the system, so a reader of CF_TEXT gets the
  // code page of this moment, not the locale of whenever it asks.
  std::string ansi;
  if (!text.empty()) {
    const int wide = static_cast<int>(text.size());
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    ansi.resize(bytes > 0 ? bytes : 0);
    if (bytes > 0)
      ::WideCharToMultiByte(CP_ACP, 0, text.data(), wide, ansi.data(), bytes, nullptr, nullptr);
  }
  ClipboardOpen open;
  ::EmptyClipboard();
  const std::pair<UINT, HGLOBAL> blocks[] = {{CF_UNICODETEXT, GlobalText(text.data(), text.size())},
                                            {CF_TEXT, GlobalText(ansi.data(), ansi.size())}};
  bool put = true;
  for (const auto& [format, block] : blocks) {
    // The clipboard owns the memory once it takes it.
    if (block && ::SetClipboardData(format, block)) continue;
    if (block) ::GlobalFree(block);
    put = false;
  }
  if (!put) throw VbError(521, L"Clipboard", L"Can't open Clipboard");
}

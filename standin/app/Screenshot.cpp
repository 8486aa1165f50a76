#include "standin/app/Screenshot.h"

#include <vector>

#include "platform/win32/unique_res.h"

namespace standin_app {

bool SaveWindowPicture(HWND window, const std::wstring& path) {
  RECT rect{};
  if (!::GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  HDC screen = ::GetDC(nullptr);
  if (!screen) return false;
  unique_hdc memory(::CreateCompatibleDC(screen));
  unique_hbitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
  bool copied = false;
  if (memory && bitmap) {
    HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
    copied = ::BitBlt(memory.get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory.get(), old);
  }

  // Bottom-up rows of 24-bit pixels, each row padded to four bytes.
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
  header.biSizeImage = stride * static_cast<DWORD>(height);
  std::vector<BYTE> pixels(header.biSizeImage);
  if (copied)
    copied = ::GetDIBits(screen, bitmap.get(), 0, static_cast<UINT>(height), pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == height;
  ::ReleaseDC(nullptr, screen);
  if (!copied) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  unique_file out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return false;
  DWORD written = 0;
  return ::WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         ::WriteFile(out.get(), &header, sizeof header, &written, nullptr) &&
         ::WriteFile(out.get(), pixels.data(), header.biSizeImage, &written, nullptr) &&
         written == header.biSizeImage;
}

}  // namespace standin_app

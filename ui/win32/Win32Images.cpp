#include "ui/win32/Win32Images.h"

#include <commctrl.h>

#include <functional>

namespace {

constexpr int kSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);  // the mask colour, never drawn with
constexpr COLORREF kOutline = RGB(64, 64, 64);

// Selects a GDI object into a device context for one scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~Selected() { ::SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  const RECT r{left, top, right, bottom};
  unique_hbrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &r, brush.get());
}

// A filled rectangle with a one-pixel outline; right and bottom exclusive.
void Box(HDC dc, int left, int top, int right, int bottom, COLORREF fill) {
  Fill(dc, left, top, right, bottom, kOutline);
  Fill(dc, left + 1, top + 1, right - 1, bottom - 1, fill);
}

void Lines(HDC dc, int width, COLORREF colour, std::initializer_list<POINT> points) {
  unique_hpen pen(::CreatePen(PS_SOLID, width, colour));
  Selected use(dc, pen.get());
  const std::vector<POINT> all(points);
  ::Polyline(dc, all.data(), static_cast<int>(all.size()));
}

void Cross(HDC dc) {
  Lines(dc, 2, RGB(128, 128, 128), {{4, 4}, {12, 12}});
  Lines(dc, 2, RGB(128, 128, 128), {{11, 4}, {3, 12}});
}

void Tick(HDC dc) { Lines(dc, 2, RGB(0, 150, 0), {{3, 8}, {6, 11}, {13, 4}}); }

void Folder(HDC dc) {
  Box(dc, 1, 3, 7, 6, RGB(255, 220, 90));
  Box(dc, 1, 5, 15, 14, RGB(250, 200, 60));
}

void Sheet(HDC dc) {
  Box(dc, 3, 1, 13, 15, RGB(255, 255, 255));
  for (int y : {4, 7, 10}) Fill(dc, 5, y, 11, y + 1, RGB(0, 0, 160));
}

// A list with a header row and three columns, for choosing the columns.
void Columns(HDC dc) {
  Box(dc, 1, 2, 15, 14, RGB(255, 255, 255));
  Fill(dc, 2, 3, 14, 6, RGB(0, 84, 166));
  for (int x : {5, 10}) Fill(dc, x, 6, x + 1, 13, RGB(160, 160, 160));
}

void Information(HDC dc) {
  unique_hbrush blue(::CreateSolidBrush(RGB(0, 90, 200)));
  unique_hpen edge(::CreatePen(PS_SOLID, 1, RGB(0, 60, 140)));
  {
    Selected useBrush(dc, blue.get());
    Selected usePen(dc, edge.get());
    ::Ellipse(dc, 1, 1, 15, 15);
  }
  Fill(dc, 7, 3, 9, 5, RGB(255, 255, 255));
  Fill(dc, 7, 6, 9, 12, RGB(255, 255, 255));
}

// Draws each image into its 16-pixel cell of one strip and adds the strip to a new list.
unique_himagelist DrawList(const std::vector<std::function<void(HDC)>>& painters) {
  const int count = static_cast<int>(painters.size());
  unique_himagelist list(::ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, count, 0));
  if (!list) return list;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kSize * count;
  info.bmiHeader.biHeight = -kSize;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  unique_hbitmap strip(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  unique_hdc dc(::CreateCompatibleDC(nullptr));
  if (!strip || !dc) return unique_himagelist();
  {
    Selected use(dc.get(), strip.get());
    Fill(dc.get(), 0, 0, kSize * count, kSize, kTransparent);
    for (int i = 0; i < count; ++i) {
      // Each painter draws at (0, 0): move the origin to its cell.
      ::SetViewportOrgEx(dc.get(), kSize * i, 0, nullptr);
      painters[static_cast<std::size_t>(i)](dc.get());
    }
    ::SetViewportOrgEx(dc.get(), 0, 0, nullptr);
  }
  // The list copies the strip's pixels; the strip is freed with this scope.
  ::ImageList_AddMasked(list.get(), strip.get(), kTransparent);
  return list;
}

}  // namespace

DrawnImages DrawnImages::FileIcons() {
  DrawnImages images;
  images.list_ = DrawList({Cross, Tick});
  images.keys_ = {L"not", L"yes"};
  return images;
}

DrawnImages DrawnImages::ToolbarIcons() {
  DrawnImages images;
  images.list_ = DrawList({Folder, Sheet, Columns, Information});
  images.keys_ = {L"Open", L"Properties", L"custom", L"about"};
  return images;
}

int DrawnImages::IndexOf(std::wstring_view key) const {
  for (std::size_t i = 0; i < keys_.size(); ++i)
    if (keys_[i] == key) return static_cast<int>(i);
  return -1;
}

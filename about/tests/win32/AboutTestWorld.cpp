#include "about/tests/win32/AboutTestWorld.h"

#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/tests/FileWorld.h"
#include "platform/win32/unique_res.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(15);
constexpr auto kPollInterval = std::chrono::milliseconds(10);

template <typename Result, typename Condition>
Result Poll(Condition poll) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  for (;;) {
    Result result = poll();
    if (result || std::chrono::steady_clock::now() > deadline) return result;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void MakeFolders(const std::wstring& path) {
  for (size_t cut = path.find(L'\\', 3); cut != std::wstring::npos; cut = path.find(L'\\', cut + 1))
    ::CreateDirectoryW(path.substr(0, cut).c_str(), nullptr);
  ::CreateDirectoryW(path.c_str(), nullptr);
}

}  // namespace

ScopedMachineValue::ScopedMachineValue(std::wstring key, std::wstring name)
    : key_(std::move(key)), name_(std::move(name)) {
  unique_hkey opened;
  keyExisted_ =
      ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
  if (!keyExisted_) return;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExW(opened.get(), name_.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS)
    return;
  std::vector<BYTE> data(size);
  if (::RegQueryValueExW(opened.get(), name_.c_str(), nullptr, &type, data.data(), &size) ==
      ERROR_SUCCESS) {
    data.resize(size);
    saved_.emplace(type, std::move(data));
  }
}

ScopedMachineValue::~ScopedMachineValue() {
  if (!keyExisted_) {
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, key_.c_str());
    return;
  }
  unique_hkey opened;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE, opened.put()) !=
      ERROR_SUCCESS)
    return;
  if (saved_)
    ::RegSetValueExW(opened.get(), name_.c_str(), 0, saved_->first, saved_->second.data(),
                     static_cast<DWORD>(saved_->second.size()));
  else
    ::RegDeleteValueW(opened.get(), name_.c_str());
}

bool ScopedMachineValue::Set(const std::wstring& text) {
  unique_hkey opened;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        opened.put(), nullptr) != ERROR_SUCCESS)
    return false;
  return ::RegSetValueExW(opened.get(), name_.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void ScopedMachineValue::Remove() {
  unique_hkey opened;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE, opened.put()) ==
      ERROR_SUCCESS)
    ::RegDeleteValueW(opened.get(), name_.c_str());
}

TempFolder::TempFolder() {
  static unsigned counter = 0;
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"marrowby-about-" + std::to_wstring(::GetCurrentProcessId()) +
          L"-" + std::to_wstring(++counter);
  RemoveFolder(path_);
  if (!::CreateDirectoryW(path_.c_str(), nullptr))
    throw std::runtime_error("cannot create the test folder");
}

TempFolder::~TempFolder() { RemoveFolder(path_); }

std::wstring TempFolder::CopyProbe(const std::wstring& relative) const {
  const std::wstring target = path_ + L"\\" + relative;
  MakeFolders(target.substr(0, target.rfind(L'\\')));
  const std::wstring probe = ProgramFolder() + L"\\about_start_probe.exe";
  if (!::CopyFileW(probe.c_str(), target.c_str(), FALSE))
    throw std::runtime_error("cannot copy the start probe");
  return target;
}

std::wstring ProgramFolder() {
  // The test program's own module: this is a test, not the add-in.
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring self(path, length);
  return self.substr(0, self.rfind(L'\\'));
}

std::optional<int> ProbeStartStyle(const std::wstring& probe) {
  const std::wstring note = probe + L".started";
  const bool written = Poll<bool>([&] {
    // The probe writes its note in one call; a note that can be opened for reading is complete.
    unique_file file(
        ::CreateFileW(note.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    return file && ::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0;
  });
  if (!written) return std::nullopt;
  unique_file file(::CreateFileW(note.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  char text[16] = {};
  DWORD read = 0;
  ::ReadFile(file.get(), text, sizeof text - 1, &read, nullptr);
  return std::stoi(std::string(text, read));
}

HWND WaitForWindow(const std::function<HWND()>& find) { return Poll<HWND>(find); }

bool WaitUntilGone(HWND window) {
  return Poll<bool>([&] { return !::IsWindow(window); });
}

HWND FindOwnedDialog(DWORD thread, HWND owner) {
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  ::EnumThreadWindows(
      thread,
      [](HWND window, LPARAM data) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t windowClass[16] = {};
        ::GetClassNameW(window, windowClass, 16);
        if (::GetWindow(window, GW_OWNER) == s->owner && std::wstring(windowClass) == L"#32770" &&
            ::IsWindowVisible(window)) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  const int length = ::GetWindowTextW(window, text, 1024);
  return std::wstring(text, length > 0 ? length : 0);
}

std::wstring StaticTexts(HWND window) {
  std::wstring texts;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t windowClass[16] = {};
    ::GetClassNameW(child, windowClass, 16);
    if (_wcsicmp(windowClass, L"Static") != 0) continue;
    const std::wstring text = WindowText(child);
    if (text.empty()) continue;
    if (!texts.empty()) texts += L"|";
    texts += text;
  }
  return texts;
}

namespace {

// A 32-bit top-down DIB section selected into a memory DC of its own.
class Canvas {
 public:
  Canvas(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_.reset(::CreateCompatibleDC(nullptr));
    dib_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (dc_ && dib_) old_ = ::SelectObject(dc_.get(), dib_.get());
  }
  ~Canvas() {
    if (old_) ::SelectObject(dc_.get(), old_);
  }
  explicit operator bool() const { return dc_ && dib_ && bits_; }
  HDC dc() const { return dc_.get(); }
  const std::uint32_t* bits() const {
    ::GdiFlush();
    return static_cast<const std::uint32_t*>(bits_);
  }

 private:
  unique_res<HDC, ::DeleteDC> dc_;
  unique_res<HBITMAP, ::DeleteObject> dib_;
  void* bits_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Draws one window by WM_PRINT into a picture of its own size, then copies it to (x, y) of
// target. Each window gets a DC whose origin is its own corner: Wine's controls clip to their
// client rectangle in device units.
void PrintAt(HWND window, UINT flags, int width, int height, HDC target, int x, int y) {
  if (width <= 0 || height <= 0) return;
  Canvas canvas(width, height);
  if (!canvas) return;
  ::SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc()), flags);
  ::BitBlt(target, x, y, width, height, canvas.dc(), 0, 0, SRCCOPY);
}

}  // namespace

Screenshot Screenshot::Of(HWND window) {
  // PrintWindow does this in one call on Windows; Wine's draws neither the children nor the
  // frame. So the picture is put together here: the frame and caption as the system draws them,
  // then the client area and each child at its place, the bottom one first.
  Screenshot shot;
  RECT frame{};
  ::GetWindowRect(window, &frame);
  shot.width = frame.right - frame.left;
  shot.height = frame.bottom - frame.top;
  Canvas canvas(shot.width, shot.height);
  if (shot.width <= 0 || shot.height <= 0 || !canvas) return shot;
  HDC dc = canvas.dc();

  RECT client{};
  ::GetClientRect(window, &client);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  const int clientX = origin.x - frame.left, clientY = origin.y - frame.top;
  RECT whole{0, 0, shot.width, shot.height};
  ::FillRect(dc, &whole, ::GetSysColorBrush(COLOR_BTNFACE));
  ::DrawEdge(dc, &whole, EDGE_RAISED, BF_RECT);
  const int captionHeight = ::GetSystemMetrics(SM_CYCAPTION);
  if ((::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION &&
      clientY >= captionHeight) {
    Canvas caption(client.right, captionHeight);
    RECT bar{0, 0, client.right, captionHeight};
    if (caption && !::DrawCaption(window, caption.dc(), &bar, DC_ACTIVE | DC_TEXT | DC_GRADIENT)) {
      // Wine's DrawCaption draws nothing: the bar in the system's caption colours instead.
      ::FillRect(caption.dc(), &bar, ::GetSysColorBrush(COLOR_ACTIVECAPTION));
      NONCLIENTMETRICSW metrics{};
      metrics.cbSize = sizeof metrics;
      ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
      unique_res<HFONT, ::DeleteObject> font(::CreateFontIndirectW(&metrics.lfCaptionFont));
      HGDIOBJ old = ::SelectObject(caption.dc(), font.get());
      ::SetBkMode(caption.dc(), TRANSPARENT);
      ::SetTextColor(caption.dc(), ::GetSysColor(COLOR_CAPTIONTEXT));
      RECT text{4, 0, client.right - 4, captionHeight};
      const std::wstring title = WindowText(window);
      ::DrawTextW(caption.dc(), title.c_str(), static_cast<int>(title.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
      ::SelectObject(caption.dc(), old);
    }
    if (caption)
      ::BitBlt(dc, clientX, clientY - captionHeight, client.right, captionHeight, caption.dc(), 0,
               0, SRCCOPY);
  }

  PrintAt(window, PRF_CLIENT | PRF_ERASEBKGND, client.right, client.bottom, dc, clientX, clientY);
  HWND top = ::GetWindow(window, GW_CHILD);
  for (HWND child = top ? ::GetWindow(top, GW_HWNDLAST) : nullptr; child;
       child = ::GetWindow(child, GW_HWNDPREV)) {
    if (!::IsWindowVisible(child)) continue;
    RECT place{};
    ::GetWindowRect(child, &place);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    PrintAt(child, PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN,
            place.right - place.left, place.bottom - place.top, dc, clientX + place.left,
            clientY + place.top);
  }

  const std::uint32_t* bits = canvas.bits();
  shot.pixels.assign(bits, bits + static_cast<size_t>(shot.width) * shot.height);
  for (auto& p : shot.pixels) p &= 0x00FFFFFF;
  return shot;
}

bool Screenshot::Save(const std::wstring& path) const {
  if (pixels.empty()) return false;
  MakeFolders(path.substr(0, path.rfind(L'\\')));
  const int stride = (width * 3 + 3) & ~3;
  const std::uint32_t imageSize = static_cast<std::uint32_t>(stride) * height;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageSize;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom up
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = imageSize;
  std::vector<char> rows(imageSize, 0);
  for (int y = 0; y < height; ++y) {
    char* row = rows.data() + static_cast<size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = At(x, y);
      row[3 * x] = static_cast<char>(p & 0xFF);
      row[3 * x + 1] = static_cast<char>((p >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<char>((p >> 16) & 0xFF);
    }
  }
  unique_file out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return out && ::WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
         ::WriteFile(out.get(), &header, sizeof header, &written, nullptr) &&
         ::WriteFile(out.get(), rows.data(), imageSize, &written, nullptr);
}

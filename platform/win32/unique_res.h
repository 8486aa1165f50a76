#pragma once
// One owner for every kind of Win32 handle: copying is deleted, moving hands the handle over,
// and put() frees the old value before giving out the address to fill.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <utility>

template <typename T, auto Close, std::intptr_t Invalid = 0>
class unique_res {
 public:
  unique_res() = default;
  explicit unique_res(T value) : value_(value) {}
  unique_res(const unique_res&) = delete;
  unique_res& operator=(const unique_res&) = delete;
  unique_res(unique_res&& other) noexcept : value_(std::exchange(other.value_, invalid())) {}
  unique_res& operator=(unique_res&& other) noexcept {
    if (this != &other) reset(std::exchange(other.value_, invalid()));
    return *this;
  }
  ~unique_res() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != invalid(); }
  T release() { return std::exchange(value_, invalid()); }
  void reset(T value = invalid()) {
    if (value_ != invalid()) Close(value_);
    value_ = value;
  }
  T* put() {
    reset();
    return &value_;
  }

 private:
  static T invalid() { return reinterpret_cast<T>(Invalid); }
  T value_ = invalid();
};

using unique_hkey = unique_res<HKEY, ::RegCloseKey>;
using unique_handle = unique_res<HANDLE, ::CloseHandle>;
using unique_file = unique_res<HANDLE, ::CloseHandle, -1>;  // INVALID_HANDLE_VALUE
using unique_find = unique_res<HANDLE, ::FindClose, -1>;
using unique_hwnd = unique_res<HWND, ::DestroyWindow>;
using unique_hmenu = unique_res<HMENU, ::DestroyMenu>;
using unique_himagelist = unique_res<HIMAGELIST, ::ImageList_Destroy>;
using unique_hbitmap = unique_res<HBITMAP, ::DeleteObject>;
using unique_hpen = unique_res<HPEN, ::DeleteObject>;
using unique_hbrush = unique_res<HBRUSH, ::DeleteObject>;
using unique_hdc = unique_res<HDC, ::DeleteDC>;  // memory device contexts only

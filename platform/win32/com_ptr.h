#pragma once
// An owning COM interface pointer: copies AddRef, moves hand over, put() releases the old
// pointer before giving out the address to fill.

#include <unknwn.h>

#include <utility>

#include "platform/Error.h"

template <typename T>
class com_ptr {
 public:
  com_ptr() = default;
  com_ptr(std::nullptr_t) {}
  /// Takes a reference of its own.
  explicit com_ptr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  com_ptr(const com_ptr& other) : com_ptr(other.p_) {}
  com_ptr(com_ptr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  com_ptr& operator=(com_ptr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~com_ptr() { reset(); }

  /// Takes over a reference the caller already holds.
  static com_ptr attach(T* p) {
    com_ptr result;
    result.p_ = p;
    return result;
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  T** put() {
    reset();
    return &p_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  /// Hands the reference to an out parameter.
  T* detach() { return std::exchange(p_, nullptr); }

  /// The object's interface U; null when it has none (or this is null).
  template <typename U>
  com_ptr<U> try_query() const {
    com_ptr<U> result;
    if (p_) p_->QueryInterface(__uuidof(U), result.put_void());
    return result;
  }
  /// The object's interface U; throws VbError (the HRESULT of QueryInterface, or 91 for no
  /// object) when it has none.
  template <typename U>
  com_ptr<U> query() const {
    if (!p_) RaiseObjectNotSet(L"QueryInterface");
    com_ptr<U> result;
    const HRESULT hr = p_->QueryInterface(__uuidof(U), result.put_void());
    if (FAILED(hr) || !result) throw VbError(FAILED(hr) ? hr : E_NOINTERFACE, L"QueryInterface",
                                             L"No such interface supported");
    return result;
  }

 private:
  T* p_ = nullptr;
};

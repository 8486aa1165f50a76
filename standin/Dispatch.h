#pragma once
// Late-bound COM objects described by a table of members. Each class lists its members (name,
// DISPID, kind, how many arguments, handler) and this base answers IUnknown and IDispatch for
// it: names are matched without regard to case, DISPID_VALUE marks the default member. Handlers
// raise VbError; the caller receives DISP_E_EXCEPTION with the description, the source and the
// number as scode, run-time error numbers in the control facility (5 arrives as 0x800A0005), the
// way the host language's own errors travel.

#include <oaidl.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/Error.h"
#include "platform/win32/ComObject.h"
#include "platform/win32/com_ptr.h"

namespace standin {

/// How a member is reached: read, assigned or called. A property both read and assigned takes
/// two rows with the same name and DISPID. Reads and calls are interchangeable to the caller,
/// as they are to the host language (DISPATCH_METHOD | DISPATCH_PROPERTYGET).
enum class Kind { kGet, kPut, kMethod };

/// One call of a member: its positional arguments in their written order (by-reference
/// arguments seen through), the assigned value of a put, and the result.
class Call {
 public:
  Call(const DISPPARAMS& params, bool put, VARIANT* result);

  std::size_t Count() const { return count_; }
  /// Whether argument i was passed: an omitted optional argument arrives as VT_ERROR with
  /// DISP_E_PARAMNOTFOUND.
  bool Given(std::size_t i) const;
  /// Argument i; throws VbError 449 when it was omitted.
  const VARIANT& Arg(std::size_t i) const;
  /// Argument i passed by reference (VT_BYREF | type), to write through; throws VbError 13 when
  /// it was passed by value.
  VARIANT& RefArg(std::size_t i) const;
  std::wstring Text(std::size_t i) const;
  long Long(std::size_t i) const;
  bool Bool(std::size_t i) const;
  /// The object argument, null for Nothing; throws VbError 13 for anything else.
  IDispatch* Object(std::size_t i) const;

  /// The value a put assigns.
  const VARIANT& Value() const { return params_.rgvarg[0]; }

  void Return(std::wstring_view text);
  void Return(long number);
  void Return(bool value);
  /// Returns the object with a reference of the caller's own; null returns Nothing.
  void Return(IDispatch* object);

 private:
  const VARIANT& Raw(std::size_t i) const;
  VARIANT* Result();

  const DISPPARAMS& params_;
  std::size_t count_;
  VARIANT* result_;  // not owned; null when the caller wants none
};

/// Conversions of argument values as the host language makes them; throw VbError 13 ("Type
/// mismatch") when the value has no such meaning.
std::wstring ToText(const VARIANT& value);
long ToLong(const VARIANT& value);
bool ToBool(const VARIANT& value);
IDispatch* ToObject(const VARIANT& value);
/// Whether the value is text (a name) rather than a number (a position).
bool IsText(const VARIANT& value);

/// Raises the host language's run-time error 5, "Invalid procedure call or argument".
[[noreturn]] void RaiseInvalidArgument();
/// Raises the error of a call on an object that is gone (a deleted control, a closed IDE).
[[noreturn]] void RaiseDisconnected();

/// IDispatch over a table of members; the class behind it supplies the table. Interfaces beyond
/// IUnknown and IDispatch come from FindMore.
class DispatchObject : public ComObject<IDispatch> {
 public:
  struct Row {
    const wchar_t* name;
    DISPID id;
    Kind kind;
    unsigned maxArgs;  // positional arguments, a put's value not counted
  };

  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

 protected:
  /// source: the class name given as the source of the errors its members raise.
  explicit DispatchObject(const wchar_t* source) : source_(source) {}

  virtual std::size_t RowCount() const = 0;
  virtual const Row& RowAt(std::size_t i) const = 0;
  virtual void Run(std::size_t i, Call& call) = 0;
  /// False once the object is gone: every call then raises the disconnected error.
  virtual bool Connected() const { return true; }
  /// Called as each call enters, before it runs; may raise VbError to fail it.
  virtual void Entering() {}

 private:
  const wchar_t* source_;
};

/// The table-driven base for class T: T defines `static const Member kMembers[]`, whose
/// handlers get the object and the call, and passes it to this constructor.
template <typename T>
class Dispatch : public DispatchObject {
 public:
  struct Member {
    Row row;
    void (*run)(T& self, Call& call);
  };

 protected:
  Dispatch(const wchar_t* source, std::span<const Member> members)
      : DispatchObject(source), members_(members) {}

  std::size_t RowCount() const final { return members_.size(); }
  const Row& RowAt(std::size_t i) const final { return members_[i].row; }
  void Run(std::size_t i, Call& call) final { members_[i].run(static_cast<T&>(*this), call); }

 private:
  std::span<const Member> members_;
};

/// Makes a table-driven object with the reference its creator holds.
template <typename T, typename... A>
com_ptr<T> Make(A&&... args) {
  return com_ptr<T>::attach(new T(std::forward<A>(args)...));
}

/// Whether two interface pointers belong to the same COM object.
bool SameObject(IUnknown* a, IUnknown* b);

}  // namespace standin

#pragma once
// A private interface of the document class for the tests alone: it hands the add-in a host
// object model before the add-in's connection exists to do so. The IDE never asks for it.

#include <oaidl.h>

struct ISkeldraTestHost : public IUnknown {
  /// Takes the object as the host's root (the VBE); null empties it.
  virtual HRESULT STDMETHODCALLTYPE SetHost(IDispatch* vbe) = 0;
};
__CRT_UUID_DECL(ISkeldraTestHost, 0xf0932d06, 0x67bf, 0x49da, 0x89, 0x49, 0xf3, 0x20, 0x27, 0xdf,
                0x45, 0xa9)

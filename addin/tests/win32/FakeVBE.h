#pragma once
// A host object model as the IDE exposes it to add-ins, late bound through IDispatch, for the
// tests that drive the DLL as the IDE does: VBProjects.AddFromFile and Remove, ActiveVBProject,
// and CommandBars("File").Controls(1).Enabled. It records what it is asked to do.

#include <oaidl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"

/// An IDispatch whose members are functions of the test, looked up by name (case ignored).
class ScriptObject final : public IDispatch {
 public:
  using Member = std::function<HRESULT(DISPPARAMS* params, VARIANT* result)>;

  static com_ptr<ScriptObject> Make();
  void Define(const std::wstring& name, Member member);

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;

 private:
  ScriptObject() = default;
  LONG refs_ = 1;
  std::vector<std::pair<std::wstring, Member>> members_;  // DISPID = index + 1
};

/// The IDE's root object with the members the add-in uses.
struct FakeVBE {
  FakeVBE();
  com_ptr<ScriptObject> vbe;
  std::vector<std::pair<std::wstring, bool>> opened;  // AddFromFile: path, exclusive
  int removed = 0;
  bool busy = false;          // the "File" bar's first control disabled
  bool hasActiveProject = false;
};

#pragma once
// The IDE's object model over COM late binding: every call resolves its member by name with
// GetIDsOfNames and goes through IDispatch::Invoke, as the host language calls an Object.

#include <oaidl.h>

#include <memory>

#include "ide/Host.h"

/// The host's root object (the IDE's VBE) behind the interface the add-in uses.
std::shared_ptr<ide::VBE> MakeLateBoundVBE(IDispatch* vbe);

/// The add-in's entry in the host's list, as the connection event hands it over; none for null.
std::shared_ptr<ide::AddIn> MakeLateBoundAddIn(IDispatch* addIn);

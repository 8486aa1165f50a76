#pragma once
// What every part of the add-in shares: the host's object model root, the tool window with its
// document, and the host's state.

#include <memory>

#include "ide/Host.h"

/// The host's object model root: set on connection, emptied on a complete disconnection.
extern std::shared_ptr<ide::VBE>& gVBE;

/// The tool window the add-in created and the document the host made inside it: set together
/// on connection, emptied on a complete disconnection. A tool window still set when the add-in
/// connects means the last disconnection stopped part way.
extern std::shared_ptr<ide::Window>& gToolWindow;
extern std::shared_ptr<ide::Document>& gDocument;

/// The host's root object. Throws VbError (91) while there is none, as the host language does
/// for an empty object reference.
ide::VBE& Host();

/// The application title: the caption of the tool window, its command entries and messages.
inline constexpr wchar_t kAppTitle[] = L"Skeldra";

/// True while the host is busy, which it shows by disabling the first control of its "File"
/// command bar. Throws VbError when the host cannot be asked.
bool IsHostBusy(ide::VBE& vbe);

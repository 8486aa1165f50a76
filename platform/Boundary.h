#pragma once
// Where an event or a call from the host enters the add-in: nothing may go back out. A handler
// either reports what ended it in a message box, or ends silently.

#include <exception>
#include <string>

#include "platform/Error.h"
#include "platform/MsgBox.h"

/// The description of the error being handled; call only inside a catch.
inline std::wstring CurrentDescription() {
  try {
    throw;
  } catch (const VbError& e) {
    return e.Description();
  } catch (const std::exception& e) {
    std::wstring wide;
    for (const char* c = e.what(); *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return wide;
  } catch (...) {
    return L"Unexpected error";
  }
}

/// Runs the handler; an error ends it and is shown with the style and the title.
template <typename Handler>
void Reporting(MsgBox& msgBox, int style, const wchar_t* title, Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    try {
      msgBox.Show(CurrentDescription(), style, title);
    } catch (...) {
      // The message box itself failed: there is no one left to tell.
    }
  }
}

/// Runs the handler; an error ends it, and no one is told.
template <typename Handler>
void Silently(Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
  }
}

#pragma once
// The add-in's connection to the host: on connection it creates the tool window and puts an entry
// for it on the "Add-Ins" menu and a button on the standard toolbar; on disconnection it takes
// them away and remembers whether the window was showing, to show it at the next connection.
//
// Each public operation is a boundary the host calls into: none throws. Each reports its own
// errors in a message box or drops them, as its comment says.

#include <memory>

#include "ide/Host.h"

class Clipboard;
class MsgBox;
class Settings;

class Connect {
 public:
  // How the host came to connect the add-in.
  static constexpr int kAfterStartup = 0;  // the user connected it in the add-in manager
  static constexpr int kStartup = 1;       // the host is starting
  static constexpr int kExternal = 2;      // another program connected it
  static constexpr int kCommandLine = 3;

  static constexpr wchar_t kToolWindowProgId[] = L"Marrowby.Skeldra";
  static constexpr wchar_t kToolWindowGuidPosition[] = L"T_o_l_v_a_n_e__S_k_e_l_d_r_a";
  /// The add-in's own entry in the host's list of add-ins.
  static constexpr wchar_t kAddInProgId[] = L"Marrowby.Connect";
  // Where "was the window showing at the last disconnection" is kept: "1" yes, else no.
  static constexpr wchar_t kSettingsApplication[] = L"Microsoft Visual Basic AddIns";
  static constexpr wchar_t kSettingsSection[] = L"Skeldra";
  static constexpr wchar_t kDisplayOnConnect[] = L"DisplayOnConnect";
  /// The bitmap resource that gives the command entries their face.
  static constexpr wchar_t kMenuBitmap[] = L"MENUBMP";

  Connect(Settings& settings, Clipboard& clipboard, MsgBox& msgBox)
      : settings_(settings), clipboard_(clipboard), msgBox_(msgBox) {}
  // The click handlers bound to the host's controls hold this object's address.
  Connect(const Connect&) = delete;
  Connect& operator=(const Connect&) = delete;

  /// Sets gVBE and creates the tool window (or, after a disconnection that stopped part way,
  /// shows the one there is); then by mode: after start-up the command entries, external the
  /// window. An error creating the window is reported (critical); what was made stays.
  void AddinInstance_OnConnection(std::shared_ptr<ide::VBE> application, int connectMode,
                                  std::shared_ptr<ide::AddIn> addInInst) noexcept;
  /// Makes the command entries, once the host has finished starting.
  void AddinInstance_OnStartupComplete() noexcept;
  /// Deletes the command entries, stores whether the window shows, and empties gToolWindow,
  /// gDocument and gVBE. The first error stops it silently, leaving the rest as it is.
  void AddinInstance_OnDisconnection(int removeMode) noexcept;

  /// Shows the tool window and has its document fill itself. Errors are reported (critical).
  void Show() noexcept;
  /// The tool window is not modal.
  bool NonModalApp() const noexcept { return true; }
  /// Puts a button before the last control of the standard toolbar and binds its click; then
  /// shows the window if it showed at the last disconnection. Errors are reported (OK only) and
  /// end it.
  void AddToCommandBar() noexcept;

 private:
  /// Appends an entry to the "Add-Ins" menu and binds its click. Errors end it silently.
  void AddToAddInsMenu() noexcept;
  void MenuHandler_Click() noexcept;     // the toolbar button
  void MenuBarHandler_Click() noexcept;  // the "Add-Ins" menu entry

  /// Creates the tool window into gToolWindow and gDocument, for the mode's add-in entry.
  void CreateToolWindow(int connectMode, const std::shared_ptr<ide::AddIn>& addInInst);
  /// Gives the control the face picture, keeping what the user has on the clipboard.
  void PasteMenuFace(ide::CommandBarControl& control);

  // The command entries and their click bindings: each replaced when made again, and emptied
  // once a disconnection has deleted its entry.
  std::shared_ptr<ide::CommandBarControl> mToolbarButton;
  std::shared_ptr<ide::CommandBarControl> mAddInsMenuItem;
  std::shared_ptr<ide::EventSink> MenuHandler;
  std::shared_ptr<ide::EventSink> MenuBarHandler;

  Settings& settings_;    // not owned
  Clipboard& clipboard_;  // not owned
  MsgBox& msgBox_;        // not owned
};

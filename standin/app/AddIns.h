#pragma once
// The add-ins the IDE loads at start-up: those of HKCU\Software\Microsoft\Visual Basic\6.0\Addins
// with LoadBehavior 1, connected through IDTExtensibility2 the way the IDE connects them.

#include <string>
#include <vector>

#include "ide/win32/Extensibility.h"
#include "standin/StandInIde.h"
#include "platform/win32/com_ptr.h"

namespace standin_app {

/// The ProgIDs listed to load at start-up, in the order the registry lists them.
std::vector<std::wstring> StartupAddIns();

struct RegisteredAddIn {
  std::wstring progId, friendlyName;  // friendlyName: the ProgID when FriendlyName is absent
};
/// Every add-in of the key, whatever its LoadBehavior, in the order the registry lists them.
std::vector<RegisteredAddIn> RegisteredAddIns();

class AddIns {
 public:
  /// Makes each start-up add-in, enters it in the IDE's Addins and connects it (ext_cm_Startup),
  /// then tells every connected one that start-up is complete. An add-in that cannot be made or
  /// refuses the connection is entered as not connected and named in Problems().
  void ConnectAtStartup(standin::StandInIde& ide);
  /// Disconnects one add-in as the user does (it set AddIn.Connect to False); no-op when it is
  /// not connected.
  void Disconnect(const std::wstring& progId);
  /// Connects one add-in as the Add-In Manager does (ext_cm_AfterStartup), making it and its entry
  /// in the IDE's Addins when needed, and sets the entry's Connect; false when it cannot be made
  /// or refuses, then named in Problems(). No-op (true) when it is connected.
  bool Load(standin::StandInIde& ide, const std::wstring& progId);
  /// Disconnects one add-in as the Add-In Manager does (ext_dm_UserClosed), releases it and
  /// clears its entry's Connect.
  void Unload(standin::StandInIde& ide, const std::wstring& progId);
  /// Tells every connected add-in the IDE is shutting down, disconnects and releases it.
  void DisconnectAll();

  std::vector<std::wstring> Connected() const;
  const std::vector<std::wstring>& Problems() const { return problems_; }

 private:
  struct Loaded {
    std::wstring progId;
    com_ptr<IDTExtensibility2> events;  // null once disconnected
  };
  std::vector<Loaded> loaded_;
  std::vector<std::wstring> problems_;
};

}  // namespace standin_app

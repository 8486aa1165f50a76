#include "addin/Connect.h"

#include <exception>
#include <string>
#include <utility>

#include "ide/mMain.h"
#include "platform/Clipboard.h"
#include "platform/Boundary.h"
#include "platform/Error.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"

namespace {

constexpr int kButton = 1;  // the type of control Add makes

template <typename T>
T& Deref(const std::shared_ptr<T>& object) {
  if (!object) RaiseObjectNotSet(L"Connect");
  return *object;
}

// Puts back what the clipboard held when it leaves, by whatever path.
class ClipboardRestorer {
 public:
  explicit ClipboardRestorer(Clipboard& clipboard)
      : clipboard_(clipboard), saved_(clipboard.Save()) {}
  ClipboardRestorer(const ClipboardRestorer&) = delete;
  ClipboardRestorer& operator=(const ClipboardRestorer&) = delete;
  ~ClipboardRestorer() {
    // Failing here loses the user's copy, but the entry has its face: the operation goes on.
    Silently([this] { clipboard_.Restore(*saved_); });
  }

 private:
  Clipboard& clipboard_;
  std::unique_ptr<Clipboard::Contents> saved_;
};

}  // namespace

void Connect::AddinInstance_OnConnection(std::shared_ptr<ide::VBE> application, int connectMode,
                                         std::shared_ptr<ide::AddIn> addInInst) noexcept {
  Reporting(msgBox_, MsgBox::kCritical, kAppTitle, [&] {
    gVBE = std::move(application);
    if (gToolWindow) {
      // The last disconnection stopped part way: the window is still there, so show it.
      Show();
      if (connectMode == kAfterStartup) {
        AddToAddInsMenu();
        AddToCommandBar();
      }
      return;
    }
    CreateToolWindow(connectMode, addInInst);
    if (connectMode == kExternal) {
      Show();
    } else if (connectMode == kAfterStartup) {
      AddToAddInsMenu();
      AddToCommandBar();
    }
    // At start-up (and from the command line) the entries wait for OnStartupComplete.
  });
}

void Connect::CreateToolWindow(int connectMode, const std::shared_ptr<ide::AddIn>& addInInst) {
  std::shared_ptr<ide::AddIn> owner = addInInst;
  if (connectMode == kExternal) {
    // Another program connected the add-in: the window goes to the add-in's own entry while the
    // host counts it unconnected, to the first entry when the host lists none, else nowhere.
    std::shared_ptr<ide::AddIn> entry;
    Silently([&] { entry = Host().Addins()->Item(kAddInProgId); });
    if (!entry) {
      owner = Host().Addins()->Item(1);
    } else if (!entry->Connect()) {
      owner = entry;
    } else {
      return;
    }
  }
  gToolWindow = Host().Windows()->CreateToolWindow(Deref(owner), kToolWindowProgId, kAppTitle,
                                                   kToolWindowGuidPosition, gDocument);
}

void Connect::AddinInstance_OnStartupComplete() noexcept {
  AddToAddInsMenu();
  AddToCommandBar();
}

void Connect::AddinInstance_OnDisconnection(int) noexcept {
  Silently([this] {
    // An entry never made (no start-up complete came, or the connection made none) is skipped.
    // Each is let go, with its click binding, once the host has deleted it: the same object may
    // be connected again in a mode that makes no entries, and the host raises on a control it
    // has deleted already.
    if (mToolbarButton) {
      mToolbarButton->Delete();
      mToolbarButton.reset();
      MenuHandler.reset();
    }
    if (mAddInsMenuItem) {
      mAddInsMenuItem->Delete();
      mAddInsMenuItem.reset();
      MenuBarHandler.reset();
    }
    const bool showing = Deref(std::shared_ptr(gToolWindow)).Visible();
    settings_.SaveSetting(kSettingsApplication, kSettingsSection, kDisplayOnConnect,
                          showing ? L"1" : L"0");
    gToolWindow.reset();
    gDocument.reset();
    gVBE.reset();
  });
}

void Connect::Show() noexcept {
  Reporting(msgBox_, MsgBox::kCritical, kAppTitle, [] {
    // Copies, in case a handler the host runs meanwhile empties the globals.
    const auto window = gToolWindow;
    Deref(window).Visible(true);
    const auto document = gDocument;
    Deref(document).View();
  });
}

void Connect::AddToCommandBar() noexcept {
  Reporting(msgBox_, MsgBox::kOkOnly, kAppTitle, [this] {
    const auto toolbar = Host().CommandBars()->Item(2);
    toolbar->Visible(true);
    const auto controls = toolbar->Controls();
    // Before the control that is last now, which stays last.
    mToolbarButton = controls->Add(kButton, controls->Count());
    mToolbarButton->Caption(kAppTitle);
    PasteMenuFace(*mToolbarButton);
    MenuHandler =
        Host().Events()->CommandBarEvents(*mToolbarButton, [this] { MenuHandler_Click(); });
    if (settings_.GetSetting(kSettingsApplication, kSettingsSection, kDisplayOnConnect, L"0") ==
        L"1")
      Show();
  });
}

void Connect::AddToAddInsMenu() noexcept {
  Silently([this] {
    mAddInsMenuItem =
        Host().CommandBars()->Item(L"Add-Ins")->Controls()->Add(kButton, std::nullopt);
    mAddInsMenuItem->Caption(kAppTitle);
    PasteMenuFace(*mAddInsMenuItem);
    MenuBarHandler =
        Host().Events()->CommandBarEvents(*mAddInsMenuItem, [this] { MenuBarHandler_Click(); });
  });
}

void Connect::PasteMenuFace(ide::CommandBarControl& control) {
  ClipboardRestorer restorer(clipboard_);
  clipboard_.PutBitmapResource(kMenuBitmap);
  control.PasteFace();
}

void Connect::MenuHandler_Click() noexcept {
  Silently([this] { Show(); });
}

void Connect::MenuBarHandler_Click() noexcept {
  Silently([this] { Show(); });
}

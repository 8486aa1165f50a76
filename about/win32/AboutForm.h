#pragma once
// The About box (frmAbout) as a Win32 dialog: the banner, the icon with the title, version and
// description beside it, the maker's link, and the copyright over OK and System Info.

#include <windows.h>

#include <memory>

#include "about/AboutBox.h"
#include "ui/Controls.h"

/// The dialog's controls, for GetDlgItem. cmdOK is IDOK.
enum AboutControlId : int {
  kAboutBanner = 101,  // picIcon
  kAboutIcon,          // Image1
  kAboutTitle,         // lblTitle
  kAboutVersion,       // lblVersion
  kAboutDescription,   // lblDescription
  kAboutLink,          // Label1
  kAboutLine,          // Line1
  kAboutCopyright,     // lblCopy
  kAboutSysInfo,       // cmdSysInfo
};

/// The About box. Each ShowModal makes the dialog anew over owner, which stays disabled until the
/// box closes, and runs its form load: the texts come from kAppTitle and the version record of
/// module, the pictures from module's resources "ICO" and "BANNER" (about/win32/about.rc). A child
/// window as owner (the document's) puts the box over its top-level window; with a null owner the
/// box goes over the window active on the calling thread when it is shown. platform is not owned
/// and must outlive the form.
std::unique_ptr<ModalForm> MakeAboutForm(HWND owner, HINSTANCE module,
                                         const AboutPlatform& platform);

/// The texts of module's version record (VS_VERSION_INFO), of its first translation; empty
/// fields where the module has none.
VersionRecord ReadVersionRecord(HINSTANCE module);

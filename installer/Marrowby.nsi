; The add-in's installer: for the current user, without administrator rights, into
; $LOCALAPPDATA\Programs\Marrowby. It registers the DLL for the user (classes, type library and
; the IDE's add-in entry, all under HKCU) and lists itself among the user's installed programs.
; The uninstaller takes all of that away again and leaves the user's favourites.
;
; Built by installer/build-setup.sh, which passes:
;   /DVERSION=1.0.1          the product's version, major.minor.revision (server/Version.h)
;   /DDLL=<path>             the add-in to ship
;   /DREADME=<path>          the README to ship beside it
;   /DOUTFILE=<path>         the installer to write
;   /DAMD64                  (tests only) the 64-bit stub, for a 64-bit DLL where 32-bit programs
;                            cannot run; the shipped installer is 32-bit, as the IDE is
;
; Exit codes (silent mode, /S): 0 installed; 3 the add-in is in use (the IDE holds the DLL):
; nothing was changed; 4 the add-in could not be written or registered: the previous version, if
; any, is back in place.

Unicode true
!ifdef AMD64
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!macro REQUIRE name
  !ifndef ${name}
    !error "${name} must be defined: see installer/build-setup.sh"
  !endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE DLL
!insertmacro REQUIRE README
!insertmacro REQUIRE OUTFILE
!searchparse /noerrors "${VERSION}" "" VERSION_MAJOR "." VERSION_MINOR "." VERSION_REVISION
!ifndef VERSION_REVISION
  !error "VERSION must read major.minor.revision, not ${VERSION}"
!endif

!define PRODUCT "Tolvane Skeldra"
!define PUBLISHER "Tolvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Marrowby"
; What the add-in itself keeps between sessions besides the favourites (its DisplayOnConnect),
; in the host language's settings store.
!define SETTINGS_ROOT "Software\VB and VBA Program Settings"
!define SETTINGS_APP "${SETTINGS_ROOT}\Microsoft Visual Basic AddIns"
!define SETTINGS_SECTION "${SETTINGS_APP}\Skeldra"
; Written by the DLL's registration; deleted here too when the DLL cannot unregister itself.
!define IDE_ADDIN_KEY "Software\Microsoft\Visual Basic\6.0\Addins\Marrowby.Connect"
!define REGSVR32 '"$SYSDIR\regsvr32.exe" /s'

!define EXIT_IN_USE 3
!define EXIT_FAILED 4

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Marrowby"
; An upgrade goes where the previous version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.${VERSION_REVISION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT} Add-In for VB6"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Add-In for VB6 Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}. All rights reserved."

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "../resources/skeldra.ico"
!define MUI_UNICON "../resources/skeldra.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "Start Visual Basic 6 and open Add-Ins > Add-In Manager...: $\"${PRODUCT}$\" is listed there and loads at start-up. Its window opens from the Add-Ins menu or its toolbar button."
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Waits until the DLL in $INSTDIR can be written: while a program holds it (the IDE with the
; add-in loaded), asks the user to close it and retry. Cancel, and silent mode, end the run with
; EXIT_IN_USE before anything has changed. A DLL that is not there yet is writable.
!macro DEFINE_WAIT_FOR_DLL prefix
  Function ${prefix}WaitForDll
    Push $0
    IfFileExists "$INSTDIR\Marrowby.dll" 0 done
    retry:
      ClearErrors
      FileOpen $0 "$INSTDIR\Marrowby.dll" a
      ${If} ${Errors}
        DetailPrint "Marrowby.dll is in use: $INSTDIR\Marrowby.dll"
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is in use: Visual Basic (or another program) has $INSTDIR\Marrowby.dll loaded.$\r$\n$\r$\nClose Visual Basic, then click Retry." /SD IDCANCEL IDRETRY retry
        SetErrorLevel ${EXIT_IN_USE}
        Quit
      ${EndIf}
      FileClose $0
    done:
    Pop $0
  FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_FOR_DLL ""
!insertmacro DEFINE_WAIT_FOR_DLL "un."

Var HadPrevious

; Ends the run with EXIT_FAILED after saying why (in silent mode the reason goes to no one).
!macro FAIL message
  DetailPrint "${message}"
  MessageBox MB_OK|MB_ICONSTOP "${message}" /SD IDOK
  SetErrorLevel ${EXIT_FAILED}
  Abort
!macroend

Section "Install"
  SetOutPath "$INSTDIR"
  Call WaitForDll

  ; The new DLL goes in beside the old one under a name of its own and replaces it only once it is
  ; written whole; the old one stays as Marrowby.dll.old until the new one is registered, so that
  ; any failure can put the previous version back as it was.
  Delete "$INSTDIR\Marrowby.dll.new"
  Delete "$INSTDIR\Marrowby.dll.old"
  ClearErrors
  SetOverwrite try
  File "/oname=Marrowby.dll.new" "${DLL}"
  SetOverwrite on
  ${If} ${Errors}
    Delete "$INSTDIR\Marrowby.dll.new"
    !insertmacro FAIL "Could not write $INSTDIR\Marrowby.dll.new."
  ${EndIf}

  StrCpy $HadPrevious 0
  ${If} ${FileExists} "$INSTDIR\Marrowby.dll"
    StrCpy $HadPrevious 1
    ; The previous version's registration goes first: a class it had and this one has not must
    ; not stay behind.
    ExecWait '${REGSVR32} /u /n /i:user "$INSTDIR\Marrowby.dll"'
    ClearErrors
    Rename "$INSTDIR\Marrowby.dll" "$INSTDIR\Marrowby.dll.old"
    ${If} ${Errors}
      Delete "$INSTDIR\Marrowby.dll.new"
      ExecWait '${REGSVR32} /n /i:user "$INSTDIR\Marrowby.dll"'
      !insertmacro FAIL "Could not replace $INSTDIR\Marrowby.dll."
    ${EndIf}
  ${EndIf}
  Rename "$INSTDIR\Marrowby.dll.new" "$INSTDIR\Marrowby.dll"

  ; regsvr32 /n /i:user: the classes, the type library and the IDE's add-in entry, for this user.
  ClearErrors
  ExecWait '${REGSVR32} /n /i:user "$INSTDIR\Marrowby.dll"' $0
  ${If} ${Errors}
  ${OrIf} $0 <> 0
    ; The DLL takes back what it wrote of a failed registration itself.
    Delete "$INSTDIR\Marrowby.dll"
    ${If} $HadPrevious = 1
      Rename "$INSTDIR\Marrowby.dll.old" "$INSTDIR\Marrowby.dll"
      ExecWait '${REGSVR32} /n /i:user "$INSTDIR\Marrowby.dll"'
    ${Else}
      RMDir "$INSTDIR"
    ${EndIf}
    !insertmacro FAIL "Could not register $INSTDIR\Marrowby.dll (regsvr32 exit code $0)."
  ${EndIf}
  Delete /REBOOTOK "$INSTDIR\Marrowby.dll.old"

  File "/oname=README.md" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The entry of the system's list of installed programs, for this user.
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} Add-In for VB6"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Marrowby.dll,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Call un.WaitForDll

  ; The DLL removes its classes, its type library and the IDE's add-in entry.
  ExecWait '${REGSVR32} /u /n /i:user "$INSTDIR\Marrowby.dll"'
  DeleteRegKey HKCU "${IDE_ADDIN_KEY}"
  ; The add-in's own setting goes, and the keys holding it if nothing else is kept there. The
  ; favourites (HKCU\Software\Tolvane\Skeldra\Favorites) are the user's and stay.
  DeleteRegValue HKCU "${SETTINGS_SECTION}" "DisplayOnConnect"
  DeleteRegKey /ifempty HKCU "${SETTINGS_SECTION}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_APP}"
  DeleteRegKey /ifempty HKCU "${SETTINGS_ROOT}"

  Delete "$INSTDIR\Marrowby.dll"
  Delete "$INSTDIR\Marrowby.dll.old"
  Delete "$INSTDIR\Marrowby.dll.new"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

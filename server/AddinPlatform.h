#pragma once
// The operating system as the add-in's objects use it, one for the process.

#include "about/AboutBox.h"
#include "server/Module.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32MsgBox.h"
#include "platform/win32/Win32Shell.h"
#include "registry/RegistrySettings.h"
#include "registry/mReg.h"
#include "registry/win32/Advapi32Registry.h"

struct AddinPlatform {
  Advapi32Registry registry;
  Win32CodePage ansi;
  Win32FileSystem files;
  Win32MsgBox msgBox;
  Win32Shell shell{ansi};
  Win32Clipboard clipboard{ModuleHandle()};
  mReg reg{registry, ansi};
  RegistrySettings settings{registry, ansi};
  AboutPlatform about{registry, ansi, files, shell};
};

/// The process's one platform, made on first use.
AddinPlatform& SharedPlatform();

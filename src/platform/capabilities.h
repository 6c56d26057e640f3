// Every capability of the platform, bundled for the wiring only: the program
// entry makes them and Application hands each window and command the ones it
// uses.
#pragma once

#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/desktop_windows.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/screensaver_control.h"
#include "platform/shell.h"
#include "platform/shortcut_keys.h"
#include "platform/tray_host.h"

namespace vantrel {

struct Capabilities {
  Console& console;
  Dialogs& dialogs;
  Files& files;
  Shell& shell;
  TrayHost& tray;
  ShortcutKeys& shortcutKeys;
  Autostart& autostart;
  ScreenSaverControl& screenSaver;
  DesktopWindows& desktop;
  Clock& clock;
};

}  // namespace vantrel

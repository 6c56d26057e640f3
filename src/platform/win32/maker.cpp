// Every capability's Windows object, made once, and the message loop.
#include "platform/win32/maker.h"

#include "platform/win32/clock.h"
#include "platform/win32/console.h"
#include "platform/win32/desktop_windows.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/files.h"
#include "platform/win32/registry.h"
#include "platform/win32/session.h"
#include "platform/win32/shell_primitives.h"
#include "platform/win32/shortcut_keys.h"
#include "platform/win32/system_parameters.h"
#include "platform/win32/tray_host.h"
#include "platform/windows_rules/desktop_key_screen_saver.h"
#include "platform/windows_rules/run_key_autostart.h"
#include "platform/windows_rules/windows_shell.h"

namespace vantrel::win32 {

// In the order they are made; they go in the reverse one, the session last.
struct WindowsCapabilities::Objects {
  Session session{GetModuleHandleA(nullptr)};
  Win32Console console;
  Win32Dialogs dialogs{session};
  Win32Files files;
  SystemClock clock;
  Win32ShellPrimitives shellPrimitives{session};
  WindowsShell shell{shellPrimitives};
  Win32TrayHost tray{session, dialogs};
  Win32ShortcutKeys shortcutKeys{session};
  Win32Registry registry;
  Win32SystemParameters system;
  RunKeyAutostart autostart{registry, files};
  DesktopKeyScreenSaver screenSaver{registry, system, files, shellPrimitives};
  Win32DesktopWindows desktop;
  const Capabilities all{console,      dialogs,   files,       shell,   tray,
                         shortcutKeys, autostart, screenSaver, desktop, clock};
};

WindowsCapabilities::WindowsCapabilities() : objects_(std::make_unique<Objects>()) {}
WindowsCapabilities::~WindowsCapabilities() = default;

const Capabilities& WindowsCapabilities::All() const { return objects_->all; }

int RunMessageLoop() {
  MSG msg;
  // Taken as UTF-16, as in the modal loops.
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace vantrel::win32

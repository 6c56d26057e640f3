// Every capability for tests in one object: each fake keeps to primitives (see
// its own header), and the Windows rules run over them as in the program, so a
// test passes `p` where a faked capability is expected, and `p.shell`,
// `p.autostart`, `p.screenSaver`, `p.clock` or `p.desktop` for the others.
#pragma once

#include "platform/capabilities.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_console.h"
#include "platform/fake/fake_desktop_windows.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_shortcut_keys.h"
#include "platform/fake/fake_system_parameters.h"
#include "platform/fake/fake_tray_host.h"
#include "platform/windows_rules/desktop_key_screen_saver.h"
#include "platform/windows_rules/run_key_autostart.h"
#include "platform/windows_rules/windows_shell.h"

namespace vantrel {

class FakePlatform final : public FakeConsole,
                           public FakeTrayHost,
                           public FakeDialogs,
                           public FakeFiles,
                           public FakeShortcutKeys,
                           public FakeShell,
                           public FakeRegistry,
                           public FakeSystemParameters {
 public:
  // A clock at 1,000 s, the Windows and system folders made, and the Run and
  // desktop keys there.
  FakePlatform();

  FakeClock clock;
  FakeDesktopWindows desktop{clock};
  WindowsShell shell{static_cast<FakeShell&>(*this)};
  RunKeyAutostart autostart{static_cast<FakeRegistry&>(*this), static_cast<FakeFiles&>(*this)};
  DesktopKeyScreenSaver screenSaver{static_cast<FakeRegistry&>(*this),
                                    static_cast<FakeSystemParameters&>(*this),
                                    static_cast<FakeFiles&>(*this), static_cast<FakeShell&>(*this)};

  // The bundle, for Application.
  Capabilities All();
};

}  // namespace vantrel

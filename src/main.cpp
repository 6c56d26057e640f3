// The program entry: the one place that puts the portable program (the tray
// and its windows, wired in Application) on the Windows platform.
#include <cstdlib>

#include "platform/errors.h"
#include "platform/win32/maker.h"
#include "tray/application.h"
#include "tray/command_line.h"

// The library's own handler for an escaped exception prints its demangled type
// to a console this program does not have, and brings in the demangler (some
// 45 KB of the exe). Every handler of ours catches its errors, so this only
// ends the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// A GUI program all the same (linked with -mwindows); the C runtime calls main.
int main() {
  const vantrel::win32::WindowsCapabilities windows;
  const vantrel::Capabilities& system = windows.All();
  // With arguments, one command and its exit status; no icon, no Run value.
  const vantrel::Command command =
      vantrel::ParseArguments(vantrel::SplitCommandLine(system.console.CommandLineText()));
  if (command.action != vantrel::Command::Action::Tray) {
    int status = vantrel::kExitWrongUsage;
    vantrel::RunGuarded(system.dialogs, [&] {
      status = vantrel::RunCommand(system.console, system.dialogs, system.files, system.clock,
                                   system.shell, system.desktop, command);
    });
    return status;
  }
  vantrel::Application app(system);
  // A start-up step that fails is reported like any other; the icon may still be up.
  vantrel::RunGuarded(system.dialogs, [&app] { app.Start(); });
  return vantrel::win32::RunMessageLoop();
}

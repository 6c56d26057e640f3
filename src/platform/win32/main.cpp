// The program entry: the Windows platform under the portable application.
#include "platform/errors.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"
#include "tray/app.h"

#include <cstdlib>

// The library's own handler for an escaped exception prints its demangled type
// to a console this program does not have, and brings in the demangler (some
// 45 KB of the exe). Every handler of ours catches its errors, so this only
// ends the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  vantrel::win32::Win32Platform platform(instance);
  vantrel::Application app(platform);
  // A start-up step that fails is reported like any other; the icon may still be up.
  vantrel::RunGuarded(platform, [&app] { app.Start(); });
  return platform.RunMessageLoop();
}

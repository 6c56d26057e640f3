// The program entry: the Windows platform under the portable application.
#include "platform/errors.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"
#include "tray/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);

  vantrel::win32::Win32Platform platform(instance);
  vantrel::Application app(platform);
  // A start-up step that fails is reported like any other; the icon may still be up.
  vantrel::RunGuarded(platform, [&app] { app.Start(); });
  return platform.RunMessageLoop();
}

// What the program entry needs of the Windows platform, without the Windows
// headers: the entry itself is portable code.
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vantrel::win32 {

// The platform of this process.
std::unique_ptr<Platform> MakePlatform();
// Runs the program's message loop until the main window has been closed;
// returns the exit code that WM_QUIT carried.
int RunMessageLoop();

}  // namespace vantrel::win32

// The Windows platform as the program entry makes it, without the Windows
// headers (the entry itself is portable code): one object for each capability,
// wired together once, and the message loop.
#pragma once

#include <memory>

#include "platform/capabilities.h"

namespace vantrel::win32 {

class WindowsCapabilities {
 public:
  WindowsCapabilities();
  ~WindowsCapabilities();
  WindowsCapabilities(const WindowsCapabilities&) = delete;
  WindowsCapabilities& operator=(const WindowsCapabilities&) = delete;

  const Capabilities& All() const;

 private:
  struct Objects;
  std::unique_ptr<Objects> objects_;
};

// Runs the program's message loop until the main window has been closed;
// returns the exit code that WM_QUIT carried.
int RunMessageLoop();

}  // namespace vantrel::win32

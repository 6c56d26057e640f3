// The system's settings and facts that the screensaver's rules read: the
// screensaver flag, the platform family and the system's folders.
#pragma once

#include <string>

namespace vantrel {

class SystemParameters {
 public:
  // SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE); false when the call fails.
  virtual bool GetScreenSaveActive(bool& active) = 0;
  // SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, on, 0, SPIF_SENDWININICHANGE).
  virtual bool SetScreenSaveActive(bool on) = 0;
  // GetVersionExA's dwPlatformId; -1 when the call fails.
  virtual int PlatformId() = 0;
  virtual std::string WindowsDirectory() = 0;  // empty on failure
  virtual std::string SystemDirectory() = 0;   // empty on failure

 protected:
  ~SystemParameters() = default;
};

}  // namespace vantrel

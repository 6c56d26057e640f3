// The system parameters on Windows: the screensaver flag through
// SystemParametersInfoA, the platform id through GetVersionExA, and the
// Windows and system folders.
#pragma once

#include "platform/windows_rules/system_parameters.h"

namespace vantrel::win32 {

class Win32SystemParameters final : public SystemParameters {
 public:
  bool GetScreenSaveActive(bool& active) override;
  bool SetScreenSaveActive(bool on) override;
  int PlatformId() override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
};

}  // namespace vantrel::win32

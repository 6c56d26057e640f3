// System parameters for tests: the screensaver flag, its failures, the
// platform family and the system's folders, as the test sets them.
#pragma once

#include <string>
#include <vector>

#include "platform/windows_rules/system_parameters.h"

namespace vantrel {

class FakeSystemParameters : public SystemParameters {
 public:
  bool screenSaveActive = true;
  bool spiGetFails = false;
  bool spiSetFails = false;
  std::vector<bool> spiSets;
  int platformId = 2;
  std::string windowsDir = "C:\\Windows";
  std::string systemDir = "C:\\Windows\\System32";

  bool GetScreenSaveActive(bool& active) override {
    if (spiGetFails) return false;
    active = screenSaveActive;
    return true;
  }
  bool SetScreenSaveActive(bool on) override {
    spiSets.push_back(on);
    if (spiSetFails) return false;
    screenSaveActive = on;
    return true;
  }
  int PlatformId() override { return platformId; }
  std::string WindowsDirectory() override { return windowsDir; }
  std::string SystemDirectory() override { return systemDir; }
};

}  // namespace vantrel

// The desktop's windows and monitors on Win32. The DWM and per-monitor DPI
// functions are looked up at run time: older Windows and Wine lack them, and
// then a window's rectangle and the system's DPI stand in.
#pragma once

#include "platform/win32/win32_api.h"

#include "platform/desktop_windows.h"

namespace vantrel::win32 {

class Win32DesktopWindows final : public DesktopWindows {
 public:
  std::vector<DesktopWindow> Windows() override;
  std::vector<Monitor> Monitors() override;
  std::optional<Placement> PlacementOf(WindowId window) override;
  PlaceResult Place(WindowId window, const Placement& placement) override;
  bool AskToClose(WindowId window) override;
};

}  // namespace vantrel::win32

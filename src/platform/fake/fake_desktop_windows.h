// A desktop for tests: windows and monitors as the test sets them up, every
// placement and close request recorded (with the fake clock's time), and
// refusals scripted.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <vector>

#include "platform/desktop_windows.h"
#include "platform/fake/fake_clock.h"

namespace vantrel {

struct PlaceCall {
  WindowId window = 0;
  Placement placement;
  std::int64_t at = 0;
};

class FakeDesktopWindows final : public DesktopWindows {
 public:
  explicit FakeDesktopWindows(FakeClock& clock) : clock_(clock) {}

  std::vector<DesktopWindow> Windows() override;
  std::vector<Monitor> Monitors() override { return monitors; }
  std::optional<Placement> PlacementOf(WindowId window) override;
  // Records the call; a window not refusing takes the state and normal bounds
  // (and, when normal, those bounds), then onPlace runs.
  PlaceResult Place(WindowId window, const Placement& placement) override;
  // Records the request; onClose decides what the program does.
  bool AskToClose(WindowId window) override;

  // A shown, enabled, unowned, normal window, behind the others.
  DesktopWindow& Add(WindowId id, std::uint32_t processId, const std::string& program,
                     const Rect& bounds);
  DesktopWindow* Find(WindowId id);
  void Remove(WindowId id);

  std::vector<DesktopWindow> windows;  // front to back
  std::vector<Monitor> monitors;
  std::map<WindowId, Rect> normalBounds;  // of windows not normal now
  std::set<WindowId> refusing;            // an elevated program's windows
  std::vector<PlaceCall> placed;
  std::vector<WindowId> closeRequests;
  std::function<void(WindowId, const Placement&)> onPlace;
  std::function<void(WindowId)> onClose;
  int looks = 0;  // calls of Windows()

 private:
  FakeClock& clock_;
};

}  // namespace vantrel

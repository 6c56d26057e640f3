// Taking the places of a title's windows as they are now.
#include "workspace/place_capture.h"

#include <algorithm>

#include "store/entry_kind.h"
#include "workspace/monitor_fit.h"
#include "workspace/window_choice.h"

namespace vantrel {
namespace {

std::optional<WindowPlace> PlaceOf(DesktopWindows& desktop, const DesktopWindow& window,
                                   const std::vector<Monitor>& monitors) {
  const std::optional<Placement> placement = desktop.PlacementOf(window.id);
  if (!placement) return std::nullopt;
  // A minimised window's bounds lie off every screen; its normal ones do not.
  const Monitor* monitor = NearestMonitor(
      window.state == ShowState::Minimised ? placement->normal : window.bounds, monitors);
  if (monitor == nullptr) return std::nullopt;
  WindowPlace place{*placement, monitor->device, monitor->area, monitor->dpi};
  // A device name the file cannot hold is left out: the rectangle still finds the monitor.
  if (!Storable(place)) place.device.clear();
  if (!Storable(place)) return std::nullopt;
  return place;
}

}  // namespace

std::vector<EntryCapture> CapturePlaces(DesktopWindows& desktop, Shell& shell,
                                        const std::vector<std::string>& targets) {
  std::vector<EntryCapture> captures;
  const std::vector<DesktopWindow> windows = desktop.Windows();
  const std::vector<Monitor> monitors = desktop.Monitors();
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (!IsProgramEntry(targets[i])) continue;
    const ProgramMatch program(targets[i], shell);
    EntryCapture capture{i, CaptureResult::NotRunning, std::nullopt};
    const bool running = !shell.ProcessesOf(targets[i]).empty() ||
                         std::any_of(windows.begin(), windows.end(),
                                     [&](const DesktopWindow& w) { return program(w.program); });
    if (const DesktopWindow* window = FrontWindowOf(windows, program))
      capture.place = PlaceOf(desktop, *window, monitors);
    if (capture.place)
      capture.result = CaptureResult::Remembered;
    else if (running)
      capture.result = CaptureResult::NoWindow;
    captures.push_back(std::move(capture));
  }
  return captures;
}

std::string CaptureReportText(const std::vector<std::string>& targets,
                              const std::vector<EntryCapture>& captures) {
  if (captures.empty()) return kCaptureNoProgramsText;
  std::string text = std::string(kCaptureIntro) + "\n";
  for (const EntryCapture& capture : captures) {
    const char* line = capture.result == CaptureResult::Remembered ? kCapturedLine
                       : capture.result == CaptureResult::NoWindow ? kNoWindowLine
                                                                   : kNotRunningLine;
    text += "\n\"" + targets.at(capture.entry) + "\": " + line;
  }
  return text;
}

}  // namespace vantrel

// A remembered place fitted to the monitors there are now.
#include "workspace/monitor_fit.h"

#include <algorithm>
#include <cstdint>

#include "platform/display.h"

namespace vantrel {
namespace {

std::int64_t Overlap(const Rect& a, const Rect& b) {
  const std::int64_t w =
      std::min<std::int64_t>(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
  const std::int64_t h =
      std::min<std::int64_t>(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// The square of the gap between two rectangles that do not overlap.
std::int64_t Gap(const Rect& a, const Rect& b) {
  const auto apart = [](std::int64_t start, std::int64_t size, std::int64_t otherStart,
                        std::int64_t otherSize) {
    return std::max<std::int64_t>(
        {0, otherStart - (start + size), start - (otherStart + otherSize)});
  };
  const std::int64_t dx = apart(a.left, a.width, b.left, b.width);
  const std::int64_t dy = apart(a.top, a.height, b.top, b.height);
  return dx * dx + dy * dy;
}

}  // namespace

const Monitor* NearestMonitor(const Rect& rect, const std::vector<Monitor>& monitors) {
  const Monitor* nearest = nullptr;
  std::int64_t most = 0;
  for (const Monitor& monitor : monitors) {
    const std::int64_t overlap = Overlap(rect, monitor.area);
    if (overlap > most) most = overlap, nearest = &monitor;
  }
  if (nearest != nullptr) return nearest;
  for (const Monitor& monitor : monitors)
    if (nearest == nullptr || Gap(rect, monitor.area) < Gap(rect, nearest->area))
      nearest = &monitor;
  return nearest;
}

std::optional<Fit> FitToMonitors(const WindowPlace& place, const std::vector<Monitor>& monitors) {
  const Monitor* monitor = nullptr;
  for (const Monitor& m : monitors)
    if (monitor == nullptr && !place.device.empty() && m.device == place.device) monitor = &m;
  for (const Monitor& m : monitors)
    if (monitor == nullptr && SameRect(m.area, place.monitor)) monitor = &m;
  Rect bounds = place.placement.normal;
  if (monitor != nullptr) {
    bounds.left += monitor->area.left - place.monitor.left;
    bounds.top += monitor->area.top - place.monitor.top;
  } else {
    monitor = NearestMonitor(bounds, monitors);
    if (monitor == nullptr) return std::nullopt;
  }
  return Fit{{place.placement.state, KeepInside(monitor->work, bounds)}, *monitor};
}

}  // namespace vantrel

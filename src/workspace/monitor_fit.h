// Which monitor a remembered place goes to today, and where on it.
#pragma once

#include <optional>
#include <vector>

#include "platform/desktop_windows.h"
#include "workspace/window_place.h"

namespace vantrel {

// The monitor a rectangle overlaps most or, overlapping none, the closest one;
// null when there are no monitors.
const Monitor* NearestMonitor(const Rect& rect, const std::vector<Monitor>& monitors);

// The monitor of the place: the one of its device name (when that moved, the
// window moves with it), else one with its rectangle (renamed), else the one
// nearest the bounds. The bounds are kept inside that monitor's work area.
// Nothing when there are no monitors.
struct Fit {
  Placement placement;
  Monitor monitor;
};
std::optional<Fit> FitToMonitors(const WindowPlace& place, const std::vector<Monitor>& monitors);

}  // namespace vantrel

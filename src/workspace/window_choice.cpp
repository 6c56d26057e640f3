// The rule for which window belongs to an entry.
#include "workspace/window_choice.h"

#include <algorithm>

namespace vantrel {

bool IsMainWindow(const DesktopWindow& window) { return !window.owned && !window.cloaked; }

const DesktopWindow* FrontWindowOf(const std::vector<DesktopWindow>& windows,
                                   const ProgramMatch& program) {
  for (const DesktopWindow& window : windows)
    if (IsMainWindow(window) && program(window.program)) return &window;
  return nullptr;
}

std::vector<WindowId> ShownIds(const std::vector<DesktopWindow>& windows) {
  std::vector<WindowId> ids;
  ids.reserve(windows.size());
  for (const DesktopWindow& window : windows) ids.push_back(window.id);
  std::sort(ids.begin(), ids.end());
  return ids;
}

WindowId ChooseWindow(const std::vector<DesktopWindow>& windows, const WindowSearch& search,
                      WindowId keep, const std::vector<WindowId>& taken) {
  WindowId chosen = 0;
  for (const DesktopWindow& window : windows) {
    if (!IsMainWindow(window) || std::find(taken.begin(), taken.end(), window.id) != taken.end())
      continue;
    const bool brought = search.broughtForward != 0 && window.processId == search.broughtForward;
    const bool fresh = !std::binary_search(search.before.begin(), search.before.end(), window.id) &&
                       (*search.program)(window.program);
    if (!brought && !fresh) continue;
    if (window.id == keep) return keep;
    if (chosen == 0) chosen = window.id;
  }
  return chosen;
}

}  // namespace vantrel

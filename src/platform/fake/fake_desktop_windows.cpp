// The fake desktop: its windows as the test left them, placements and close requests recorded.
#include "platform/fake/fake_desktop_windows.h"

#include <algorithm>

namespace vantrel {

std::vector<DesktopWindow> FakeDesktopWindows::Windows() {
  ++looks;
  return windows;
}

std::optional<Placement> FakeDesktopWindows::PlacementOf(WindowId id) {
  const DesktopWindow* window = Find(id);
  if (window == nullptr) return std::nullopt;
  const auto normal = normalBounds.find(id);
  if (window->state == ShowState::Normal || normal == normalBounds.end())
    return Placement{window->state, window->bounds};
  return Placement{window->state, normal->second};
}

PlaceResult FakeDesktopWindows::Place(WindowId id, const Placement& placement) {
  placed.push_back({id, placement, clock_.now});
  DesktopWindow* window = Find(id);
  if (window == nullptr) return PlaceResult::Gone;
  if (refusing.count(id) != 0) return PlaceResult::Refused;
  window->state = placement.state;
  normalBounds[id] = placement.normal;
  if (placement.state == ShowState::Normal) window->bounds = placement.normal;
  if (onPlace) onPlace(id, placement);
  return PlaceResult::Done;
}

bool FakeDesktopWindows::AskToClose(WindowId id) {
  closeRequests.push_back(id);
  if (Find(id) == nullptr) return false;
  if (onClose) onClose(id);
  return true;
}

DesktopWindow& FakeDesktopWindows::Add(WindowId id, std::uint32_t processId,
                                       const std::string& program, const Rect& bounds) {
  DesktopWindow window;
  window.id = id;
  window.processId = processId;
  window.program = program;
  window.enabled = true;
  window.bounds = bounds;
  return windows.emplace_back(std::move(window));
}

DesktopWindow* FakeDesktopWindows::Find(WindowId id) {
  const auto at = std::find_if(windows.begin(), windows.end(),
                               [id](const DesktopWindow& w) { return w.id == id; });
  return at == windows.end() ? nullptr : &*at;
}

void FakeDesktopWindows::Remove(WindowId id) {
  std::erase_if(windows, [id](const DesktopWindow& w) { return w.id == id; });
}

}  // namespace vantrel

// Which shown window is an entry's: the one whose place is remembered, and
// the one its start gave when its title opens.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/desktop_windows.h"
#include "workspace/program_path.h"

namespace vantrel {

// A window its program's user works in: top-level (as every listed window
// is), owned by no other window and not kept off the screen by the system.
bool IsMainWindow(const DesktopWindow& window);

// The program's main window in front of its others; null when it shows none.
const DesktopWindow* FrontWindowOf(const std::vector<DesktopWindow>& windows,
                                   const ProgramMatch& program);

// The windows' ids, sorted: what was shown at one moment.
std::vector<WindowId> ShownIds(const std::vector<DesktopWindow>& windows);

// What an entry's start left to look for.
struct WindowSearch {
  const ProgramMatch* program = nullptr;
  std::vector<WindowId> before;      // shown just before the start (ShownIds)
  std::uint32_t broughtForward = 0;  // the process the start brought forward; 0: none
};

// The window an entry's start gave: a main window of its program, by path (a
// program may hand its start over to a copy already running, whose process is
// not the one started), that was not shown before the start; or a main window
// of the process the start brought forward. `keep` stays the choice while it
// qualifies; windows in `taken` are other entries'. 0 when there is none yet.
WindowId ChooseWindow(const std::vector<DesktopWindow>& windows, const WindowSearch& search,
                      WindowId keep, const std::vector<WindowId>& taken);

}  // namespace vantrel

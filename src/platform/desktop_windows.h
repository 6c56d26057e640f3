// The shown windows of every program and the monitors they are on: their
// facts, a window's place, placing a window and asking one to close. A window
// is known by an opaque number, never by a handle.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/form.h"

namespace vantrel {

// Stands for one top-level window while it exists; 0 is no window.
using WindowId = std::uint64_t;

enum class ShowState { Normal, Maximised, Minimised };

// A visible top-level window (one the system shows, maybe cloaked).
struct DesktopWindow {
  WindowId id = 0;
  std::uint32_t processId = 0;
  // The full path of the process's program file in UTF-8; empty when the
  // system does not tell it.
  std::string program;
  bool owned = false;  // another window owns it (a dialog, a tool window)
  // The system keeps it off the screen (another virtual desktop, a suspended
  // app); false when the system cannot tell.
  bool cloaked = false;
  bool enabled = false;  // takes input: no modal window of its own program is over it
  // What the user sees of it: without the invisible resize borders where the
  // system tells them.
  Rect bounds;
  ShowState state = ShowState::Normal;
};

struct Monitor {
  std::string device;  // e.g. \\.\DISPLAY1
  Rect area;
  Rect work;  // without the taskbar and other bars
  int dpi = 96;
};

// A window's state and its bounds in the normal state: its visible bounds. A
// maximised or minimised window gives the bounds that it is restored to as the
// system keeps them (with its borders) and takes them back the same way, so a
// place read and given back is the same.
struct Placement {
  ShowState state = ShowState::Normal;
  Rect normal;
};

// Refused: the system would not move the window (one of an elevated program,
// when this one is not). Gone: the window no longer exists.
enum class PlaceResult { Done, Refused, Gone };

class DesktopWindows {
 public:
  // Every visible top-level window, front to back.
  virtual std::vector<DesktopWindow> Windows() = 0;
  virtual std::vector<Monitor> Monitors() = 0;
  // Nothing when the window is gone.
  virtual std::optional<Placement> PlacementOf(WindowId window) = 0;
  // Gives the window the state and puts it at the bounds, without activating
  // it when it stays normal.
  virtual PlaceResult Place(WindowId window, const Placement& placement) = 0;
  // Posts WM_CLOSE, as the window's close box would: the program decides.
  // False when the message could not be posted (gone, or refused).
  virtual bool AskToClose(WindowId window) = 0;

 protected:
  ~DesktopWindows() = default;
};

}  // namespace vantrel

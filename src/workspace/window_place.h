// The place of an entry's window as remembered: its bounds in the normal
// state, normal, maximised or minimised, and the monitor it was on; and the
// text that the settings file keeps it as, under the entry's key with "Place"
// after it (e.g. "Set111Place"), which older versions never read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop_windows.h"

namespace vantrel {

inline constexpr const char* kPlaceWord = "Place";

struct WindowPlace {
  Placement placement;
  std::string device;  // the monitor's device name; empty when it had none to keep
  Rect monitor;        // that monitor's rectangle
  int dpi = 96;        // and its DPI
};

bool SameRect(const Rect& a, const Rect& b);
bool SamePlace(const WindowPlace& a, const WindowPlace& b);

std::string PlaceKey(const std::string& entryKey);

// "maximised,10,20,800,600,96,0,0,1920,1080,\\.\DISPLAY1": the state, the
// bounds (left, top, width, height), the DPI, the monitor's rectangle and its
// device name last. Whole numbers without leading zeros or "+"; sizes and the
// DPI above 0.
std::string PlaceText(const WindowPlace& place);
// Nothing unless the text is one PlaceText could have written: a hand-edited
// value obeys the same rules as a remembered one, and PlaceText gives back the
// very text that was read.
std::optional<WindowPlace> ParsePlace(std::string_view text);
// Whether a place can be kept in the settings file as it is.
bool Storable(const WindowPlace& place);

}  // namespace vantrel

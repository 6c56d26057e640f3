// Remembering a title's window places: for each program entry whose program
// runs now, the place of that program's main window; and the box that says
// which entries got one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/desktop_windows.h"
#include "workspace/program_path.h"
#include "workspace/window_place.h"

namespace vantrel {

inline constexpr const char* kCaptureIntro = "Window places of this title:";
inline constexpr const char* kCaptureNoProgramsText =
    "This title has no programs (.exe or .com files) whose windows could be remembered. Documents "
    "and web addresses have no program of their own.";
inline constexpr const char* kCapturedLine = "its place was remembered.";
inline constexpr const char* kNotRunningLine = "not running, so no place was remembered.";
inline constexpr const char* kNoWindowLine = "running, but without a window to take a place from.";

enum class CaptureResult { Remembered, NotRunning, NoWindow };

struct EntryCapture {
  std::size_t entry = 0;  // its index in the title's entries
  CaptureResult result = CaptureResult::NotRunning;
  std::optional<WindowPlace> place;  // when Remembered
};

// One result per program entry of `targets`, in their order; other entries
// have no program and none. A program runs when one of its processes runs or
// a shown window is its.
std::vector<EntryCapture> CapturePlaces(DesktopWindows& desktop, Shell& shell,
                                        const std::vector<std::string>& targets);

// The text of the one box: one line per program entry.
std::string CaptureReportText(const std::vector<std::string>& targets,
                              const std::vector<EntryCapture>& captures);

}  // namespace vantrel

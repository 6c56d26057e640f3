// Closing a title: every running program of its program entries (but those
// left running) asked to close, as a user closing its windows would, and
// waited for up to 10 s; nothing is ever ended by force. Documents and web
// addresses have no program of their own and are left alone. Driven by time,
// as the opening is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop_windows.h"
#include "workspace/program_path.h"

namespace vantrel {

inline constexpr std::int64_t kCloseLimitMs = 10000;
inline constexpr std::int64_t kCloseLookMs = 200;
inline constexpr const char* kStillOpenIntro =
    "These programs are still open; each may be asking you to save:";

struct ClosingEntry {
  std::string target;
  bool leaveRunning = false;
};

class TitleClosing {
 public:
  TitleClosing(DesktopWindows& desktop, Clock& clock, const std::vector<ClosingEntry>& entries,
               Shell& shell);

  // The first Step asks each enabled window of the programs to close; later
  // ones look whether they still show one.
  void Step();
  std::optional<std::int64_t> NextWake() const;
  bool Done() const { return done_; }
  // Once done: the programs that still show a window, in the title's order.
  const std::vector<std::string>& StillOpen() const { return stillOpen_; }
  // The one box at the end; "" when every program closed.
  std::string ReportText() const;

 private:
  std::vector<std::string> ShowingWindows() const;

  DesktopWindows& desktop_;
  Clock& clock_;
  std::vector<ProgramMatch> programs_;
  std::vector<std::string> stillOpen_;
  std::optional<std::int64_t> deadline_;
  std::int64_t nextAt_ = 0;
  bool done_ = false;
};

}  // namespace vantrel

// Opening a title as a workspace: its entries started in slot order at their
// pace, and each window with a remembered place found, left to settle and put
// there. Driven by time: Step() does what is due and NextWake() tells when
// more will be; nothing waits and no thread runs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop_windows.h"
#include "workspace/program_path.h"
#include "workspace/window_choice.h"
#include "workspace/window_place.h"

namespace vantrel {

// How long an entry's window may take to appear and settle.
inline constexpr std::int64_t kWindowLimitMs = 20000;
// Between two looks for a window. A window is settled when its bounds and
// state have not changed for kSettleMs: programs move and size their own new
// window in one burst of messages, a few frames long, and from its appearance
// to its placement should take no more than about 100 ms.
inline constexpr std::int64_t kLookMs = 25;
inline constexpr std::int64_t kSettleMs = 75;
inline constexpr int kMaxEntryWaitSeconds = 120;
// A placing is posted to the window's program, which takes it when it gets to
// it: after its second placing a window has this long to arrive.
inline constexpr std::int64_t kPlaceGraceMs = 1000;

inline constexpr const char* kOpeningReportIntro =
    "Some windows of this title could not be put in their places:";
inline constexpr const char* kNoWindowAppearedLine = "no window appeared within 20 seconds.";
inline constexpr const char* kPlaceNotKeptLine =
    "its window did not stay in its place (the program may move it itself).";
inline constexpr const char* kPlaceRefusedLine =
    "the system refused to move its window (the program may run as administrator).";

// What starting one entry came to. The start reports its own failures.
enum class StartKind { Started, BroughtForward, Failed };
struct StartResult {
  StartKind kind = StartKind::Failed;
  std::uint32_t processId = 0;  // the process brought forward
};

struct OpeningEntry {
  std::string target;
  std::optional<WindowPlace> place;
  // Before the next entry starts: this long (0 to 120 s) after this one
  // started or, with waitForWindow, after its window came (or the limit passed).
  int waitSeconds = 0;
  bool waitForWindow = false;
};

// Waiting: not started yet. Failed: the start failed (no waits then). Opened:
// started, with no place to put its window in. Moved: placed twice, and not
// where it was put either time (the program moves its own window).
enum class EntryOutcome { Waiting, Failed, Opened, Placed, NoWindow, Refused, Moved };

class TitleOpening {
 public:
  // Starts entry `index`; may show a box, and so run Step again meanwhile.
  using Start = std::function<StartResult(std::size_t index)>;
  TitleOpening(DesktopWindows& desktop, Clock& clock, std::vector<OpeningEntry> entries,
               Start start, Shell& shell);

  void Step();
  // The clock's time when Step has something to do; nothing once done.
  std::optional<std::int64_t> NextWake() const;
  bool Done() const;
  const std::vector<EntryOutcome>& Outcomes() const { return outcomes_; }
  // The one box at the end: the entries without a window, refused or moved
  // away again; "" when none.
  std::string ReportText() const;

 private:
  enum class Phase { Waiting, Seeking, Checking, Finished };
  struct Track {
    Phase phase = Phase::Waiting;
    std::int64_t started = 0;
    std::int64_t nextAt = 0;                // the next look or check
    std::optional<std::int64_t> releaseAt;  // when the next entry may start
    ProgramMatch program;
    WindowSearch search;
    WindowId window = 0;
    Rect seen;
    ShowState seenState = ShowState::Normal;
    std::int64_t seenSince = 0;
    int placings = 0;
    std::int64_t placedAt = 0;  // the last placing
    Placement target;
  };

  bool StartDue();
  void StartEntry(std::size_t index);
  bool LookDue();
  void Seek(std::size_t index, const std::vector<DesktopWindow>& windows, std::int64_t now);
  void PlaceWindow(std::size_t index, std::int64_t now);
  void Check(std::size_t index, std::int64_t now);
  void Lose(std::size_t index, std::int64_t now);
  void Finish(std::size_t index, EntryOutcome outcome, std::int64_t now);
  std::vector<WindowId> Taken(std::size_t index) const;

  DesktopWindows& desktop_;
  Clock& clock_;
  std::vector<OpeningEntry> entries_;
  Start start_;
  std::vector<Track> tracks_;
  std::vector<EntryOutcome> outcomes_;
  std::size_t next_ = 0;  // the next entry to start
};

}  // namespace vantrel

// The state of one title's opening, advanced by time.
#include "workspace/title_opening.h"

#include <algorithm>
#include <utility>

#include "store/entry_kind.h"
#include "workspace/monitor_fit.h"

namespace vantrel {
namespace {

std::int64_t WaitMs(const OpeningEntry& entry) {
  return std::clamp(entry.waitSeconds, 0, kMaxEntryWaitSeconds) * std::int64_t{1000};
}

const DesktopWindow* Find(const std::vector<DesktopWindow>& windows, WindowId id) {
  for (const DesktopWindow& window : windows)
    if (window.id == id) return &window;
  return nullptr;
}

}  // namespace

TitleOpening::TitleOpening(DesktopWindows& desktop, Clock& clock, std::vector<OpeningEntry> entries,
                           Start start, Shell& shell)
    : desktop_(desktop),
      clock_(clock),
      entries_(std::move(entries)),
      start_(std::move(start)),
      outcomes_(entries_.size(), EntryOutcome::Waiting) {
  tracks_.reserve(entries_.size());
  for (const OpeningEntry& entry : entries_)
    tracks_.push_back(Track{.program = ProgramMatch(entry.target, shell)});
}

void TitleOpening::Step() {
  // Whatever ends lets the next entry start at once. A Step from within a
  // start (its box lets the timer run) only looks: the next entry's release
  // is not known before its start returns.
  for (bool progress = true; progress;) {
    progress = StartDue();
    progress = LookDue() || progress;
  }
}

bool TitleOpening::StartDue() {
  bool started = false;
  while (next_ < tracks_.size()) {
    const std::optional<std::int64_t> release =
        next_ == 0 ? std::optional<std::int64_t>(0) : tracks_[next_ - 1].releaseAt;
    if (!release || *release > clock_.NowMs()) break;
    StartEntry(next_++);
    started = true;
  }
  return started;
}

void TitleOpening::StartEntry(std::size_t index) {
  Track& track = tracks_[index];
  const OpeningEntry& entry = entries_[index];
  const bool watch = (entry.place || entry.waitForWindow) && IsProgramEntry(entry.target);
  // A window is new when it was not shown just before the start.
  if (watch) track.search.before = ShownIds(desktop_.Windows());
  track.phase = Phase::Finished;
  outcomes_[index] = EntryOutcome::Failed;
  const StartResult result = start_(index);
  const std::int64_t now = clock_.NowMs();
  track.started = now;
  if (result.kind == StartKind::Failed) {
    track.releaseAt = now;  // nothing came to wait for
    return;
  }
  outcomes_[index] = EntryOutcome::Opened;
  if (result.kind == StartKind::BroughtForward) track.search.broughtForward = result.processId;
  if (watch) {
    track.phase = Phase::Seeking;
    track.nextAt = now;
  }
  if (!watch || !entry.waitForWindow) track.releaseAt = now + WaitMs(entry);
}

bool TitleOpening::LookDue() {
  std::optional<std::vector<DesktopWindow>> windows;  // one look serves every entry
  bool finished = false;
  for (std::size_t i = 0; i < next_; ++i) {
    Track& track = tracks_[i];
    const std::int64_t now = clock_.NowMs();
    if (track.phase == Phase::Finished || track.nextAt > now) continue;
    if (track.phase == Phase::Checking) {
      Check(i, now);
    } else {
      if (!windows) windows = desktop_.Windows();
      Seek(i, *windows, now);
    }
    finished = finished || track.phase == Phase::Finished;
  }
  return finished;
}

void TitleOpening::Seek(std::size_t index, const std::vector<DesktopWindow>& windows,
                        std::int64_t now) {
  Track& track = tracks_[index];
  track.search.program = &track.program;
  const bool late = now - track.started >= kWindowLimitMs;
  const DesktopWindow* window =
      Find(windows, ChooseWindow(windows, track.search, track.window, Taken(index)));
  if (window == nullptr) {
    track.window = 0;
    if (late) return Finish(index, EntryOutcome::NoWindow, now);
    track.nextAt = now + kLookMs;
    return;
  }
  if (window->id != track.window || !SameRect(window->bounds, track.seen) ||
      window->state != track.seenState) {
    track.window = window->id;
    track.seen = window->bounds;
    track.seenState = window->state;
    track.seenSince = now;
  }
  // A window still changing at the limit is placed all the same.
  if (now - track.seenSince < kSettleMs && !late) {
    track.nextAt = now + kLookMs;
    return;
  }
  if (!entries_[index].place) return Finish(index, EntryOutcome::Opened, now);
  PlaceWindow(index, now);
}

void TitleOpening::PlaceWindow(std::size_t index, std::int64_t now) {
  Track& track = tracks_[index];
  const std::optional<Fit> fit = FitToMonitors(*entries_[index].place, desktop_.Monitors());
  if (!fit) return Finish(index, EntryOutcome::Opened, now);  // no monitor to put it on
  track.target = fit->placement;
  ++track.placings;
  track.placedAt = now;
  switch (desktop_.Place(track.window, track.target)) {
    case PlaceResult::Done:
      track.phase = Phase::Checking;
      track.nextAt = now + kSettleMs;
      return;
    case PlaceResult::Refused:
      return Finish(index, EntryOutcome::Refused, now);
    case PlaceResult::Gone:
      break;
  }
  Lose(index, now);
}

// A program resizes its window when it comes onto a monitor of another DPI,
// and one that was maximised shows its borders only once normal: a window not
// where it was put is placed once more.
void TitleOpening::Check(std::size_t index, std::int64_t now) {
  Track& track = tracks_[index];
  const std::optional<Placement> placement = desktop_.PlacementOf(track.window);
  if (!placement) return Lose(index, now);
  // A maximised or minimised window's normal bounds are not what the user
  // sees, and some systems (Wine) tell another program its current rectangle
  // for them: its state is what is checked.
  const bool there =
      placement->state == track.target.state &&
      (track.target.state != ShowState::Normal || SameRect(placement->normal, track.target.normal));
  if (there) return Finish(index, EntryOutcome::Placed, now);
  // One that moves itself every time is not placed forever, nor said to be placed.
  if (track.placings < 2) return PlaceWindow(index, now);
  if (now - track.placedAt >= kPlaceGraceMs) return Finish(index, EntryOutcome::Moved, now);
  track.nextAt = now + kLookMs;  // a busy program may still be taking it
}

// The window went (a splash screen, say): the program's next one is the one.
void TitleOpening::Lose(std::size_t index, std::int64_t now) {
  Track& track = tracks_[index];
  track.window = 0;
  track.placings = 0;
  track.phase = Phase::Seeking;
  track.nextAt = now;
}

void TitleOpening::Finish(std::size_t index, EntryOutcome outcome, std::int64_t now) {
  Track& track = tracks_[index];
  track.phase = Phase::Finished;
  outcomes_[index] = outcome;
  if (!track.releaseAt) track.releaseAt = now + WaitMs(entries_[index]);
}

std::vector<WindowId> TitleOpening::Taken(std::size_t index) const {
  std::vector<WindowId> taken;
  for (std::size_t i = 0; i < next_; ++i)
    if (i != index && tracks_[i].window != 0) taken.push_back(tracks_[i].window);
  return taken;
}

std::optional<std::int64_t> TitleOpening::NextWake() const {
  if (Done()) return std::nullopt;
  std::optional<std::int64_t> wake;
  const auto consider = [&wake](std::int64_t at) { wake = wake ? std::min(*wake, at) : at; };
  if (next_ == 0) consider(clock_.NowMs());
  if (next_ > 0 && next_ < tracks_.size() && tracks_[next_ - 1].releaseAt)
    consider(*tracks_[next_ - 1].releaseAt);
  for (std::size_t i = 0; i < next_; ++i)
    if (tracks_[i].phase == Phase::Seeking || tracks_[i].phase == Phase::Checking)
      consider(tracks_[i].nextAt);
  return wake;
}

bool TitleOpening::Done() const {
  return next_ == tracks_.size() &&
         std::all_of(tracks_.begin(), tracks_.end(),
                     [](const Track& track) { return track.phase == Phase::Finished; });
}

std::string TitleOpening::ReportText() const {
  std::string lines;
  for (std::size_t i = 0; i < outcomes_.size(); ++i) {
    if (outcomes_[i] == EntryOutcome::NoWindow)
      lines += "\n\"" + entries_[i].target + "\": " + kNoWindowAppearedLine;
    else if (outcomes_[i] == EntryOutcome::Refused)
      lines += "\n\"" + entries_[i].target + "\": " + kPlaceRefusedLine;
    else if (outcomes_[i] == EntryOutcome::Moved)
      lines += "\n\"" + entries_[i].target + "\": " + kPlaceNotKeptLine;
  }
  return lines.empty() ? lines : kOpeningReportIntro + ("\n" + lines);
}

}  // namespace vantrel

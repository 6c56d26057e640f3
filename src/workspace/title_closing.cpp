// The state of one title's closing, advanced by time.
#include "workspace/title_closing.h"

#include <algorithm>

#include "store/entry_kind.h"

namespace vantrel {

TitleClosing::TitleClosing(DesktopWindows& desktop, Clock& clock,
                           const std::vector<ClosingEntry>& entries, Shell& shell)
    : desktop_(desktop), clock_(clock) {
  for (const ClosingEntry& entry : entries) {
    const bool listed = std::any_of(programs_.begin(), programs_.end(),
                                    [&](const ProgramMatch& p) { return p(entry.target); });
    if (!entry.leaveRunning && IsProgramEntry(entry.target) && !listed)
      programs_.emplace_back(entry.target, shell);
  }
  done_ = programs_.empty();
}

void TitleClosing::Step() {
  const std::int64_t now = clock_.NowMs();
  if (done_ || now < nextAt_) return;
  nextAt_ = now + kCloseLookMs;
  if (!deadline_) {
    deadline_ = now + kCloseLimitMs;
    // A window behind a modal one of its program is not enabled: that one is
    // asked, as the user would have to.
    for (const DesktopWindow& window : desktop_.Windows()) {
      const bool ours = std::any_of(programs_.begin(), programs_.end(),
                                    [&](const ProgramMatch& p) { return p(window.program); });
      if (ours && window.enabled) desktop_.AskToClose(window.id);
    }
    return;
  }
  stillOpen_ = ShowingWindows();
  done_ = stillOpen_.empty() || now >= *deadline_;
}

std::vector<std::string> TitleClosing::ShowingWindows() const {
  std::vector<std::string> showing;
  const std::vector<DesktopWindow> windows = desktop_.Windows();
  for (const ProgramMatch& program : programs_)
    if (std::any_of(windows.begin(), windows.end(),
                    [&](const DesktopWindow& w) { return program(w.program); }))
      showing.push_back(program.program());
  return showing;
}

std::optional<std::int64_t> TitleClosing::NextWake() const {
  if (done_) return std::nullopt;
  return nextAt_;
}

std::string TitleClosing::ReportText() const {
  if (stillOpen_.empty()) return {};
  std::string text = kStillOpenIntro;
  text += "\n";
  for (const std::string& program : stillOpen_) text += "\n\"" + program + "\"";
  return text;
}

}  // namespace vantrel

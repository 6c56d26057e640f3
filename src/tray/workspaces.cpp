// Titles opened as workspaces and closed, stepped by time.
#include "tray/workspaces.h"

#include <algorithm>
#include <climits>
#include <string>

#include "platform/messages.h"
#include "store/titles.h"
#include "workspace/window_place.h"

namespace vantrel {

std::unique_ptr<TitleOpening> MakeOpening(Launcher& launcher, DesktopWindows& desktop, Clock& clock,
                                          Shell& shell, const TitleEntries& entries) {
  if (EntryCount(entries) == 0) return nullptr;
  std::vector<Entry> started;
  std::vector<OpeningEntry> opening;
  bool workspace = false;
  for (const Entry& entry : entries) {
    if (entry.target == kEmptySlot) continue;
    const EntryOptions& options = entry.options;
    // An unusable hand-edited place or wait is not used: the entry opens as if it had none.
    OpeningEntry next{ShellTarget(entry.target), ParsePlace(options.place),
                      WaitSeconds(options.waitSeconds).value_or(0), options.waitForWindow};
    workspace = workspace || next.place || next.waitSeconds > 0 || next.waitForWindow;
    started.push_back(entry);
    opening.push_back(std::move(next));
  }
  if (!workspace) return nullptr;
  auto start = [&launcher, started = std::move(started)](std::size_t index) {
    return launcher.StartEntry(started[index]);
  };
  return std::make_unique<TitleOpening>(desktop, clock, std::move(opening), std::move(start),
                                        shell);
}

std::unique_ptr<TitleClosing> MakeClosing(DesktopWindows& desktop, Clock& clock, Shell& shell,
                                          const TitleEntries& entries) {
  std::vector<ClosingEntry> closing;
  if (EntryCount(entries) > 0)
    for (const Entry& entry : entries)
      if (entry.target != kEmptySlot)
        closing.push_back({ShellTarget(entry.target), entry.options.leaveRunning});
  return std::make_unique<TitleClosing>(desktop, clock, closing, shell);
}

bool AllOpened(const std::vector<EntryOutcome>& outcomes) {
  return !outcomes.empty() && std::all_of(outcomes.begin(), outcomes.end(), [](EntryOutcome o) {
    return o == EntryOutcome::Opened || o == EntryOutcome::Placed;
  });
}

void TitleWorkspaces::Open(int title) {
  const std::string key = std::to_string(title);
  if (openings_.IsOpening(key)) return;
  const TitleEntries entries = launcher_.ReadTitleEntries(key);
  std::unique_ptr<TitleOpening> opening = MakeOpening(launcher_, desktop_, clock_, shell_, entries);
  if (!opening) {
    launcher_.LaunchEntries(entries);
    return;
  }
  openings_.Begin(key, std::move(opening));
  OnWake();  // the first entry starts now, as a plain launch's would
}

void TitleWorkspaces::Close(int title) {
  if (std::any_of(closings_.begin(), closings_.end(),
                  [title](const auto& closing) { return closing.first == title; }))
    return;
  closings_.emplace_back(title, MakeClosing(desktop_, clock_, shell_,
                                            launcher_.ReadTitleEntries(std::to_string(title))));
  OnWake();
}

void TitleWorkspaces::OnWake() {
  // Due while an entry's start shows its box: the step under way arms the
  // timer again once the box is gone, and the timer would only tick till then.
  if (stepping_) return tray_.SetWakeTimer(std::nullopt);
  std::vector<std::string> reports;
  {
    stepping_ = true;
    const struct Release {
      bool& flag;
      ~Release() { flag = false; }
    } release{stepping_};
    for (const Openings::Finished& finished : openings_.Step())
      if (!finished.report.empty()) reports.push_back(finished.report);
    for (auto& [title, closing] : closings_) {
      closing->Step();
      if (closing->Done() && !closing->ReportText().empty())
        reports.push_back(closing->ReportText());
    }
    std::erase_if(closings_, [](const auto& closing) { return closing.second->Done(); });
  }
  Arm();
  // Each box only once its title is done and left, so nothing shows it twice.
  for (const std::string& report : reports) ShowInformation(dialogs_, report);
}

void TitleWorkspaces::Arm() {
  std::optional<std::int64_t> wake = openings_.NextWake();
  for (const auto& closing : closings_)
    if (const auto at = closing.second->NextWake()) wake = wake ? std::min(*wake, *at) : *at;
  if (!wake) return tray_.SetWakeTimer(std::nullopt);
  tray_.SetWakeTimer(
      static_cast<int>(std::clamp<std::int64_t>(*wake - clock_.NowMs(), 0, INT_MAX)));
}

}  // namespace vantrel

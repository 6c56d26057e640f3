// A title opened as a workspace (its windows put in their places, its entries
// at their pace) or closed, from the tray and from the command line.
#pragma once

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop_windows.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/tray_host.h"
#include "tray/launcher.h"
#include "workspace/opening_registry.h"
#include "workspace/title_closing.h"
#include "workspace/title_opening.h"

namespace vantrel {

using TitleEntries = std::array<Entry, kLaunchSlots>;

// The title's opening, each entry started by the launcher; nothing when no
// entry has a usable place or wait, or the title has no entries: then it
// opens as a plain launch does.
std::unique_ptr<TitleOpening> MakeOpening(Launcher& launcher, DesktopWindows& desktop, Clock& clock,
                                          Shell& shell, const TitleEntries& entries);
std::unique_ptr<TitleClosing> MakeClosing(DesktopWindows& desktop, Clock& clock, Shell& shell,
                                          const TitleEntries& entries);

// Steps an opening or closing to its end, waiting between wakes: for the
// command line only, which has no message loop to keep answering.
template <typename Driven>
void RunToEnd(Driven& driven, Clock& clock, Files& files) {
  for (driven.Step(); const auto wake = driven.NextWake(); driven.Step())
    files.Wait(static_cast<int>(std::max<std::int64_t>(*wake - clock.NowMs(), 1)));
}

// Every entry opened and every window put in its place.
bool AllOpened(const std::vector<EntryOutcome>& outcomes);

// The tray's openings and closings, stepped by its wake timer: the message
// loop never waits for a window.
class TitleWorkspaces {
 public:
  TitleWorkspaces(Launcher& launcher, DesktopWindows& desktop, Clock& clock, Shell& shell,
                  Dialogs& dialogs, TrayHost& tray)
      : launcher_(launcher),
        desktop_(desktop),
        clock_(clock),
        shell_(shell),
        dialogs_(dialogs),
        tray_(tray) {}

  // Opens title 1 to 20; again while it still opens, nothing.
  void Open(int title);
  void Close(int title);
  void OnWake();

 private:
  void Arm();

  Launcher& launcher_;
  DesktopWindows& desktop_;
  Clock& clock_;
  Shell& shell_;
  Dialogs& dialogs_;
  TrayHost& tray_;
  Openings openings_;
  std::vector<std::pair<int, std::unique_ptr<TitleClosing>>> closings_;
  bool stepping_ = false;
};

}  // namespace vantrel

#include "tray/launcher.h"

#include "platform/messages.h"
#include "platform/utf8.h"
#include "store/settings.h"
#include "store/titles.h"

namespace vantrel {
namespace {

std::string_view Unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

std::string ElevationRefusedText(const std::string& target) {
  return "\"" + target + "\" was not started: the request to run it as administrator was refused.";
}

std::string NoFolderText(const std::string& target, const std::string& folder) {
  return "\"" + target + "\" was not started: its start folder \"" + folder + "\" does not exist.";
}

std::string ShellTarget(const std::string& entry) {
  if (IsWebEntry(entry)) return entry;
  return std::string(TrimBlanks(Unquoted(TrimBlanks(entry))));
}

// A window of a running copy of the program, never this one, brought to the
// front; 0 when none runs or none of them has a window to bring forward.
std::uint32_t Launcher::BroughtToFront(const std::string& program) {
  for (const RunningProgram& process : shell_.ProcessesOf(program))
    if (process.processId != files_.ProcessId() && shell_.BringToFront(process.processId))
      return process.processId;
  return 0;
}

StartResult Launcher::StartEntry(const Entry& entry) {
  const EntryOptions& options = entry.options;
  const std::string file = ShellTarget(entry.target);
  if (options.bringToFront && IsProgramEntry(file))
    if (const std::uint32_t process = BroughtToFront(file))
      return {StartKind::BroughtForward, process};
  if (!options.folder.empty() && files_.GetPathKind(options.folder) != PathKind::Directory) {
    ShowInformation(dialogs_, NoFolderText(entry.target, options.folder));
    return {};
  }
  // Web addresses go to the user's own browser: the shell opens the address.
  switch (shell_.Open(IsWebEntry(file) ? TargetKind::WebAddress : TargetKind::File, file,
                      options.arguments, options.folder, options.asAdministrator,
                      WindowShow::Normal)) {
    case ShellStart::Started:
      return {StartKind::Started};
    case ShellStart::Refused:
      ShowInformation(dialogs_, ElevationRefusedText(entry.target));
      return {};
    case ShellStart::Failed:
      break;
  }
  ShowInformation(dialogs_, kCannotRunText);
  return {};
}

std::array<Entry, kLaunchSlots> Launcher::ReadTitleEntries(const std::string& titleText) {
  std::array<Entry, kLaunchSlots> entries;
  SettingsFile file(files_, clock_, SettingsPath());
  for (int i = 1; i <= kLaunchSlots; ++i) {
    Entry& entry = entries[static_cast<std::size_t>(i - 1)];
    const std::string key = EntryKey(titleText, i);
    entry.target = file.ReadValue(kFilesSection, key, kEmptySlot);
    if (entry.target != kEmptySlot) entry.options = ReadEntryOptions(file, key, entry.target);
  }
  return entries;
}

int EntryCount(const std::array<Entry, kLaunchSlots>& entries) {
  if (entries[0].target == kEmptySlot) return 0;
  int count = 0;
  for (const Entry& entry : entries) count += entry.target != kEmptySlot ? 1 : 0;
  return count;
}

LaunchOutcome Launcher::LaunchTitle(const std::string& titleText) {
  return LaunchEntries(ReadTitleEntries(titleText));
}

LaunchOutcome Launcher::LaunchEntries(const std::array<Entry, kLaunchSlots>& entries) {
  LaunchOutcome outcome;
  if (entries[0].target == kEmptySlot) {
    ShowInformation(dialogs_, kNoProgramsText);
    return outcome;
  }
  for (const Entry& entry : entries) {
    if (entry.target == kEmptySlot) continue;
    switch (LaunchEntry(entry)) {
      case EntryLaunch::Started:
        ++outcome.started;
        break;
      case EntryLaunch::BroughtForward:
        ++outcome.broughtForward;
        break;
      case EntryLaunch::Failed:
        ++outcome.failed;
        break;
    }
  }
  return outcome;
}

}  // namespace vantrel

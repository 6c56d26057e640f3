#include "tray/launcher.h"

#include "platform/messages.h"
#include "platform/utf8.h"
#include "store/settings.h"
#include "store/titles.h"

namespace vantrel {
namespace {

char Folded(char c) { return c == '/' ? '\\' : AsciiLower(c); }

// A window of a running copy of the program brought to the front; false when
// none runs or none of them has a window to bring forward.
bool BroughtToFront(Platform& platform, const std::string& program) {
  // An entry written in its short form matches the long form the system reports.
  const std::string shortForm = ToShortPath(platform, program);
  for (const RunningProgram& process : platform.RunningPrograms()) {
    if (process.processId == platform.ProcessId()) continue;
    const bool same =
        SamePath(process.path, program) ||
        (!shortForm.empty() && SamePath(ToShortPath(platform, process.path), shortForm));
    if (same && platform.BringProcessToFront(process.processId)) return true;
  }
  return false;
}

std::string_view Unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

bool IsWebEntry(const std::string& entry) {
  return AsciiLower(entry).find("http") != std::string::npos;
}

bool IsProgramEntry(const std::string& entry) {
  if (IsWebEntry(entry)) return false;
  const auto dot = entry.find_last_of('.');
  const auto slash = entry.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string extension = entry.substr(dot);
  for (char& c : extension) c = Folded(c);
  return extension == ".exe" || extension == ".com";
}

bool SamePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Folded(a[i]) != Folded(b[i])) return false;
  return true;
}

std::string ToShortPath(Platform& platform, const std::string& path) {
  return platform.ShortPath(path);
}

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

EntryLaunch LaunchEntry(Platform& platform, const Entry& entry) {
  const EntryOptions& options = entry.options;
  const std::string file = ShellTarget(entry.target);
  if (options.bringToFront && IsProgramEntry(file) && BroughtToFront(platform, file))
    return EntryLaunch::BroughtForward;
  if (!options.folder.empty() && platform.GetPathKind(options.folder) != PathKind::Directory) {
    ShowInformation(platform, NoFolderText(entry.target, options.folder));
    return EntryLaunch::Failed;
  }
  // Web addresses go to the user's own browser: the shell opens the address.
  const std::string target = IsWebEntry(file) ? file : ToShortPath(platform, file);
  switch (platform.StartThroughShell(options.asAdministrator ? "runas" : "open", target,
                                     options.arguments, options.folder, kShowActivatedNormal)) {
    case ShellStart::Started:
      return EntryLaunch::Started;
    case ShellStart::Refused:
      ShowInformation(platform, ElevationRefusedText(entry.target));
      return EntryLaunch::Failed;
    case ShellStart::Failed:
      break;
  }
  ShowInformation(platform, kCannotRunText);
  return EntryLaunch::Failed;
}

std::array<Entry, kLaunchSlots> ReadTitleEntries(Platform& platform, const std::string& titleText) {
  std::array<Entry, kLaunchSlots> entries;
  SettingsFile file(platform, SettingsPath());
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

LaunchOutcome LaunchTitle(Platform& platform, const std::string& titleText) {
  const std::array<Entry, kLaunchSlots> entries = ReadTitleEntries(platform, titleText);
  LaunchOutcome outcome;
  if (entries[0].target == kEmptySlot) {
    ShowInformation(platform, kNoProgramsText);
    return outcome;
  }
  for (const Entry& entry : entries) {
    if (entry.target == kEmptySlot) continue;
    switch (LaunchEntry(platform, entry)) {
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

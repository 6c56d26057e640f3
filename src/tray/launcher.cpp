#include "tray/launcher.h"

#include "platform/messages.h"
#include "store/settings.h"
#include "store/titles.h"

namespace vantrel {
namespace {

char Folded(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c == '/' ? '\\' : c;
}

// A running copy of the program brought to the front; true when one runs, even
// one without a window to show: a second copy is what the option prevents.
bool BroughtToFront(Platform& platform, const std::string& program) {
  // An entry written in its short form matches the long form the system reports.
  const std::string shortForm = ToShortPath(platform, program);
  bool running = false;
  for (const RunningProgram& process : platform.RunningPrograms()) {
    if (process.processId == platform.ProcessId()) continue;
    const bool same =
        SamePath(process.path, program) ||
        (!shortForm.empty() && SamePath(ToShortPath(platform, process.path), shortForm));
    if (!same) continue;
    running = true;
    if (platform.BringProcessToFront(process.processId)) return true;
  }
  return running;
}

}  // namespace

bool IsWebEntry(const std::string& entry) {
  std::string upper = entry;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper.find("HTTP") != std::string::npos;
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

bool LaunchEntry(Platform& platform, const Entry& entry) {
  const EntryOptions& options = entry.options;
  if (options.bringToFront && IsProgramEntry(entry.target) &&
      BroughtToFront(platform, entry.target))
    return true;
  if (!options.folder.empty() && platform.GetPathKind(options.folder) != PathKind::Directory) {
    ShowInformation(platform, NoFolderText(entry.target, options.folder));
    return false;
  }
  // Web addresses go to the user's own browser: the shell opens the address.
  const std::string target =
      IsWebEntry(entry.target) ? entry.target : ToShortPath(platform, entry.target);
  switch (platform.ShellStartEx(options.asAdministrator ? "runas" : "open", target,
                                options.arguments, options.folder, kShowActivatedNormal)) {
    case ShellStart::Started:
      return true;
    case ShellStart::Refused:
      ShowInformation(platform, ElevationRefusedText(entry.target));
      return false;
    case ShellStart::Failed:
      break;
  }
  ShowInformation(platform, kCannotRunText);
  return false;
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
    if (LaunchEntry(platform, entry))
      ++outcome.opened;
    else
      ++outcome.failed;
  }
  return outcome;
}

}  // namespace vantrel

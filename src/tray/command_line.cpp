#include "tray/command_line.h"

#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/utf8.h"
#include "store/settings.h"
#include "store/titles.h"
#include "tray/launcher.h"
#include "tray/workspaces.h"
#include "vantrel_version.h"
#include "workspace/place_capture.h"

namespace vantrel {

const char* const kVersionText = "Vantrel " VANTREL_VERSION " (commit " VANTREL_COMMIT ")\r\n";

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

bool IsOption(const std::string& argument, std::string_view option) {
  if (argument.size() != option.size()) return false;
  for (std::size_t i = 0; i < option.size(); ++i) {
    if (AsciiLower(argument[i]) != option[i]) return false;
  }
  return true;
}

// Text goes wherever the standard output was sent (a file, a pipe, NUL or a
// console), else to the console of the program that started this one. Only
// without either (started from a shortcut) does it show in a box, which would
// hold up a script.
void Tell(Console& console, Dialogs& dialogs, const std::string& text) {
  if (console.StandardOutput() != OutputKind::None || console.AttachParentConsole())
    console.WriteOutput(text);
  else
    ShowPlain(dialogs, text);
}

std::string ListText(Files& files, Clock& clock, Launcher& launcher) {
  std::string text;
  for (int t = 1; t <= kTitleCount; ++t) {
    std::string name;
    {
      SettingsFile file(files, clock, SettingsPath());
      name = OwnTitleName(file.ReadValue(kFilesSection, TitleKey(t), kNoTitle));
    }
    const int count = EntryCount(launcher.ReadTitleEntries(std::to_string(t)));
    text += (t < 10 ? " " : "") + std::to_string(t) + "  " + name + (name.empty() ? "" : "  ") +
            "(" + std::to_string(count) + (count == 1 ? " entry)\r\n" : " entries)\r\n");
  }
  return text;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::size_t i = 0;
  // The program's name ends at its closing quote or at the first blank; no
  // backslash escapes anything in it.
  if (i < line.size() && line[i] == '"') {
    const std::size_t close = line.find('"', 1);
    i = close == std::string_view::npos ? line.size() : close + 1;
  }
  while (i < line.size() && !Blank(line[i])) ++i;

  std::vector<std::string> arguments;
  for (;;) {
    while (i < line.size() && Blank(line[i])) ++i;
    if (i >= line.size()) break;
    std::string argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !Blank(line[i]))) {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          argument += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        argument.append(backslashes, '\\');
        if (i < line.size() && (quoted || !Blank(line[i]))) argument += line[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

namespace {

// An option followed by one title.
Command TitleCommand(const std::vector<std::string>& arguments, Command::Action action) {
  const std::string& option = arguments[0];
  if (arguments.size() < 2 || TrimBlanks(arguments[1]).empty())
    return {Command::Action::Wrong, option + " needs a title: its number or its name."};
  if (arguments.size() > 2)
    return {Command::Action::Wrong, "Too many arguments after " + option + " \"" + arguments[1] +
                                        "\"; a name with blanks goes in quotes."};
  return {action, std::string(TrimBlanks(arguments[1]))};
}

}  // namespace

Command ParseArguments(const std::vector<std::string>& arguments) {
  using Action = Command::Action;
  if (arguments.empty()) return {};
  const std::string& first = arguments[0];
  if (IsOption(first, "--open")) return TitleCommand(arguments, Action::Open);
  if (IsOption(first, "--remember")) return TitleCommand(arguments, Action::Remember);
  if (IsOption(first, "--close")) return TitleCommand(arguments, Action::Close);
  const bool help = IsOption(first, "--help") || first == "/?" || IsOption(first, "-h");
  const bool version = IsOption(first, "--version");
  if (help || version || IsOption(first, "--list")) {
    if (arguments.size() > 1) return {Action::Wrong, first + " takes no arguments."};
    return {help ? Action::Help : version ? Action::Version : Action::List, ""};
  }
  return {Action::Wrong, "Unknown argument: " + first};
}

int FindTitle(Files& files, Clock& clock, const std::string& given) {
  const std::string_view wanted = TrimBlanks(given);
  if (!wanted.empty() && wanted.size() <= 2 &&
      wanted.find_first_not_of("0123456789") == std::string_view::npos) {
    int number = 0;
    for (char c : wanted) number = number * 10 + (c - '0');
    if (number >= 1 && number <= kTitleCount) return number;
  }
  const std::string folded = FoldCase(wanted);
  if (folded.empty()) return 0;
  SettingsFile file(files, clock, SettingsPath());
  for (int t = 1; t <= kTitleCount; ++t)
    if (FoldCase(OwnTitleName(file.ReadValue(kFilesSection, TitleKey(t), kNoTitle))) == folded)
      return t;
  return 0;
}

namespace {

// The report's lines as the console writes lines.
std::string ConsoleLines(const std::string& text) {
  std::string lines;
  for (char c : text) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return lines + "\r\n";
}

// A title opened as the tray opens it; one with places or waits is stepped to its end here.
int OpenTitle(Console& console, Dialogs& dialogs, Files& files, Clock& clock, Shell& shell,
              DesktopWindows& desktop, Launcher& launcher, int title) {
  const TitleEntries entries = launcher.ReadTitleEntries(std::to_string(title));
  const std::unique_ptr<TitleOpening> opening =
      MakeOpening(launcher, desktop, clock, shell, entries);
  if (!opening) {
    const LaunchOutcome outcome = launcher.LaunchEntries(entries);
    return outcome.failed == 0 && outcome.Opened() > 0 ? kExitOpened : kExitNotOpened;
  }
  RunToEnd(*opening, clock, files);
  if (const std::string report = opening->ReportText(); !report.empty())
    Tell(console, dialogs, ConsoleLines(report));
  return AllOpened(opening->Outcomes()) ? kExitOpened : kExitNotOpened;
}

int CloseTitle(Console& console, Dialogs& dialogs, Files& files, Clock& clock, Shell& shell,
               DesktopWindows& desktop, Launcher& launcher, int title) {
  const std::unique_ptr<TitleClosing> closing =
      MakeClosing(desktop, clock, shell, launcher.ReadTitleEntries(std::to_string(title)));
  RunToEnd(*closing, clock, files);
  if (closing->StillOpen().empty()) return kExitOpened;
  Tell(console, dialogs, ConsoleLines(closing->ReportText()));
  return kExitNotOpened;
}

// The settings file's titles: listed, or one of them opened or closed.
int RunOnTitles(Console& console, Dialogs& dialogs, Files& files, Clock& clock, Shell& shell,
                DesktopWindows& desktop, const Command& command) {
  LocateDataFolder(files);
  Launcher launcher(files, clock, dialogs, shell);
  if (command.action == Command::Action::List) {
    Tell(console, dialogs, ListText(files, clock, launcher));
    return kExitOpened;
  }
  const int title = FindTitle(files, clock, command.title);
  if (title == 0) {
    Tell(console, dialogs,
         "No title is numbered or named \"" + command.title +
             "\". vantrel.exe --list shows the titles.\r\n");
    return kExitWrongUsage;
  }
  if (command.action == Command::Action::Close)
    return CloseTitle(console, dialogs, files, clock, shell, desktop, launcher, title);
  return OpenTitle(console, dialogs, files, clock, shell, desktop, launcher, title);
}

inline constexpr const char* kEntriesChangedText =
    "The title's entries changed in the settings file meanwhile; the places of those that "
    "changed were not saved.";

// The places of the title's program windows, as the edit window's "Remember
// Window Places" takes them, saved at once in one save.
int RememberTitle(Console& console, Dialogs& dialogs, Files& files, Clock& clock, Shell& shell,
                  DesktopWindows& desktop, const std::string& given) {
  LocateDataFolder(files);
  const int title = FindTitle(files, clock, given);
  if (title == 0) {
    Tell(console, dialogs,
         "No title is numbered or named \"" + given +
             "\". vantrel.exe --list shows the titles.\r\n");
    return kExitWrongUsage;
  }
  Launcher launcher(files, clock, dialogs, shell);
  const std::string titleText = std::to_string(title);
  const auto entries = launcher.ReadTitleEntries(titleText);
  std::vector<std::string> targets;
  std::vector<int> slots;  // of each target
  // As --open takes them: none when slot 1 is empty.
  for (int i = 1; i <= kLaunchSlots && EntryCount(entries) > 0; ++i) {
    const std::string& target = entries[static_cast<std::size_t>(i - 1)].target;
    if (target == kEmptySlot) continue;
    targets.push_back(target);
    slots.push_back(i);
  }
  const std::vector<EntryCapture> captures = CapturePlaces(desktop, shell, targets);
  bool every = !captures.empty();
  std::vector<EntryPlace> places;
  for (const EntryCapture& capture : captures) {
    if (capture.place)
      places.push_back({EntryKey(titleText, slots[capture.entry]), targets[capture.entry],
                        PlaceText(*capture.place)});
    else
      every = false;
  }
  std::string report = CaptureReportText(targets, captures);
  if (!places.empty() && SavePlaces(files, clock, places) < places.size()) {
    every = false;
    report += "\n\n" + std::string(kEntriesChangedText);
  }
  for (std::size_t at = report.find('\n'); at != std::string::npos; at = report.find('\n', at + 2))
    report.replace(at, 1, "\r\n");
  Tell(console, dialogs, report + "\r\n");
  return every ? kExitOpened : kExitNotOpened;
}

}  // namespace

int RunCommand(Console& console, Dialogs& dialogs, Files& files, Clock& clock, Shell& shell,
               DesktopWindows& desktop, const Command& command) {
  using Action = Command::Action;
  switch (command.action) {
    case Action::Tray:
    case Action::Wrong:
      break;
    case Action::Help:
      Tell(console, dialogs, kUsageText);
      return kExitOpened;
    case Action::Version:
      Tell(console, dialogs, kVersionText);
      return kExitOpened;
    case Action::List:
    case Action::Open:
    case Action::Close:
      try {
        return RunOnTitles(console, dialogs, files, clock, shell, desktop, command);
      } catch (const SettingsBusyError& busy) {
        Tell(console, dialogs, ErrorReportText(busy.what()) + "\r\n");
        return kExitNotOpened;  // nothing was opened
      }
    case Action::Remember:
      try {
        return RememberTitle(console, dialogs, files, clock, shell, desktop, command.title);
      } catch (const VantrelError& error) {
        Tell(console, dialogs, ErrorReportText(error.what()) + "\r\n");
        return kExitNotOpened;  // no place was saved
      }
  }
  Tell(console, dialogs, command.title + "\r\n\r\n" + kUsageText);
  return kExitWrongUsage;
}

}  // namespace vantrel

// The program's command line: with no arguments it is the tray program; with
// them it opens one title (--open), remembers its window places (--remember),
// closes one (--close), lists the titles (--list), tells its version
// (--version) or its use (--help, /?), then ends with a status that a
// script can test, never adding an icon nor touching its start at logon.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/desktop_windows.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace vantrel {

// Exit statuses of a run with arguments.
inline constexpr int kExitOpened = 0;      // every entry opened (also --list, --version, --help)
inline constexpr int kExitNotOpened = 1;   // an entry could not be opened, or there were none
inline constexpr int kExitWrongUsage = 2;  // no title matches, or the arguments are wrong

inline constexpr const char* kUsageText =
    "Usage:\r\n"
    "  vantrel.exe                 runs Vantrel in the notification area\r\n"
    "  vantrel.exe --open <title>  opens every entry of a title: its number (1 to 20)\r\n"
    "                              or its name, in any case; windows go to their places\r\n"
    "  vantrel.exe --remember <title>\r\n"
    "                              remembers where the title's program windows are now\r\n"
    "  vantrel.exe --close <title> asks the programs of a title to close, as the user\r\n"
    "                              would; documents and web addresses are left alone\r\n"
    "  vantrel.exe --list          lists the 20 titles with the number of their entries\r\n"
    "  vantrel.exe --version       shows the version and the commit it was built from\r\n"
    "  vantrel.exe --help          shows this text (also /?)\r\n"
    "Exit status: 0 when every entry opened (and every window came to its place), 1 when\r\n"
    "one could not be opened, a window did not come or could not be placed, or the title\r\n"
    "has none, 2 when no title matches or the arguments are wrong. --remember: 0 when\r\n"
    "every program got a place. --close: 0 when every program closed, 1 when one is\r\n"
    "still open.\r\n";

// The arguments after the program's own name, split as the C runtime of
// Windows splits them: blanks separate, quotes group, a backslash escapes a
// quote, and two quotes inside quotes stand for one.
std::vector<std::string> SplitCommandLine(std::string_view line);

// What --version writes.
extern const char* const kVersionText;

struct Command {
  enum class Action { Tray, Open, List, Version, Help, Wrong, Remember, Close };
  Action action = Action::Tray;
  std::string title;  // Open, Remember, Close: as given; Wrong: what was wrong
};
Command ParseArguments(const std::vector<std::string>& arguments);

// The title that `given` names: a number from 1 to 20, else a title's name
// compared without regard to case (the lowest such title); 0 for none.
int FindTitle(Files& files, Clock& clock, const std::string& given);

// Runs a command other than Tray against the settings file and returns the
// exit status; output goes to the console, or to a box where there is none.
int RunCommand(Console& console, Dialogs& dialogs, Files& files, Clock& clock, Shell& shell,
               DesktopWindows& desktop, const Command& command);

}  // namespace vantrel

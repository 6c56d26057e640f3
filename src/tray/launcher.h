// Opens every entry of one title through the shell.
#pragma once

#include <array>
#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "store/entry_kind.h"
#include "store/entry_options.h"
#include "workspace/title_opening.h"

namespace vantrel {

inline constexpr int kLaunchSlots = 20;
inline constexpr const char* kNoProgramsText =
    "There are no programs assigned to this name. You can enter programs to activate, just "
    "\"right click\" on the hand icon in the system tray, then click \"Edit Program List\" to add "
    "your programs. You can even select documents, text files, or webpages on your pc.";
inline constexpr const char* kCannotRunText =
    "Program could not be run. It appears to be an invalid program entered, or you do not have a "
    "valid extension defined for this file type. Make sure you have this file extension defined "
    "to windows.";

// One entry of a title as the launcher opens it.
struct Entry {
  std::string target;  // the slot's text: a program, a document or a web address
  EntryOptions options;
};

// How many entries a launch would open: none when slot 1 is empty.
int EntryCount(const std::array<Entry, kLaunchSlots>& entries);

// What opening one entry did: started it through the shell, brought its
// running program's window to the front, or nothing (reported).
using EntryLaunch = StartKind;

// What one launch did: all 0 when the title has no entries.
struct LaunchOutcome {
  int started = 0;
  int broughtForward = 0;
  int failed = 0;
  int Opened() const { return started + broughtForward; }
};

// What the shell is given for an entry: a web address as it stands; a file's
// name without the blanks and the one pair of double quotes around it, which
// no name holds (a path quoted as on a command line).
std::string ShellTarget(const std::string& entry);

// The box texts of an entry that was not started.
std::string ElevationRefusedText(const std::string& target);
std::string NoFolderText(const std::string& target, const std::string& folder);

class Launcher {
 public:
  Launcher(Files& files, Clock& clock, Dialogs& dialogs, Shell& shell)
      : files_(files), clock_(clock), dialogs_(dialogs), shell_(shell) {}

  // The title's 20 slots and their options as the settings file holds them now
  // ("Null" for each empty one), read without writing the file.
  std::array<Entry, kLaunchSlots> ReadTitleEntries(const std::string& titleText);
  // Reads the title's entries afresh and opens each non-empty one in slot
  // order, with its options; a failure is reported and the next entry still
  // opens.
  LaunchOutcome LaunchTitle(const std::string& titleText);
  // Opens the entries as LaunchTitle does.
  LaunchOutcome LaunchEntries(const std::array<Entry, kLaunchSlots>& entries);
  // Opens one entry with its options, or brings a window of its running
  // program to the front; a program that runs with no window to bring forward
  // (one that waits in the tray) is started, so that it shows its own. Reports
  // a failure.
  EntryLaunch LaunchEntry(const Entry& entry) { return StartEntry(entry).kind; }
  // The same, with the process brought forward.
  StartResult StartEntry(const Entry& entry);

 private:
  // The process whose window came to the front; 0 for none.
  std::uint32_t BroughtToFront(const std::string& program);

  Files& files_;
  Clock& clock_;
  Dialogs& dialogs_;
  Shell& shell_;
};

}  // namespace vantrel

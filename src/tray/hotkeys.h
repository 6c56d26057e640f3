// The titles' shortcut keys while the program runs: taken from the system at
// start and after every save, each title's key under the title's number, so a
// press opens that title as its menu item does.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/shortcut_keys.h"
#include "store/titles.h"

namespace vantrel {

class TitleHotKeys {
 public:
  TitleHotKeys(Files& files, Clock& clock, Dialogs& dialogs, ShortcutKeys& keys)
      : files_(files), clock_(clock), dialogs_(dialogs), keys_(keys) {}

  // Holds the keys that the settings file gives the titles now: a key that
  // changed is freed and the new one taken, a removed one freed. A key that
  // cannot be had, or a line that is no shortcut key (IsShortcutKey), is
  // reported once for its title, naming both; the other titles' keys are
  // taken all the same.
  void Register();

 private:
  // False once the title's line (kind '=') or its key taken elsewhere (' ')
  // was reported.
  bool FirstReport(int title, char kind, const std::string& text);

  Files& files_;
  Clock& clock_;
  Dialogs& dialogs_;
  ShortcutKeys& keys_;
  std::array<KeyCombo, kTitleCount> held_{};  // empty while a title holds none
  std::vector<std::string> reported_;         // "<title><kind><text>" of each reported
};

}  // namespace vantrel

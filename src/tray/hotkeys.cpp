#include "tray/hotkeys.h"

#include <algorithm>

#include "platform/messages.h"
#include "store/settings.h"

namespace vantrel {
namespace {

// "title 3, "Work"", or "title 3" for a title that has no name of its own.
std::string TitleNamed(int title, const std::string& name) {
  std::string text = "title ";
  text += std::to_string(title);
  if (!OwnTitleName(name).empty()) {
    text += ", \"";
    text += name;
    text += '"';
  }
  return text;
}

// One line of the report: "<key> of title 3, "Work"<why>".
std::string Told(const std::string& key, int title, const std::string& name, const char* why) {
  std::string line = key;
  line += " of ";
  line += TitleNamed(title, name);
  line += why;
  return line;
}

// One box for every key that does not open its title, each told in a line.
void ReportKeys(Dialogs& dialogs, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  std::string text;
  if (lines.size() == 1) {
    text = "The shortcut key ";
    text += lines[0];
    text += ", so it does not open this title. ";
  } else {
    text = "These shortcut keys do not open their titles:\n";
    for (const std::string& line : lines) {
      text += "- ";
      text += line;
      text += '\n';
    }
  }
  text += "You can choose another key with \"Change Title Names\" in \"Edit Your List\".";
  ShowInformation(dialogs, text);
}

}  // namespace

bool TitleHotKeys::FirstReport(int title, char kind, const std::string& text) {
  std::string mark = std::to_string(title);
  mark += kind;
  mark += text;
  if (std::find(reported_.begin(), reported_.end(), mark) != reported_.end()) return false;
  reported_.push_back(mark);
  return true;
}

void TitleHotKeys::Register() {
  std::array<KeyCombo, kTitleCount> wanted{};
  std::array<std::string, kTitleCount> names;
  // Told once every key is taken, so that none waits for a box to be answered,
  // and in one box, as a second running copy finds every key taken.
  std::vector<std::string> told;
  {
    SettingsFile file(files_, clock_, SettingsPath());
    for (int t = 1; t <= kTitleCount; ++t) {
      const auto n = static_cast<std::size_t>(t - 1);
      names[n] = file.ReadValue(kFilesSection, TitleKey(t), kNoTitle);
      const std::string text = file.ReadValue(kFilesSection, HotKeyKey(t), "");
      const std::optional<KeyCombo> combo = ParseKeyCombo(text);
      if (combo && (combo->Empty() || IsShortcutKey(*combo))) {
        wanted[n] = *combo;
        continue;
      }
      // Never taken, and left in the file as written.
      if (FirstReport(t, '=', text))
        told.push_back(
            Told('"' + text + '"', t, names[n],
                 combo ? " has neither Ctrl, Alt nor Win" : " is not a key Vantrel knows"));
    }
  }
  // Every key that goes is freed before any is taken, so two titles may swap keys.
  for (int t = 1; t <= kTitleCount; ++t) {
    KeyCombo& held = held_[static_cast<std::size_t>(t - 1)];
    if (!held.Empty() && !(held == wanted[static_cast<std::size_t>(t - 1)])) {
      keys_.UnregisterHotKey(t);
      held = {};
    }
  }
  for (int t = 1; t <= kTitleCount; ++t) {
    const auto n = static_cast<std::size_t>(t - 1);
    if (wanted[n].Empty() || !held_[n].Empty()) continue;
    if (keys_.RegisterHotKey(t, wanted[n])) {
      held_[n] = wanted[n];
      continue;
    }
    const std::string keyText = KeyComboText(wanted[n]);
    if (!FirstReport(t, ' ', keyText)) continue;
    const auto o =
        static_cast<std::size_t>(std::find(held_.begin(), held_.end(), wanted[n]) - held_.begin());
    told.push_back(Told(keyText, t, names[n], " is already taken by "));
    told.back() +=
        o < held_.size() ? TitleNamed(static_cast<int>(o) + 1, names[o]) : "another program";
  }
  ReportKeys(dialogs_, told);
}

}  // namespace vantrel

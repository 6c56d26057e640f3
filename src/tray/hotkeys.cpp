#include "tray/hotkeys.h"

#include <algorithm>

#include "platform/messages.h"
#include "store/settings.h"

namespace vantrel {
namespace {

// "title 3, "Work"", or "title 3" for a title that has no name of its own.
std::string TitleNamed(int title, const std::string& name) {
  std::string text = "title " + std::to_string(title);
  if (!OwnTitleName(name).empty()) text += ", \"" + name + "\"";
  return text;
}

}  // namespace

void TitleHotKeys::Register(Platform& platform) {
  std::array<KeyCombo, kTitleCount> wanted{};
  std::array<std::string, kTitleCount> names;
  {
    SettingsFile file(platform, SettingsPath());
    for (int t = 1; t <= kTitleCount; ++t) {
      const auto n = static_cast<std::size_t>(t - 1);
      wanted[n] =
          ParseKeyCombo(file.ReadValue(kFilesSection, HotKeyKey(t), "")).value_or(KeyCombo{});
      names[n] = file.ReadValue(kFilesSection, TitleKey(t), kNoTitle);
    }
  }
  // Every key that goes is freed before any is taken, so two titles may swap keys.
  for (int t = 1; t <= kTitleCount; ++t) {
    KeyCombo& held = held_[static_cast<std::size_t>(t - 1)];
    if (!held.Empty() && !(held == wanted[static_cast<std::size_t>(t - 1)])) {
      platform.UnregisterHotKey(t);
      held = {};
    }
  }
  // Told once every key is taken, so that none waits for a box to be answered,
  // and in one box, as a second running copy finds every key taken.
  std::vector<std::string> taken;
  for (int t = 1; t <= kTitleCount; ++t) {
    const auto n = static_cast<std::size_t>(t - 1);
    if (wanted[n].Empty() || !held_[n].Empty()) continue;
    if (platform.RegisterHotKey(t, wanted[n])) {
      held_[n] = wanted[n];
      continue;
    }
    const std::string keyText = KeyComboText(wanted[n]);
    const std::string mark = std::to_string(t) + " " + keyText;
    if (std::find(reported_.begin(), reported_.end(), mark) != reported_.end()) continue;
    reported_.push_back(mark);
    const auto owner = std::find(held_.begin(), held_.end(), wanted[n]);
    const std::string holder =
        owner != held_.end() ? TitleNamed(static_cast<int>(owner - held_.begin()) + 1,
                                          names[static_cast<std::size_t>(owner - held_.begin())])
                             : "another program";
    taken.push_back(keyText + " of " + TitleNamed(t, names[n]) + " is already taken by " + holder);
  }
  if (taken.empty()) return;
  const char* choose =
      "You can choose another key with \"Change Title Names\" in \"Edit Your List\".";
  if (taken.size() == 1) {
    ShowInformation(platform,
                    "The shortcut key " + taken[0] + ", so it does not open this title. " + choose);
    return;
  }
  std::string text = "These shortcut keys do not open their titles:\n";
  for (const std::string& line : taken) text += "- " + line + "\n";
  ShowInformation(platform, text + choose);
}

}  // namespace vantrel

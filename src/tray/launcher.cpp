#include "tray/launcher.h"

#include "platform/messages.h"
#include "store/settings.h"
#include "store/titles.h"

namespace vantrel {

bool IsWebEntry(const std::string& entry) {
  std::string upper = entry;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper.find("HTTP") != std::string::npos;
}

std::string ToShortPath(Platform& platform, const std::string& path) {
  return platform.ShortPath(path);
}

std::array<std::string, kLaunchSlots> ReadTitleSlots(Platform& platform,
                                                     const std::string& titleText) {
  std::array<std::string, kLaunchSlots> slots;
  SettingsFile file(platform, SettingsPath());
  for (int i = 1; i <= kLaunchSlots; ++i)
    slots[static_cast<std::size_t>(i - 1)] =
        file.ReadValue(kFilesSection, EntryKey(titleText, i), kEmptySlot);
  return slots;
}

int EntryCount(const std::array<std::string, kLaunchSlots>& slots) {
  if (slots[0] == kEmptySlot) return 0;
  int count = 0;
  for (const std::string& entry : slots) count += entry != kEmptySlot ? 1 : 0;
  return count;
}

LaunchOutcome LaunchTitle(Platform& platform, const std::string& titleText) {
  const std::array<std::string, kLaunchSlots> slots = ReadTitleSlots(platform, titleText);
  LaunchOutcome outcome;
  if (slots[0] == kEmptySlot) {
    ShowInformation(platform, kNoProgramsText);
    return outcome;
  }
  for (const std::string& entry : slots) {
    if (entry == kEmptySlot) continue;
    // Web addresses go to the user's own browser: the shell opens the address.
    const std::string target = IsWebEntry(entry) ? entry : ToShortPath(platform, entry);
    if (platform.ShellExecute("open", target, "", "", kShowActivatedNormal) > 32) {
      ++outcome.opened;
    } else {
      ++outcome.failed;
      ShowInformation(platform, kCannotRunText);
    }
  }
  return outcome;
}

}  // namespace vantrel

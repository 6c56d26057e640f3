#include "store/entry_options.h"

#include "platform/utf8.h"
#include "store/profile.h"
#include "store/settings.h"
#include "store/titles.h"

namespace vantrel {
namespace {

enum Word : std::size_t {
  kArgs,
  kFolder,
  kAdmin,
  kFront,
  kEntry,
  kPlace,
  kWait,
  kWaitWindow,
  kStay
};

}  // namespace

std::string OptionKey(const std::string& entryKey, std::size_t word) {
  return entryKey + kOptionWords.at(word);
}

OptionValues StoredOptionValues(const EntryOptions& options, const std::string& entry) {
  OptionValues values;
  if (options.Empty()) return values;
  values[kArgs] = options.arguments;
  values[kFolder] = options.folder;
  values[kAdmin] = options.asAdministrator ? kOptionOn : "";
  values[kFront] = options.bringToFront ? kOptionOn : "";
  values[kEntry] = entry;
  values[kPlace] = options.place;
  values[kWait] = options.waitSeconds;
  values[kWaitWindow] = options.waitForWindow ? kOptionOn : "";
  values[kStay] = options.leaveRunning ? kOptionOn : "";
  return values;
}

EntryOptions OptionsFromValues(const OptionValues& values, const std::string& entry) {
  // Versions that wrote the slot as it stands lost its blanks and quotes at
  // the read, though "Entry" kept them.
  const std::string& owner = values[kEntry];
  if (!owner.empty() && owner != entry && ReadRule(owner) != entry) return {};
  return {values[kArgs],
          values[kFolder],
          values[kAdmin] == kOptionOn,
          values[kFront] == kOptionOn,
          values[kPlace],
          values[kWait],
          values[kWaitWindow] == kOptionOn,
          values[kStay] == kOptionOn};
}

std::optional<int> WaitSeconds(std::string_view text) {
  if (text.empty() || text == "0") return 0;
  if (text.size() > 3 || text.front() == '0') return std::nullopt;
  int seconds = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    seconds = seconds * 10 + (c - '0');
  }
  if (seconds > kMaxWaitSeconds) return std::nullopt;
  return seconds;
}

std::string WaitText(int seconds) { return seconds <= 0 ? "" : std::to_string(seconds); }

std::string WrittenForm(const std::string& value) {
  if (value.empty()) return value;
  if (!IsQuoted(value) && TrimBlanks(value).size() == value.size()) return value;
  return "\"" + value + "\"";
}

OptionValues ReadOptionValues(SettingsFile& file, const std::string& entryKey) {
  OptionValues values;
  for (std::size_t w = 0; w < values.size(); ++w)
    values[w] = file.ReadValue(kFilesSection, OptionKey(entryKey, w), "");
  return values;
}

EntryOptions ReadEntryOptions(SettingsFile& file, const std::string& entryKey,
                              const std::string& entry) {
  return OptionsFromValues(ReadOptionValues(file, entryKey), entry);
}

}  // namespace vantrel

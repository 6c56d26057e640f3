// The options an entry may carry (arguments, start folder, run as
// administrator, bring a running program to the front, and as a workspace: its
// window's place, the wait before the next entry, leave it running when the
// title closes) and their keys in section "Files": the entry's own key with a
// word after it, which older versions never read.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class SettingsFile;

struct EntryOptions {
  std::string arguments;
  std::string folder;
  bool asAdministrator = false;
  bool bringToFront = false;
  // Kept as the file has them: a hand-edited value the program cannot use is
  // not used, and written back as it was. See ParsePlace and WaitSeconds.
  std::string place;
  std::string waitSeconds;
  bool waitForWindow = false;
  bool leaveRunning = false;
  bool operator==(const EntryOptions&) const = default;
  bool Empty() const { return *this == EntryOptions{}; }
};

// The options' keys of an entry key, e.g. "Set111" + "Args". "Entry" holds the
// entry that the options were set for: an older version's edit window moves
// entries but not their options, and options left at a slot whose entry has
// changed belong to none.
inline constexpr std::array<const char*, 9> kOptionWords = {
    "Args", "Folder", "Admin", "Front", "Entry", "Place", "Wait", "WaitWindow", "Stay"};
inline constexpr const char* kOptionOn = "1";

// The values as the file holds them, in the order of kOptionWords; ""
// for a key that is not there.
using OptionValues = std::array<std::string, kOptionWords.size()>;

inline constexpr int kMaxWaitSeconds = 120;
// The seconds of a wait text: "" is none (0); otherwise a whole number from 0
// to kMaxWaitSeconds in plain digits, without leading zeros. Nothing for any
// other text.
std::optional<int> WaitSeconds(std::string_view text);
// The text WaitSeconds reads as `seconds` (0 to kMaxWaitSeconds).
std::string WaitText(int seconds);

std::string OptionKey(const std::string& entryKey, std::size_t word);

// The values that these options of this entry are stored as: all empty for an
// entry without options, so that such an entry adds no key to the file.
OptionValues StoredOptionValues(const EntryOptions& options, const std::string& entry);
// The options that the stored values give `entry`: none when they were set for
// another entry. An empty or missing "Entry" key (a hand edit) counts as this
// entry's, and so does one that reads as `entry` once its blanks and quotes
// are dropped (a file written when the slot was not written in its
// WrittenForm).
EntryOptions OptionsFromValues(const OptionValues& values, const std::string& entry);

// The text that a value is written as so that a read gives it back whole: a
// read drops blanks around a value and one pair of quotes around it, which
// entries with blanks at their ends and arguments such as "C:\My Files\a.txt"
// must keep.
std::string WrittenForm(const std::string& value);

OptionValues ReadOptionValues(SettingsFile& file, const std::string& entryKey);
EntryOptions ReadEntryOptions(SettingsFile& file, const std::string& entryKey,
                              const std::string& entry);

}  // namespace vantrel

// The 20 titles with their entries: the key scheme of section "Files", the
// in-memory table the editor keeps, and the moves between file, table and the
// lines that the edit window shows (the title names, and the entries of the
// title shown).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "store/entry_options.h"
#include "store/settings.h"

namespace vantrel {

inline constexpr int kTitleCount = 20;
inline constexpr int kSlotCount = 10;
inline constexpr const char* kEmptySlot = "Null";
inline constexpr const char* kNoTitle = "No Title Entered";

std::string TitleKey(int title);
// A title's own name: a name holding the placeholder of unnamed titles ("No
// Title Entered 3") stands for none.
std::string OwnTitleName(const std::string& name);
// The title's shortcut key ("Hotkey3=Ctrl+Alt+3"): a key of its own, which
// versions without shortcut keys never read; no key or an empty one: none.
std::string HotKeyKey(int title);
std::string EntryKey(int title, int slot);
// The key scheme for any title text and slot, as the launcher builds it.
std::string EntryKey(const std::string& titleText, int slot);

struct TitleData {
  // TitleTable[t - 1][i - 1] holds title t, slot i.
  std::array<std::array<std::string, kSlotCount>, kTitleCount> TitleTable;
  std::int16_t CurrentTitle = 1;
  // The names and the table as the file had them at the last load or save: an
  // Ok writes only what differs, so it never undoes what another running copy,
  // or a hand edit, saved meanwhile.
  std::array<std::string, kTitleCount> SavedNames;
  std::array<std::array<std::string, kSlotCount>, kTitleCount> SavedTable;
  // Each title's shortcut key as the file holds it ("Ctrl+Alt+1"), empty for
  // none; saved, like the names, only where it changed.
  std::array<std::string, kTitleCount> HotKeys;
  std::array<std::string, kTitleCount> SavedHotKeys;

  // Entry options: OptionTable[t - 1][i - 1] belongs to TitleTable[t - 1][i - 1],
  // ShownOptions line by line to the entries that the edit window shows, and
  // SavedOptions holds the option keys' values as the file had them.
  std::array<std::array<EntryOptions, kSlotCount>, kTitleCount> OptionTable;
  std::vector<EntryOptions> ShownOptions;
  std::array<std::array<OptionValues, kSlotCount>, kTitleCount> SavedOptions;
};

using Lines = std::vector<std::string>;

// Start-up: load an existing file or write the first-run defaults; title 1 is
// the current title, its entries in `entries`. A failed first-run write is
// raised after the table and the names are complete.
void StartUpTitles(Files& files, Clock& clock, TitleData& data, Lines& names, Lines& entries);
void LoadTitles(Files& files, Clock& clock, TitleData& data, Lines& names, Lines& entries);
void WriteDefaultTitles(Files& files, Clock& clock, TitleData& data, Lines& names);
// The current title's entries back into the table, packed, "Null" after them;
// each takes its options along.
void StoreEntryList(TitleData& data, const Lines& entries);
// Appends the title's entries, leaving out empty slots, and their options.
void ShowEntryList(TitleData& data, int title, Lines& entries);

// The shown entries change only through these, so that every line keeps its
// own options: a new line has none, a removed line's go with it.
void AddShownEntry(TitleData& data, Lines& entries, std::string entry);
void RemoveShownEntry(TitleData& data, Lines& entries, std::size_t line);
EntryOptions& ShownEntryOptions(TitleData& data, const Lines& entries, std::size_t line);
// Writes the names and slots that differ from the saved ones, and any that the
// file lacks; all of them into a file that is not there.
void SaveTitles(Files& files, Clock& clock, TitleData& data, const Lines& names,
                const Lines& entries);

// A window place for the entry at `key` (e.g. "Set111"), as the file holds it.
struct EntryPlace {
  std::string key;
  std::string entry;
  std::string place;  // PlaceText
};
// Gives each entry its place in one save, its other options kept as the file
// holds them. An entry no longer at its key (changed meanwhile) is left alone.
// How many places were saved.
std::size_t SavePlaces(Files& files, Clock& clock, const std::vector<EntryPlace>& places);

}  // namespace vantrel

// The 20 titles with their entries: the key scheme of section "Files", the
// in-memory table the editor keeps, and the moves between file, table and the
// editor's two lists (a list is a list-box control: its items and selection).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/form.h"
#include "platform/platform.h"

namespace vantrel {

inline constexpr int kTitleCount = 20;
inline constexpr int kSlotCount = 10;
inline constexpr const char* kFilesSection = "Files";
inline constexpr const char* kEmptySlot = "Null";
inline constexpr const char* kNoTitle = "No Title Entered";

std::string TitleKey(int title);
std::string EntryKey(int title, int slot);
// The key scheme for any title text and slot, as the launcher builds it.
std::string EntryKey(const std::string& titleText, int slot);

struct TitleData {
  // TitleTable[t - 1][i - 1] holds title t, slot i.
  std::array<std::array<std::string, kSlotCount>, kTitleCount> TitleTable;
  std::int16_t CurrentTitle = 1;
};

// Start-up: load an existing file or write the first-run defaults, then select
// title 1 and its first entry.
void StartUpTitles(Platform& platform, TitleData& data, Control& titleList, Control& entryList);
void LoadTitles(Platform& platform, TitleData& data, Control& titleList, Control& entryList);
void WriteDefaultTitles(Platform& platform, TitleData& data, Control& titleList);
void StoreEntryList(TitleData& data, const Control& entryList);
void ShowEntryList(const TitleData& data, int title, Control& entryList);
void SelectFirstEntry(Control& entryList);
void SaveTitles(Platform& platform, TitleData& data, const Control& titleList,
                const Control& entryList);

}  // namespace vantrel

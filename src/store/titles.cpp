#include "store/titles.h"

#include "store/settings.h"

namespace vantrel {
namespace {

std::string& Slot(TitleData& data, int title, int slot) {
  return data.TitleTable.at(static_cast<std::size_t>(title - 1))
      .at(static_cast<std::size_t>(slot - 1));
}

}  // namespace

std::string TitleKey(int title) { return "Desc" + std::to_string(title); }

std::string EntryKey(const std::string& titleText, int slot) {
  return "Set" + titleText + titleText + std::to_string(slot);
}

std::string EntryKey(int title, int slot) { return EntryKey(std::to_string(title), slot); }

void StartUpTitles(Platform& platform, TitleData& data, Lines& names, Lines& entries) {
  data.CurrentTitle = 1;  // also when the first-run write fails
  if (platform.GetPathKind(SettingsPath()) == PathKind::File)
    LoadTitles(platform, data, names, entries);
  else
    WriteDefaultTitles(platform, data, names);
}

void LoadTitles(Platform& platform, TitleData& data, Lines& names, Lines& entries) {
  SettingsFile file(platform, SettingsPath());
  names.clear();
  for (int t = 1; t <= kTitleCount; ++t) {
    names.push_back(file.ReadValue(kFilesSection, TitleKey(t), kNoTitle));
    for (int i = 1; i <= kSlotCount; ++i)
      Slot(data, t, i) = file.ReadValue(kFilesSection, EntryKey(t, i), kEmptySlot);
  }
  ShowEntryList(data, 1, entries);
}

void WriteDefaultTitles(Platform& platform, TitleData& data, Lines& names) {
  SettingsFile file(platform, SettingsPath());
  names.clear();
  for (int t = 1; t <= kTitleCount; ++t) {
    const std::string placeholder = kNoTitle + (" " + std::to_string(t));
    names.push_back(placeholder);
    for (int i = 1; i <= kSlotCount; ++i) Slot(data, t, i) = kEmptySlot;
  }
  // Filled first, written after: a failing write leaves the table complete.
  for (int t = 1; t <= kTitleCount; ++t) {
    file.WriteValue(kFilesSection, TitleKey(t), names[static_cast<std::size_t>(t - 1)]);
    for (int i = 1; i <= kSlotCount; ++i)
      file.WriteValue(kFilesSection, EntryKey(t, i), kEmptySlot);
  }
  file.Release();
}

void StoreEntryList(TitleData& data, const Lines& entries) {
  const int title = data.CurrentTitle;
  if (title < 1 || title > kTitleCount) return;
  for (int i = 1; i <= kSlotCount; ++i) {
    const auto n = static_cast<std::size_t>(i - 1);
    Slot(data, title, i) = n < entries.size() ? entries[n] : kEmptySlot;
  }
}

void ShowEntryList(const TitleData& data, int title, Lines& entries) {
  for (const std::string& entry : data.TitleTable.at(static_cast<std::size_t>(title - 1)))
    if (entry != kEmptySlot) entries.push_back(entry);
}

void SaveTitles(Platform& platform, TitleData& data, const Lines& names, const Lines& entries) {
  StoreEntryList(data, entries);
  SettingsFile file(platform, SettingsPath());
  for (int t = 1; t <= kTitleCount; ++t) {
    const auto n = static_cast<std::size_t>(t - 1);
    file.WriteValue(kFilesSection, TitleKey(t), n < names.size() ? names[n] : "");
  }
  for (int t = 1; t <= kTitleCount; ++t)
    for (int i = 1; i <= kSlotCount; ++i)
      file.WriteValue(kFilesSection, EntryKey(t, i), Slot(data, t, i));
  file.Release();
}

}  // namespace vantrel

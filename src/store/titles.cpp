#include "store/titles.h"

#include "store/settings.h"

namespace vantrel {
namespace {

std::string& Slot(TitleData& data, int title, int slot) {
  return data.TitleTable.at(static_cast<std::size_t>(title - 1))
      .at(static_cast<std::size_t>(slot - 1));
}

std::string NameAt(const Lines& names, int title) {
  const auto n = static_cast<std::size_t>(title - 1);
  return n < names.size() ? names[n] : "";
}

// What the file holds once these names and the table are saved or loaded.
void MarkSaved(TitleData& data, const Lines& names) {
  for (int t = 1; t <= kTitleCount; ++t)
    data.SavedNames[static_cast<std::size_t>(t - 1)] = NameAt(names, t);
  data.SavedTable = data.TitleTable;
  data.SavedHotKeys = data.HotKeys;
}

}  // namespace

std::string TitleKey(int title) { return "Desc" + std::to_string(title); }

std::string HotKeyKey(int title) { return "Hotkey" + std::to_string(title); }

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
    data.HotKeys[static_cast<std::size_t>(t - 1)] = file.ReadValue(kFilesSection, HotKeyKey(t), "");
    for (int i = 1; i <= kSlotCount; ++i)
      Slot(data, t, i) = file.ReadValue(kFilesSection, EntryKey(t, i), kEmptySlot);
  }
  MarkSaved(data, names);
  ShowEntryList(data, 1, entries);
}

void WriteDefaultTitles(Platform& platform, TitleData& data, Lines& names) {
  SettingsFile file(platform, SettingsPath());
  names.clear();
  for (int t = 1; t <= kTitleCount; ++t) {
    const std::string placeholder = kNoTitle + (" " + std::to_string(t));
    names.push_back(placeholder);
    data.HotKeys[static_cast<std::size_t>(t - 1)].clear();
    for (int i = 1; i <= kSlotCount; ++i) Slot(data, t, i) = kEmptySlot;
  }
  // Filled first, written after: a failing write leaves the table complete.
  // Another copy may have made the file meanwhile: what it holds stays.
  for (int t = 1; t <= kTitleCount; ++t) {
    file.AddValue(kFilesSection, TitleKey(t), names[static_cast<std::size_t>(t - 1)]);
    for (int i = 1; i <= kSlotCount; ++i) file.AddValue(kFilesSection, EntryKey(t, i), kEmptySlot);
  }
  MarkSaved(data, names);
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
  const auto put = [&file](const std::string& key, const std::string& value,
                           const std::string& saved) {
    if (value != saved)
      file.WriteValue(kFilesSection, key, value);
    else
      file.AddValue(kFilesSection, key, value);
  };
  for (int t = 1; t <= kTitleCount; ++t)
    put(TitleKey(t), NameAt(names, t), data.SavedNames[static_cast<std::size_t>(t - 1)]);
  // A title without a key needs no line: only a change is written.
  for (std::size_t t = 0; t < kTitleCount; ++t)
    if (data.HotKeys[t] != data.SavedHotKeys[t])
      file.WriteValue(kFilesSection, HotKeyKey(static_cast<int>(t + 1)), data.HotKeys[t]);
  for (int t = 1; t <= kTitleCount; ++t)
    for (int i = 1; i <= kSlotCount; ++i)
      put(EntryKey(t, i), Slot(data, t, i),
          data.SavedTable[static_cast<std::size_t>(t - 1)][static_cast<std::size_t>(i - 1)]);
  file.Release();
  MarkSaved(data, names);
}

}  // namespace vantrel

#include "store/titles.h"

#include "store/settings.h"

namespace vantrel {
namespace {

std::string& Slot(TitleData& data, int title, int slot) {
  return data.TitleTable.at(static_cast<std::size_t>(title - 1)).at(static_cast<std::size_t>(slot - 1));
}

}  // namespace

std::string TitleKey(int title) { return "Desc" + std::to_string(title); }

std::string EntryKey(const std::string& titleText, int slot) {
  return "Set" + titleText + titleText + std::to_string(slot);
}

std::string EntryKey(int title, int slot) { return EntryKey(std::to_string(title), slot); }

void StartUpTitles(Platform& platform, TitleData& data, Control& titleList, Control& entryList) {
  auto selectTitleOne = [&] {
    titleList.selected = 0;
    data.CurrentTitle = 1;
    SelectFirstEntry(entryList);
  };
  if (platform.GetPathKind(SettingsPath()) == PathKind::File) {
    LoadTitles(platform, data, titleList, entryList);
  } else {
    try {
      WriteDefaultTitles(platform, data, titleList);
    } catch (...) {
      selectTitleOne();  // the table is complete even when the file is not
      throw;
    }
  }
  selectTitleOne();
}

void LoadTitles(Platform& platform, TitleData& data, Control& titleList, Control& entryList) {
  SettingsFile file(platform, SettingsPath());
  titleList.items.clear();
  for (int t = 1; t <= kTitleCount; ++t) {
    titleList.items.push_back(file.ReadValue(kFilesSection, TitleKey(t), kNoTitle));
    for (int i = 1; i <= kSlotCount; ++i)
      Slot(data, t, i) = file.ReadValue(kFilesSection, EntryKey(t, i), kEmptySlot);
  }
  ShowEntryList(data, 1, entryList);
}

void WriteDefaultTitles(Platform& platform, TitleData& data, Control& titleList) {
  SettingsFile file(platform, SettingsPath());
  titleList.items.clear();
  for (int t = 1; t <= kTitleCount; ++t) {
    const std::string placeholder = kNoTitle + (" " + std::to_string(t));
    titleList.items.push_back(placeholder);
    for (int i = 1; i <= kSlotCount; ++i) Slot(data, t, i) = kEmptySlot;
  }
  // Filled first, written after: a failing write leaves the table complete.
  for (int t = 1; t <= kTitleCount; ++t) {
    file.WriteValue(kFilesSection, TitleKey(t), titleList.items[static_cast<std::size_t>(t - 1)]);
    for (int i = 1; i <= kSlotCount; ++i) file.WriteValue(kFilesSection, EntryKey(t, i), kEmptySlot);
  }
  file.Release();
}

void StoreEntryList(TitleData& data, const Control& entryList) {
  const int title = data.CurrentTitle;
  if (title < 1 || title > kTitleCount) return;
  for (int i = 1; i <= kSlotCount; ++i) {
    const auto n = static_cast<std::size_t>(i - 1);
    Slot(data, title, i) = n < entryList.items.size() ? entryList.items[n] : kEmptySlot;
  }
}

void ShowEntryList(const TitleData& data, int title, Control& entryList) {
  for (const std::string& entry : data.TitleTable.at(static_cast<std::size_t>(title - 1)))
    if (entry != kEmptySlot) entryList.items.push_back(entry);
  SelectFirstEntry(entryList);
}

void SelectFirstEntry(Control& entryList) {
  if (!entryList.items.empty()) entryList.selected = 0;
}

void SaveTitles(Platform& platform, TitleData& data, const Control& titleList,
                const Control& entryList) {
  StoreEntryList(data, entryList);
  SettingsFile file(platform, SettingsPath());
  for (int t = 1; t <= kTitleCount; ++t) {
    const auto n = static_cast<std::size_t>(t - 1);
    file.WriteValue(kFilesSection, TitleKey(t), n < titleList.items.size() ? titleList.items[n] : "");
  }
  for (int t = 1; t <= kTitleCount; ++t)
    for (int i = 1; i <= kSlotCount; ++i) file.WriteValue(kFilesSection, EntryKey(t, i), Slot(data, t, i));
  file.Release();
}

}  // namespace vantrel

#include "store/titles.h"

#include "store/settings.h"

namespace vantrel {
namespace {

std::string& Slot(TitleData& data, int title, int slot) {
  return data.TitleTable.at(static_cast<std::size_t>(title - 1))
      .at(static_cast<std::size_t>(slot - 1));
}

EntryOptions& Options(TitleData& data, int title, int slot) {
  return data.OptionTable.at(static_cast<std::size_t>(title - 1))
      .at(static_cast<std::size_t>(slot - 1));
}

const std::string& SavedSlot(const TitleData& data, int title, int slot) {
  return data.SavedTable.at(static_cast<std::size_t>(title - 1))
      .at(static_cast<std::size_t>(slot - 1));
}

OptionValues& SavedOptions(TitleData& data, int title, int slot) {
  return data.SavedOptions.at(static_cast<std::size_t>(title - 1))
      .at(static_cast<std::size_t>(slot - 1));
}

// One options entry per shown line: a line added without them has none.
void MatchShown(TitleData& data, const Lines& entries) { data.ShownOptions.resize(entries.size()); }

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
  for (int t = 1; t <= kTitleCount; ++t)
    for (int i = 1; i <= kSlotCount; ++i)
      SavedOptions(data, t, i) = StoredOptionValues(Options(data, t, i), Slot(data, t, i));
}

}  // namespace

std::string TitleKey(int title) { return "Desc" + std::to_string(title); }

std::string OwnTitleName(const std::string& name) {
  return name.find(kNoTitle) == std::string::npos ? name : "";
}

std::string HotKeyKey(int title) { return "Hotkey" + std::to_string(title); }

std::string EntryKey(const std::string& titleText, int slot) {
  return "Set" + titleText + titleText + std::to_string(slot);
}

std::string EntryKey(int title, int slot) { return EntryKey(std::to_string(title), slot); }

namespace {

void LoadTitles(SettingsFile& file, TitleData& data, Lines& names, Lines& entries) {
  names.clear();
  for (int t = 1; t <= kTitleCount; ++t) {
    names.push_back(file.ReadValue(kFilesSection, TitleKey(t), kNoTitle));
    data.HotKeys[static_cast<std::size_t>(t - 1)] = file.ReadValue(kFilesSection, HotKeyKey(t), "");
    for (int i = 1; i <= kSlotCount; ++i)
      Slot(data, t, i) = file.ReadValue(kFilesSection, EntryKey(t, i), kEmptySlot);
  }
  MarkSaved(data, names);
  // Kept as the file has them, not as they read: options left by another
  // entry are cleared by the next save.
  for (int t = 1; t <= kTitleCount; ++t)
    for (int i = 1; i <= kSlotCount; ++i) {
      SavedOptions(data, t, i) = ReadOptionValues(file, EntryKey(t, i));
      Options(data, t, i) = OptionsFromValues(SavedOptions(data, t, i), Slot(data, t, i));
    }
  data.ShownOptions.clear();
  ShowEntryList(data, 1, entries);
}

}  // namespace

// Only a file that is not there gets the first run's values: one that cannot
// be read now stops the start-up here, with nothing changed.
void StartUpTitles(Files& files, Clock& clock, TitleData& data, Lines& names, Lines& entries) {
  SettingsFile file(files, clock, SettingsPath());
  const bool exists = file.Exists();
  data.CurrentTitle = 1;  // also when the first-run write fails
  if (exists)
    LoadTitles(file, data, names, entries);
  else
    WriteDefaultTitles(files, clock, data, names);
}

void LoadTitles(Files& files, Clock& clock, TitleData& data, Lines& names, Lines& entries) {
  SettingsFile file(files, clock, SettingsPath());
  LoadTitles(file, data, names, entries);
}

void WriteDefaultTitles(Files& files, Clock& clock, TitleData& data, Lines& names) {
  SettingsFile file(files, clock, SettingsPath());
  names.clear();
  for (int t = 1; t <= kTitleCount; ++t) {
    const std::string placeholder = kNoTitle + (" " + std::to_string(t));
    names.push_back(placeholder);
    data.HotKeys[static_cast<std::size_t>(t - 1)].clear();
    for (int i = 1; i <= kSlotCount; ++i) {
      Slot(data, t, i) = kEmptySlot;
      Options(data, t, i) = {};
    }
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
  MatchShown(data, entries);
  for (int i = 1; i <= kSlotCount; ++i) {
    const auto n = static_cast<std::size_t>(i - 1);
    Slot(data, title, i) = n < entries.size() ? entries[n] : kEmptySlot;
    Options(data, title, i) = n < entries.size() ? data.ShownOptions[n] : EntryOptions{};
  }
}

void ShowEntryList(TitleData& data, int title, Lines& entries) {
  MatchShown(data, entries);
  for (int i = 1; i <= kSlotCount; ++i) {
    if (Slot(data, title, i) == kEmptySlot) continue;
    entries.push_back(Slot(data, title, i));
    data.ShownOptions.push_back(Options(data, title, i));
  }
}

void AddShownEntry(TitleData& data, Lines& entries, std::string entry) {
  MatchShown(data, entries);
  entries.push_back(std::move(entry));
  data.ShownOptions.emplace_back();
}

void RemoveShownEntry(TitleData& data, Lines& entries, std::size_t line) {
  MatchShown(data, entries);
  if (line >= entries.size()) return;
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(line));
  data.ShownOptions.erase(data.ShownOptions.begin() + static_cast<std::ptrdiff_t>(line));
}

EntryOptions& ShownEntryOptions(TitleData& data, const Lines& entries, std::size_t line) {
  MatchShown(data, entries);
  return data.ShownOptions.at(line);
}

void SaveTitles(Files& files, Clock& clock, TitleData& data, const Lines& names,
                const Lines& entries) {
  StoreEntryList(data, entries);
  SettingsFile file(files, clock, SettingsPath());
  const auto put = [&file](const std::string& key, const std::string& text, bool changed) {
    if (changed)
      file.WriteValue(kFilesSection, key, text);
    else
      file.AddValue(kFilesSection, key, text);
  };
  for (int t = 1; t <= kTitleCount; ++t) {
    const std::string name = NameAt(names, t);
    put(TitleKey(t), name, name != data.SavedNames[static_cast<std::size_t>(t - 1)]);
  }
  // A title without a key needs no line: only a change is written.
  for (std::size_t t = 0; t < kTitleCount; ++t)
    if (data.HotKeys[t] != data.SavedHotKeys[t])
      file.WriteValue(kFilesSection, HotKeyKey(static_cast<int>(t + 1)), data.HotKeys[t]);
  // An entry reads back whole, blanks and quotes at its ends and all.
  for (int t = 1; t <= kTitleCount; ++t)
    for (int i = 1; i <= kSlotCount; ++i)
      put(EntryKey(t, i), WrittenForm(Slot(data, t, i)), Slot(data, t, i) != SavedSlot(data, t, i));
  // Options by the same rule, except that an empty one the file lacks is not
  // added: an entry without options leaves the file as older versions had it.
  for (int t = 1; t <= kTitleCount; ++t)
    for (int i = 1; i <= kSlotCount; ++i) {
      const OptionValues values = StoredOptionValues(Options(data, t, i), Slot(data, t, i));
      const OptionValues& saved = SavedOptions(data, t, i);
      for (std::size_t w = 0; w < values.size(); ++w) {
        const std::string key = OptionKey(EntryKey(t, i), w);
        if (values[w] != saved[w])
          file.WriteValue(kFilesSection, key, WrittenForm(values[w]));
        else if (!values[w].empty())
          file.AddValue(kFilesSection, key, WrittenForm(values[w]));
      }
    }
  file.Release();
  MarkSaved(data, names);
}

std::size_t SavePlaces(Files& files, Clock& clock, const std::vector<EntryPlace>& places) {
  SettingsFile file(files, clock, SettingsPath());
  std::size_t given = 0;
  for (const EntryPlace& place : places) {
    if (file.ReadValue(kFilesSection, place.key, kEmptySlot) != place.entry) continue;
    ++given;
    const OptionValues saved = ReadOptionValues(file, place.key);
    EntryOptions options = OptionsFromValues(saved, place.entry);
    options.place = place.place;
    // Options left by another entry go: these are now this entry's.
    const OptionValues values = StoredOptionValues(options, place.entry);
    for (std::size_t w = 0; w < values.size(); ++w)
      if (values[w] != saved[w])
        file.WriteValue(kFilesSection, OptionKey(place.key, w), WrittenForm(values[w]));
  }
  file.Release();
  return given;
}

}  // namespace vantrel

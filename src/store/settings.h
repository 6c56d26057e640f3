// The settings file and its folder under the user's application data folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "store/profile.h"

namespace vantrel {

inline constexpr const char* kWriteFailedText = "Unable to write to ";
inline constexpr const char* kFolderWarning =
    "Could not create a folder as you do not have authority on your system. Please right click "
    "this software icon on your desktop, and choose the option to \"Run as Admin\" (only needs to "
    "be done one time), as you currently do not have authority to create a new folder.";

// Fixes DataFolder and SettingsPath and creates the folder when it is missing,
// warning once when it cannot.
void SetUpDataFolder(Files& files, Dialogs& dialogs);
// Fixes DataFolder and SettingsPath only, making and removing nothing: for a
// run that only reads the settings.
void LocateDataFolder(Files& files);
const std::string& DataFolder();
const std::string& SettingsPath();

// The platform's legacy code page, as the settings file's format asks for it.
class PlatformCodePage : public LegacyCodePage {
 public:
  explicit PlatformCodePage(Files& files) : files_(files) {}
  std::string ToUtf8(std::string_view bytes) const override { return files_.LegacyToUtf8(bytes); }
  std::optional<std::string> FromUtf8(std::string_view text) const override {
    return files_.Utf8ToLegacy(text);
  }

 private:
  Files& files_;
};

// The sections the program keeps its values in.
inline constexpr const char* kFilesSection = "Files";
inline constexpr const char* kScreensaverSection = "SSaver";

// A settings file that cannot be read now, with no complete read of it before
// that has the value asked for: the operation stops rather than invent one.
class SettingsBusyError : public VantrelError {
 public:
  explicit SettingsBusyError(const std::string& path);
};

// A short-lived handle on one settings file: made for one operation and released
// at its end. Reads come from the file as it is now or, while it has not changed
// since the last complete read, or cannot be read now, from that read, which
// keeps every value of the program's own sections: a menu neither reads a large
// file twice nor waits for a lock. Writes are seen by this handle's reads at
// once and reach the disk together at Release, as one replace made while no
// other running copy saves: a save is all or nothing, and it changes only the
// values it writes.
class SettingsFile {
 public:
  SettingsFile(Files& files, Clock& clock, std::string path);
  // Writes not released are dropped; dropped with no error on its way, which
  // only a mistake of the caller does, they are counted too.
  ~SettingsFile();
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  // Whether there is a file. Raises SettingsBusyError when it cannot tell.
  bool Exists();
  // A missing file, section or key gives the default; a value that cannot be
  // read now and was not in the last complete read raises SettingsBusyError.
  std::string ReadValue(const std::string& section, const std::string& key,
                        const std::string& defaultValue);
  void WriteValue(const std::string& section, const std::string& key, const std::string& value);
  // The same, but only where the file has no such key when the save is made.
  void AddValue(const std::string& section, const std::string& key, const std::string& value);
  // Reads the file as it is now, applies every write and replaces it, unless
  // its bytes stay as they were. Raises VantrelError "Unable to write to
  // <path>" when the file cannot be read or replaced; it is then as it was, and
  // the writes are dropped.
  void Release();

  // Forgets the last complete read of every file (start-up, and tests).
  static void ForgetLastReads();
  // How many handles were dropped with writes and no error on its way since
  // the last call; tests require none.
  static int TakeDroppedWrites();

 private:
  struct Change {
    std::string section, key, value;
    bool onlyWhenMissing;
  };
  // Where reads come from, decided at the first: not asked yet; the last
  // complete read, as the file has not changed since (the file itself for a
  // section it does not keep); the file as this handle read it; or the last
  // complete read alone, as the file cannot be read now.
  enum class Source { Unasked, Unchanged, File, Unreadable };
  void Decide();
  void ReadFile();
  std::optional<std::string> FindInFile(const std::string& section, const std::string& key);
  std::optional<std::string> Find(const std::string& section, const std::string& key);
  void Record(Change change);

  Files& files_;
  Clock& clock_;
  std::string path_;
  PlatformCodePage codePage_;
  Source source_ = Source::Unasked;
  std::optional<FileStamp> stamp_;  // as the file stood before this handle read it
  // Source::File: the file (empty: none); otherwise, once asked, the last
  // complete read's sections.
  std::optional<ProfileDocument> document_;
  bool exists_ = false;  // Source::File: there was a file
  std::vector<Change> changes_;
  int uncaught_;  // errors on their way when this handle was made
};

}  // namespace vantrel

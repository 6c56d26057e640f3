// The settings file and its folder under the user's application data folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "store/profile.h"

namespace vantrel {

inline constexpr const char* kWriteFailedText = "Unable to write to ";
inline constexpr const char* kFolderWarning =
    "Could not create a folder as you do not have authority on your system. Please right click "
    "this software icon on your desktop, and choose the option to \"Run as Admin\" (only needs to "
    "be done one time), as you currently do not have authority to create a new folder.";

// Fixes DataFolder and SettingsPath and creates the folder when it is missing,
// warning once when it cannot.
void SetUpDataFolder(Platform& platform);
// Fixes DataFolder and SettingsPath only, making and removing nothing: for a
// run that only reads the settings.
void LocateDataFolder(Platform& platform);
const std::string& DataFolder();
const std::string& SettingsPath();

// The platform's legacy code page, as the settings file's format asks for it.
class PlatformCodePage : public LegacyCodePage {
 public:
  explicit PlatformCodePage(Platform& platform) : platform_(platform) {}
  std::string ToUtf8(std::string_view bytes) const override {
    return platform_.LegacyToUtf8(bytes);
  }
  std::optional<std::string> FromUtf8(std::string_view text) const override {
    return platform_.Utf8ToLegacy(text);
  }

 private:
  Platform& platform_;
};

// A short-lived handle on one settings file: made for one operation and released
// at its end. Reads come from the file as it is now; while it has not changed
// since the last read, or while another program holds it, from that last
// complete read, so a menu neither reads a large file twice nor waits for a lock.
// Writes are seen by this handle's reads at once and reach the disk together at
// Release, as one replace made while no other running copy saves: a save is
// all or nothing, and it changes only the values it writes.
class SettingsFile {
 public:
  SettingsFile(Platform& platform, std::string path);
  // Writes not released are dropped: an operation that stopped half-way saves
  // none of its values.
  ~SettingsFile() = default;
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  // Never fails: a missing or unreadable file, section or key gives the default.
  std::string ReadValue(const std::string& section, const std::string& key,
                        const std::string& defaultValue);
  void WriteValue(const std::string& section, const std::string& key, const std::string& value);
  // The same, but only where the file has no such key when the save is made.
  void AddValue(const std::string& section, const std::string& key, const std::string& value);
  // Reads the file as it is now, applies every write and replaces it. Raises
  // VantrelError "Unable to write to <path>" when the file cannot be read or
  // replaced; it is then as it was, and the writes are dropped.
  void Release();

  // Forgets the last complete read of every file (start-up, and tests).
  static void ForgetLastReads();

 private:
  struct Change {
    std::string section, key, value;
    bool onlyWhenMissing;
  };
  // Where this handle's values come from: not decided yet, the file as read
  // now, or the last complete read (its bytes, or the values looked up in it).
  enum class Source { Undecided, File, LastBytes, LastValues };
  // Decides where values come from; `unchangedFromLast` false reads the file
  // even when its stamp is the last read's (a value a large file's last read
  // did not keep).
  void Decide(bool unchangedFromLast = true);
  ProfileDocument& Document();
  std::optional<std::string> Find(const std::string& section, const std::string& key);
  void Apply(ProfileDocument& document, const Change& change);
  void Record(Change change);

  Platform& platform_;
  std::string path_;
  PlatformCodePage codePage_;
  Source source_ = Source::Undecided;
  bool readNow_ = false;  // this handle's read is the last complete read
  std::optional<ProfileDocument> document_;
  std::vector<Change> changes_;
};

}  // namespace vantrel

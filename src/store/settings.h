// The settings file and its folder under the user's application data folder.
#pragma once

#include <optional>
#include <string>

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
// at its end. It reads and parses the file once, at its first use, and keeps
// that copy while it lives. The file on disk is
// only ever replaced as a whole (written beside it, then renamed over it), so it
// is never left half-written: the operation's first write goes to disk at once,
// so that a file that cannot be written is reported at that write, and the
// writes after it reach the disk together when the file is released.
class SettingsFile {
 public:
  SettingsFile(Platform& platform, std::string path);
  // Releases the file if the operation did not; a failure is not reported here.
  ~SettingsFile();
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  // Never fails: a missing or unreadable file, section or key gives the default.
  std::string ReadValue(const std::string& section, const std::string& key,
                        const std::string& defaultValue);
  // Raises VantrelError "Unable to write to <path>" when the file cannot be
  // written, or is there but cannot be read; the file is then as it was.
  void WriteValue(const std::string& section, const std::string& key, const std::string& value);
  // Puts every write on disk (each replace is durable). Raises "Unable to write to
  // <path>" when the file cannot be replaced; it then holds the first write.
  void Release();

 private:
  ProfileDocument& Document();
  void Forget();
  bool Commit();

  Platform& platform_;
  std::string path_;
  PlatformCodePage codePage_;
  std::optional<ProfileDocument> document_;
  bool unreadable_ = false;  // the file is there but could not be read
  bool written_ = false;     // something reached the disk
  bool pending_ = false;     // writes not yet on disk
};

}  // namespace vantrel

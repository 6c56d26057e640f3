// The settings file and its folder under the user's application data folder.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

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

// A short-lived handle on one settings file: made for one operation and released
// at its end. It keeps a parsed copy of the file while it lives; every write
// replaces the file as a whole, so the file is never left half-written.
class SettingsFile {
 public:
  SettingsFile(Platform& platform, std::string path);
  ~SettingsFile();  // makes what was written durable
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  // Never fails: a missing or unreadable file, section or key gives the default.
  std::string ReadValue(const std::string& section, const std::string& key,
                        const std::string& defaultValue);
  // Raises VantrelError "Unable to write to <path>" when the file cannot be
  // written; the file is then as it was.
  void WriteValue(const std::string& section, const std::string& key, const std::string& value);

 private:
  const std::string& Contents();

  Platform& platform_;
  std::string path_;
  std::optional<std::string> contents_;
  bool written_ = false;
};

}  // namespace vantrel

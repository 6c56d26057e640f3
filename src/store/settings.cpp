#include "store/settings.h"

#include <map>

#include "platform/errors.h"
#include "platform/messages.h"
#include "store/profile.h"

namespace vantrel {
namespace {

std::string g_dataFolder;
std::string g_settingsPath;
// What a live SettingsFile has written but not yet put on disk, by path, so
// that every other SettingsFile on the same path reads it at once.
std::map<std::string, std::string>& Pending() {
  static std::map<std::string, std::string> pending;
  return pending;
}

}  // namespace

void SetUpDataFolder(Platform& platform) {
  g_dataFolder = platform.AppDataFolder() + "\\Vantrel";
  if (platform.GetPathKind(g_dataFolder) != PathKind::Directory &&
      !platform.CreateDirectory(g_dataFolder)) {
    ShowWarning(platform, kFolderWarning);
  }
  g_settingsPath = g_dataFolder + "\\vantrel.ini";
}

const std::string& DataFolder() { return g_dataFolder; }
const std::string& SettingsPath() { return g_settingsPath; }

SettingsFile::SettingsFile(Platform& platform, std::string path)
    : platform_(platform), path_(std::move(path)) {}

SettingsFile::~SettingsFile() {
  Commit();
  if (written_) platform_.FlushFile(path_);
}

bool SettingsFile::Commit() {
  if (!pending_) return true;
  pending_ = false;
  Pending().erase(path_);
  return platform_.ReplaceFile(path_, *contents_);
}

void SettingsFile::Release() {
  if (!Commit()) {
    contents_.reset();
    throw VantrelError(kWriteFailedText + path_);
  }
  if (written_) platform_.FlushFile(path_);
  written_ = false;
}

const std::string& SettingsFile::Contents() {
  if (!contents_) {
    if (auto pending = Pending().find(path_); pending != Pending().end()) {
      contents_ = pending->second;
      return *contents_;
    }
    std::string text;
    if (platform_.GetPathKind(path_) != PathKind::File || !platform_.ReadWholeFile(path_, text))
      text.clear();
    contents_ = std::move(text);
  }
  return *contents_;
}

std::string SettingsFile::ReadValue(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) {
  return ProfileRead(Contents(), section, key, defaultValue);
}

void SettingsFile::WriteValue(const std::string& section, const std::string& key,
                              const std::string& value) {
  std::string updated = ProfileWrite(Contents(), section, key, value);
  if (!written_) {
    if (!platform_.ReplaceFile(path_, updated)) {
      contents_.reset();  // read the file afresh: it is as it was before this write
      throw VantrelError(kWriteFailedText + path_);
    }
    written_ = true;
    contents_ = std::move(updated);
    return;
  }
  contents_ = std::move(updated);
  pending_ = true;
  Pending()[path_] = *contents_;
}

}  // namespace vantrel

#include "store/settings.h"

#include <map>

#include "platform/errors.h"
#include "platform/messages.h"
#include "store/profile.h"

namespace vantrel {
namespace {

std::string g_dataFolder;
std::string g_settingsPath;
// The document of the live SettingsFile whose writes are not yet on disk, by
// path, so that every other SettingsFile on the same path reads them at once.
std::map<std::string, const ProfileDocument*>& Pending() {
  static std::map<std::string, const ProfileDocument*> pending;
  return pending;
}

// The buffer of the last read, used again by the next one: under Wine, touching
// a large file's worth of fresh memory costs more than reading the file.
std::string& SpareBuffer() {
  static std::string buffer;
  return buffer;
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
    : platform_(platform), path_(std::move(path)), codePage_(platform) {}

SettingsFile::~SettingsFile() {
  Commit();
  if (document_) SpareBuffer() = std::move(*document_).TakeRead();
}

bool SettingsFile::Commit() {
  if (!pending_) return true;
  pending_ = false;
  Pending().erase(path_);
  return platform_.ReplaceFile(path_, document_->Bytes());
}

void SettingsFile::Release() {
  if (!Commit()) {
    Forget();
    throw VantrelError(kWriteFailedText + path_);
  }
  written_ = false;
}

// The next use reads the file afresh.
void SettingsFile::Forget() {
  if (pending_) Pending().erase(path_);
  pending_ = false;
  document_.reset();
}

ProfileDocument& SettingsFile::Document() {
  if (!document_) {
    if (auto pending = Pending().find(path_); pending != Pending().end()) {
      document_ = *pending->second;
      unreadable_ = false;
      return *document_;
    }
    std::string bytes = std::move(SpareBuffer());
    const FileRead read = platform_.ReadWholeFile(path_, bytes);
    unreadable_ = read == FileRead::Unreadable;
    if (read != FileRead::Done) bytes.clear();
    document_.emplace(std::move(bytes), &codePage_);
  }
  return *document_;
}

std::string SettingsFile::ReadValue(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) {
  return Document().Read(section, key, defaultValue);
}

void SettingsFile::WriteValue(const std::string& section, const std::string& key,
                              const std::string& value) {
  // A file that could not be read is never taken for an empty one: it is read
  // again, and while it stays unreadable nothing is written.
  if (unreadable_) Forget();
  ProfileDocument& document = Document();
  if (unreadable_) {
    Forget();
    throw VantrelError(kWriteFailedText + path_);
  }
  document.Write(section, key, value, &codePage_);
  if (!written_) {
    if (!platform_.ReplaceFile(path_, document.Bytes())) {
      Forget();  // the file is as it was before this write
      throw VantrelError(kWriteFailedText + path_);
    }
    written_ = true;
    return;
  }
  pending_ = true;
  Pending()[path_] = &document;
}

}  // namespace vantrel

#include "store/settings.h"

#include "platform/errors.h"
#include "platform/messages.h"
#include "store/file_replace.h"
#include "store/profile.h"

namespace vantrel {
namespace {

std::string g_dataFolder;
std::string g_settingsPath;

// A file up to this size is kept whole as its last read; of a larger one only
// the values looked up are kept, so that memory falls back after a large read.
constexpr std::size_t kKeptWhole = 256 * 1024;
// A save waits this long for another running copy to finish its own.
constexpr int kSaveLockWaitMs = 5000;

// The last complete read of a settings file, and the file as it was then.
struct LastRead {
  const Platform* platform = nullptr;
  std::string path;
  std::optional<FileStamp> stamp;  // nothing: there was no file
  bool whole = false;              // `bytes` is the whole file
  std::string bytes;
  // By Index; a menu's or a launch's twenty at a time, so a list does.
  std::vector<std::pair<std::string, std::optional<std::string>>> values;
};

LastRead& Last() {
  static LastRead last;
  return last;
}

// Section and key as the file matches them: without regard to ASCII case.
std::string Index(const std::string& section, const std::string& key) {
  std::string out = section + '\n' + key;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The lock every running copy takes to save this file, named after the file
// itself so that two paths to one file share it.
std::string SaveLockName(Platform& platform, const std::string& path) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : platform.FinalPath(path)) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  }
  std::string name = "Vantrel.settings.";
  for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789abcdef"[(hash >> shift) & 15];
  return name;
}

class NamedLock {
 public:
  NamedLock(Platform& platform, std::uintptr_t lock) : platform_(platform), lock_(lock) {}
  ~NamedLock() {
    if (lock_ != 0) platform_.ReleaseNamedLock(lock_);
  }
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;
  bool Held() const { return lock_ != 0; }

 private:
  Platform& platform_;
  std::uintptr_t lock_;
};

}  // namespace

void LocateDataFolder(Platform& platform) {
  SettingsFile::ForgetLastReads();
  g_dataFolder = platform.AppDataFolder() + "\\Vantrel";
  g_settingsPath = g_dataFolder + "\\vantrel.ini";
}

void SetUpDataFolder(Platform& platform) {
  LocateDataFolder(platform);
  if (platform.GetPathKind(g_dataFolder) != PathKind::Directory &&
      !platform.CreateDirectory(g_dataFolder)) {
    ShowWarning(platform, kFolderWarning);
  }
  RemoveLeftovers(platform, g_settingsPath);
}

const std::string& DataFolder() { return g_dataFolder; }
const std::string& SettingsPath() { return g_settingsPath; }

void SettingsFile::ForgetLastReads() { Last() = LastRead(); }

SettingsFile::SettingsFile(Platform& platform, std::string path)
    : platform_(platform), path_(std::move(path)), codePage_(platform) {}

// An unchanged file is not read again; a file that another program holds is
// not waited for while a last complete read of it can stand in.
void SettingsFile::Decide(bool unchangedFromLast) {
  if (source_ != Source::Undecided) return;
  source_ = Source::File;
  LastRead& last = Last();
  const bool known = last.platform == &platform_ && last.path == path_;
  const std::optional<FileStamp> stamp = platform_.GetFileStamp(path_);
  if (unchangedFromLast && known && stamp == last.stamp) {
    source_ = last.whole ? Source::LastBytes : Source::LastValues;
    return;
  }
  std::string bytes;
  FileRead read = platform_.ReadWholeFile(path_, bytes);
  if (read == FileRead::Locked && known) {
    source_ = last.whole ? Source::LastBytes : Source::LastValues;
    return;
  }
  if (read == FileRead::Locked) read = ReadThroughLocks(platform_, path_, bytes);
  if (read != FileRead::Done) bytes.clear();
  readNow_ = read != FileRead::Unreadable;
  if (readNow_) {
    last = LastRead();
    last.platform = &platform_;
    last.path = path_;
    last.stamp = read == FileRead::Done ? stamp : std::nullopt;
    last.whole = bytes.size() <= kKeptWhole;
    if (last.whole) last.bytes = bytes;
  }
  document_.emplace(std::move(bytes), &codePage_);
  for (const Change& change : changes_) Apply(*document_, change);
}

ProfileDocument& SettingsFile::Document() {
  Decide();
  if (!document_) {
    const LastRead& last = Last();
    // Of a large file only some values were kept: a value not among them means
    // reading the file after all.
    if (source_ == Source::LastBytes) {
      document_.emplace(last.bytes, &codePage_);
    } else {
      source_ = Source::Undecided;
      Decide(false);
      if (!document_) document_.emplace(std::string(), &codePage_);
    }
    for (const Change& change : changes_) Apply(*document_, change);
  }
  return *document_;
}

std::optional<std::string> SettingsFile::Find(const std::string& section, const std::string& key) {
  Decide();
  LastRead& last = Last();
  const std::string index = Index(section, key);
  if (changes_.empty() && source_ == Source::LastValues) {
    for (const auto& [kept, value] : last.values)
      if (kept == index) return value;
  }
  std::optional<std::string> found = Document().Find(section, key);
  if (changes_.empty() && source_ == Source::File && readNow_ && !last.whole)
    last.values.emplace_back(index, found);
  return found;
}

std::string SettingsFile::ReadValue(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) {
  return ValueAsRead(Find(section, key), defaultValue);
}

void SettingsFile::Apply(ProfileDocument& document, const Change& change) {
  if (!change.onlyWhenMissing || !document.Find(change.section, change.key))
    document.Write(change.section, change.key, change.value, &codePage_);
}

void SettingsFile::Record(Change change) {
  changes_.push_back(std::move(change));
  if (document_) Apply(*document_, changes_.back());
}

void SettingsFile::WriteValue(const std::string& section, const std::string& key,
                              const std::string& value) {
  Record({section, key, value, false});
}

void SettingsFile::AddValue(const std::string& section, const std::string& key,
                            const std::string& value) {
  Record({section, key, value, true});
}

void SettingsFile::Release() {
  if (changes_.empty()) return;
  const std::vector<Change> changes = std::move(changes_);
  changes_.clear();
  document_.reset();
  source_ = Source::Undecided;
  ForgetLastReads();
  // Another copy's save in between would be undone by a file read before it:
  // the file is read and replaced while no other copy saves.
  const NamedLock lock(platform_,
                       platform_.AcquireNamedLock(SaveLockName(platform_, path_), kSaveLockWaitMs));
  std::string bytes;
  const FileRead read =
      lock.Held() ? ReadThroughLocks(platform_, path_, bytes) : FileRead::Unreadable;
  if (read == FileRead::Unreadable) throw VantrelError(kWriteFailedText + path_);
  if (read != FileRead::Done) bytes.clear();
  ProfileDocument document(std::move(bytes), &codePage_);
  for (const Change& change : changes) Apply(document, change);
  if (!ReplaceWholeFile(platform_, path_, document.Bytes()))
    throw VantrelError(kWriteFailedText + path_);
}

}  // namespace vantrel

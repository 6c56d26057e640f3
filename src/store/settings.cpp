#include "store/settings.h"

#include <exception>
#include <utility>

#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/utf8.h"
#include "store/file_replace.h"
#include "store/profile.h"

namespace vantrel {
namespace {

std::string g_dataFolder;
std::string g_settingsPath;

// A save waits this long for another running copy to finish its own.
constexpr int kSaveLockWaitMs = 5000;

// The last complete read of a settings file: whether there was one, its stamp
// then, and every value of the program's own sections (of a file of any size,
// as UTF-8 text; the sections of the user's own are not kept, so that memory
// falls back after a large read).
struct LastRead {
  const Files* files = nullptr;
  std::string path;
  std::optional<FileStamp> stamp;
  bool settled = false;  // the stamp was settled when taken: an equal one is the same file
  bool exists = false;
  std::string kept;  // a UTF-8 file of the program's sections, with a BOM: no code page

  bool Of(const Files& f, const std::string& file) const { return files == &f && path == file; }
};

LastRead& Last() {
  static LastRead last;
  return last;
}

int& DroppedWrites() {
  static int dropped = 0;
  return dropped;
}

// Section and key as the file matches them: without regard to ASCII case.
std::string Index(const std::string& section, const std::string& key) {
  return AsciiLower(section + '\n' + key);
}

bool Kept(const std::string& section) {
  const std::string name = Index(section, "");
  return name == Index(kFilesSection, "") || name == Index(kScreensaverSection, "");
}

// The last complete read from now on: the document as the file was when it
// had this stamp.
void Remember(Files& files, Clock& clock, const std::string& path,
              const std::optional<FileStamp>& stamp, bool exists, const ProfileDocument& document) {
  LastRead& last = Last();
  last = LastRead();
  last.files = &files;
  last.path = path;
  last.stamp = stamp;
  // No file has no write time to settle; a stamp, it must agree, has one.
  last.settled = exists ? stamp && Settled(*stamp, clock.FileTimeMs()) : !stamp;
  last.exists = exists;
  last.kept = "\xEF\xBB\xBF";
  for (const char* section : {kFilesSection, kScreensaverSection})
    last.kept += document.SectionText(section);
}

// The lock every running copy takes to save this file, named after the file
// itself so that two paths to one file share it.
std::string SaveLockName(Files& files, const std::string& path) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : files.FinalPath(path))
    hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
  std::string name = "Vantrel.settings.";
  for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789abcdef"[(hash >> shift) & 15];
  return name;
}

class NamedLock {
 public:
  NamedLock(Files& files, std::uintptr_t lock) : files_(files), lock_(lock) {}
  ~NamedLock() {
    if (lock_ != 0) files_.ReleaseNamedLock(lock_);
  }
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;
  bool Held() const { return lock_ != 0; }

 private:
  Files& files_;
  std::uintptr_t lock_;
};

}  // namespace

void LocateDataFolder(Files& files) {
  SettingsFile::ForgetLastReads();
  g_dataFolder = files.AppDataFolder() + "\\Vantrel";
  g_settingsPath = g_dataFolder + "\\vantrel.ini";
}

void SetUpDataFolder(Files& files, Dialogs& dialogs) {
  LocateDataFolder(files);
  if (files.GetPathKind(g_dataFolder) != PathKind::Directory &&
      !files.CreateDirectory(g_dataFolder)) {
    ShowWarning(dialogs, kFolderWarning);
  }
  RemoveLeftovers(files, g_settingsPath);
}

const std::string& DataFolder() { return g_dataFolder; }
const std::string& SettingsPath() { return g_settingsPath; }

void SettingsFile::ForgetLastReads() { Last() = LastRead(); }

int SettingsFile::TakeDroppedWrites() { return std::exchange(DroppedWrites(), 0); }

SettingsBusyError::SettingsBusyError(const std::string& path)
    : VantrelError("The settings file " + path +
                   " is busy and cannot be read now. Please try again in a moment") {}

SettingsFile::SettingsFile(Files& files, Clock& clock, std::string path)
    : files_(files),
      clock_(clock),
      path_(std::move(path)),
      codePage_(files),
      uncaught_(std::uncaught_exceptions()) {}

SettingsFile::~SettingsFile() {
  if (!changes_.empty() && std::uncaught_exceptions() <= uncaught_) ++DroppedWrites();
}

// A file unchanged since a last complete read taken when it had settled is not
// read again.
void SettingsFile::Decide() {
  const LastRead& last = Last();
  stamp_ = files_.GetFileStamp(path_);
  if (last.Of(files_, path_) && last.settled && stamp_ == last.stamp)
    source_ = Source::Unchanged;
  else
    ReadFile();
}

// A file that another program holds is not waited for while a last complete
// read of it can stand in.
void SettingsFile::ReadFile() {
  std::string bytes;
  FileRead read = ReadRule(files_.ReadWholeFile(path_, bytes));
  if (read == FileRead::Locked && !Last().Of(files_, path_))
    read = ReadThroughLocks(files_, path_, bytes);
  if (read != FileRead::Done && read != FileRead::Missing) {
    source_ = Source::Unreadable;
    return;
  }
  if (read == FileRead::Missing) bytes.clear();
  source_ = Source::File;
  exists_ = read == FileRead::Done;
  document_.emplace(std::move(bytes), &codePage_);
  Remember(files_, clock_, path_, stamp_, exists_, *document_);
}

std::optional<std::string> SettingsFile::FindInFile(const std::string& section,
                                                    const std::string& key) {
  if (source_ == Source::Unasked) Decide();
  if (source_ == Source::Unchanged && !Kept(section)) ReadFile();
  if (source_ != Source::File) {
    if (!Kept(section) || !Last().Of(files_, path_)) throw SettingsBusyError(path_);
    if (!document_) document_.emplace(Last().kept);
  }
  return document_->Find(section, key);
}

bool SettingsFile::Exists() {
  if (source_ == Source::Unasked) Decide();
  if (source_ == Source::File) return exists_;
  if (!Last().Of(files_, path_)) throw SettingsBusyError(path_);
  return Last().exists;
}

// The value as this handle's writes leave it: the last one made for the key,
// or the one that an added value gives a key the file lacks.
std::optional<std::string> SettingsFile::Find(const std::string& section, const std::string& key) {
  const std::string index = Index(section, key);
  const Change* written = nullptr;
  const Change* added = nullptr;
  for (const Change& change : changes_) {
    if (Index(change.section, change.key) != index) continue;
    if (!change.onlyWhenMissing) written = &change;
    if (change.onlyWhenMissing && added == nullptr && written == nullptr) added = &change;
  }
  if (written != nullptr) return ValueAsWritten(written->value, &codePage_);
  std::optional<std::string> found = FindInFile(section, key);
  if (!found && added != nullptr) found = ValueAsWritten(added->value, &codePage_);
  return found;
}

std::string SettingsFile::ReadValue(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) {
  return ValueAsRead(Find(section, key), defaultValue);
}

void SettingsFile::Record(Change change) { changes_.push_back(std::move(change)); }

void SettingsFile::WriteValue(const std::string& section, const std::string& key,
                              const std::string& value) {
  Record({section, key, value, false});
}

void SettingsFile::AddValue(const std::string& section, const std::string& key,
                            const std::string& value) {
  Record({section, key, value, true});
}

// Decided from what the read under the lock answered, never from an earlier
// read: a file that cannot be read now is never taken for a missing one.
void SettingsFile::Release() {
  if (changes_.empty()) return;
  const std::vector<Change> changes = std::move(changes_);
  changes_.clear();
  source_ = Source::Unasked;
  document_.reset();
  // Another copy's save in between would be undone by a file read before it:
  // the file is read and replaced while no other copy saves.
  const NamedLock lock(files_,
                       files_.AcquireNamedLock(SaveLockName(files_, path_), kSaveLockWaitMs));
  if (!lock.Held()) throw VantrelError(kWriteFailedText + path_);
  std::optional<FileStamp> stamp = files_.GetFileStamp(path_);
  std::string bytes;
  const FileRead read = ReadThroughLocks(files_, path_, bytes);
  if (read != FileRead::Done && read != FileRead::Missing)
    throw VantrelError(kWriteFailedText + path_);
  if (read == FileRead::Missing) bytes.clear();
  ProfileDocument document(bytes, &codePage_);
  for (const Change& change : changes)
    if (!change.onlyWhenMissing || !document.Find(change.section, change.key))
      document.Write(change.section, change.key, change.value, &codePage_);
  const std::string saved = document.Bytes();
  if (saved != bytes) {
    if (!ReplaceWholeFile(files_, path_, saved)) throw VantrelError(kWriteFailedText + path_);
    stamp = files_.GetFileStamp(path_);
  }
  Remember(files_, clock_, path_, stamp, true, document);
}

}  // namespace vantrel

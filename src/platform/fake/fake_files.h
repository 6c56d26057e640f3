// Files for tests: a real temporary folder stands for drive C:, so that every
// file step is real; what the system would answer (held, refused, a full disk,
// a lock held by another copy) is scripted, and every file written is stamped
// with the fake clock's time.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/fake/fake_clock.h"
#include "platform/files.h"

namespace vantrel {

class FakeFiles : public Files {
 public:
  // The clock stamps files and moves on with every Wait.
  explicit FakeFiles(FakeClock& clock);
  ~FakeFiles();
  FakeFiles(const FakeFiles&) = delete;
  FakeFiles& operator=(const FakeFiles&) = delete;

  std::filesystem::path root;  // stands for drive C:
  std::string appData = "C:\\Users\\tester\\AppData\\Roaming";
  std::string programPath = "C:\\Program Files\\Vantrel\\vantrel.exe";

  // A Windows path as a real path under root ("C:\a\b" -> root/C/a/b).
  std::filesystem::path Real(const std::string& windowsPath) const;
  void WriteFile(const std::string& windowsPath, const std::string& contents);
  std::string ReadFile(const std::string& windowsPath) const;
  void MakeDirectory(const std::string& windowsPath);
  void SetReadOnly(const std::string& windowsPath, bool readOnly);
  bool diskFull = false;  // every write fails
  // The next `readAnswers` reads (-1: every read) answer `readAnswer` instead of
  // reading, as the system does for a file held, refused or on a network gone.
  FileAnswer readAnswer = FileAnswer::Done;
  int readAnswers = 0;
  // Answers the next file steps give instead of doing them (a creation that
  // fails leaves half the file, as a full disk does).
  std::deque<FileStep> createAnswers, identityAnswers, renameAnswers;
  std::vector<std::string> identities;  // "from -> to" of each identity carried over
  int waitedMs = 0;
  std::uint32_t processId = 4242;
  std::set<std::uint32_t> runningProcesses;  // besides this one
  bool lockHeldElsewhere = false;            // another copy holds every named lock
  int writes = 0;                            // successful file replacements
  int fileReads = 0;                         // whole-file reads

  std::string AppDataFolder() override { return appData; }
  std::string ProgramPath() override { return programPath; }
  PathKind GetPathKind(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  FileAnswer ReadWholeFile(const std::string& path, std::string& contents) override;
  std::optional<FileStamp> GetFileStamp(const std::string& path) override;
  std::string FinalPath(const std::string& path) override { return path; }
  FileStep CreateNewFile(const std::string& path, const std::string& contents) override;
  FileStep CopyFileIdentity(const std::string& from, const std::string& to) override;
  FileStep RenameOver(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  std::uint32_t ProcessId() override { return processId; }
  bool ProcessRunning(std::uint32_t id) override {
    return id == processId || runningProcesses.count(id) != 0;
  }
  void Wait(int milliseconds) override {
    waitedMs += milliseconds;
    clock_.now += milliseconds;
  }
  std::uintptr_t AcquireNamedLock(const std::string& name, int timeoutMs) override;
  void ReleaseNamedLock(std::uintptr_t lock) override { locks_.erase(lock); }
  // The legacy code page here is Latin-1 (the first 256 code points).
  std::string LegacyToUtf8(std::string_view bytes) override;
  std::optional<std::string> Utf8ToLegacy(std::string_view text) override;

 private:
  std::uint64_t Now() const { return static_cast<std::uint64_t>(clock_.now); }
  // Every file and folder in the order it was made: the system lists a folder
  // in its own order, and the program must not count on any sorting.
  void Made(const std::filesystem::path& real);

  FakeClock& clock_;
  std::map<std::filesystem::path, long> madeOrder_;
  std::map<std::filesystem::path, std::uint64_t> writtenMs_;  // by the fake clock
  std::map<std::uintptr_t, std::string> locks_;               // held by this copy
};

}  // namespace vantrel

// The file system and the running copies as the settings file needs them: its
// folder, whole-file reads, stamps, the durable replace's primitive steps, the
// lock the running copies share, short waits, and the legacy code page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// What the file test reports for a path. Missing only when the system answered
// that the file or its folder is not there; Unknown when it could not tell
// (access refused, a network or device error, a name it cannot resolve).
enum class PathKind { Missing, File, Directory, Unknown };

// What the system answered a whole-file read, as it said it: the file read, no
// such file, no such folder on the way to it, a folder in its place, access
// refused (so too while the file is being deleted or replaced), held by another
// program (a sharing or lock violation), a network or a device gone away, or
// anything else. What each means is decided once, in store/file_replace.
enum class FileAnswer {
  Done,
  NotFound,
  PathNotFound,
  Folder,
  AccessDenied,
  Held,
  NetworkGone,
  Other
};

// What one step on a file answered. Locked: another program holds the file for
// the moment (a sharing or lock violation, or access refused while it is held),
// an answer worth waiting out.
enum class FileStep { Done, Exists, Locked, Failed };

// A file's size and the time of its last write, in milliseconds on the clock
// of Clock::FileTimeMs(). Two writes within one tick of the volume's clock (up
// to 2 s) may leave the same stamp: store/file_replace says when a stamp can be
// trusted.
struct FileStamp {
  std::uint64_t size = 0, writtenMs = 0;
  bool operator==(const FileStamp&) const = default;
};

class Files {
 public:
  // The user's application data folder; empty when the system names none.
  virtual std::string AppDataFolder() = 0;
  // The file this program runs from.
  virtual std::string ProgramPath() = 0;
  virtual PathKind GetPathKind(const std::string& path) = 0;
  virtual bool CreateDirectory(const std::string& path) = 0;
  // Whole-file read, one attempt, and what the system answered (the caller
  // decides whether to wait). The buffer that `contents` already has is used
  // again; it holds the bytes only on Done.
  virtual FileAnswer ReadWholeFile(const std::string& path, std::string& contents) = 0;
  // How the file stands now: nothing when the system tells none (no file, a
  // folder, or no answer).
  virtual std::optional<FileStamp> GetFileStamp(const std::string& path) = 0;
  // The path of the file itself when `path` names it through a link, so that a
  // replace writes through the link; `path` otherwise.
  virtual std::string FinalPath(const std::string& path) = 0;
  // The primitive steps of a durable replace (see store/file_replace.h, which
  // decides their order). CreateNewFile makes a file that must not exist yet
  // (Exists when the name is taken), writes all of it and puts it on disk.
  virtual FileStep CreateNewFile(const std::string& path, const std::string& contents) = 0;
  // Carries `from`'s attributes and access rights over to `to`.
  virtual FileStep CopyFileIdentity(const std::string& from, const std::string& to) = 0;
  // One rename that takes `to`'s place in a single step, replacing a file there,
  // and reaches the disk before it returns. A read-only `to` is Failed.
  virtual FileStep RenameOver(const std::string& from, const std::string& to) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Long names of every entry matching the pattern, of any attributes, in the
  // order the system returns them.
  virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;
  virtual std::uint32_t ProcessId() = 0;
  virtual bool ProcessRunning(std::uint32_t id) = 0;
  // Blocks the caller; only ever for a short wait on another program.
  virtual void Wait(int milliseconds) = 0;
  // A lock shared by every running copy of the program: 0 when another copy
  // still held it after the timeout. A lock whose holder died is taken over.
  virtual std::uintptr_t AcquireNamedLock(const std::string& name, int timeoutMs) = 0;
  virtual void ReleaseNamedLock(std::uintptr_t lock) = 0;
  // Text in the system's legacy code page (the one its programs had before
  // UTF-8) to UTF-8, and back; nothing when that code page cannot hold the text.
  virtual std::string LegacyToUtf8(std::string_view bytes) = 0;
  virtual std::optional<std::string> Utf8ToLegacy(std::string_view text) = 0;

 protected:
  ~Files() = default;
};

}  // namespace vantrel

#include "store/file_replace.h"

#include <string_view>

namespace vantrel {
namespace {

constexpr std::string_view kBesideEnd = ".new";

// The digits at the front of `s`, taken off it; nothing when there are none.
bool TakeNumber(std::string_view& s, std::uint64_t& n) {
  std::size_t i = 0;
  n = 0;
  while (i < s.size() && i < 10 && s[i] >= '0' && s[i] <= '9') n = n * 10 + (s[i++] - '0');
  s.remove_prefix(i);
  return i > 0;
}

}  // namespace

FileRead ReadRule(FileAnswer answer) {
  switch (answer) {
    case FileAnswer::Done:
      return FileRead::Done;
    case FileAnswer::NotFound:
    case FileAnswer::PathNotFound:
      return FileRead::Missing;
    case FileAnswer::AccessDenied:
    case FileAnswer::Held:
      return FileRead::Locked;
    default:  // a folder, a network or device gone, anything else
      return FileRead::Unreadable;
  }
}

FileRead ReadThroughLocks(Files& files, const std::string& path, std::string& contents,
                          int waitMs) {
  for (int waited = 0;; waited += kFilePollMs) {
    const FileRead read = ReadRule(files.ReadWholeFile(path, contents));
    if (read != FileRead::Locked) return read;
    if (waited >= waitMs) return FileRead::Unreadable;
    files.Wait(kFilePollMs);
  }
}

// A volume's clock may keep write times to 2 s; a second more for the rest.
bool Settled(const FileStamp& stamp, std::uint64_t nowMs) {
  constexpr std::uint64_t kSettledAfterMs = 3000;
  return stamp.writtenMs + kSettledAfterMs < nowMs;
}

std::string BesideName(const std::string& target, std::uint32_t process, unsigned count) {
  return target + "." + std::to_string(process) + "-" + std::to_string(count) +
         std::string(kBesideEnd);
}

// What each answer leads to:
// - making the new file: a name that is taken (or held) leads to the next name;
//   a failure removes what was written of it and gives up;
// - carrying the identity over: any failure removes the new file and gives up,
//   so the file never changes its attributes or access rights;
// - the rename: a hold is waited out for a second, then, like a failure, the
//   new file is removed and the old one stays.
// Only the rename touches the path, and it does so in one step.
bool ReplaceWholeFile(Files& files, const std::string& path, const std::string& contents) {
  static unsigned count = 0;
  const std::string target = files.FinalPath(path);
  const std::uint32_t process = files.ProcessId();
  std::string fresh;
  FileStep made = FileStep::Exists;
  for (int attempt = 0; attempt < 100 && (made == FileStep::Exists || made == FileStep::Locked);
       ++attempt) {
    fresh = BesideName(target, process, ++count);
    made = files.CreateNewFile(fresh, contents);
  }
  if (made != FileStep::Done) {
    if (made == FileStep::Failed) files.DeleteFile(fresh);
    return false;
  }
  if (files.GetPathKind(target) == PathKind::File &&
      files.CopyFileIdentity(target, fresh) != FileStep::Done) {
    files.DeleteFile(fresh);
    return false;
  }
  for (int waited = 0;; waited += kFilePollMs) {
    const FileStep renamed = files.RenameOver(fresh, target);
    if (renamed == FileStep::Done) return true;
    if (renamed != FileStep::Locked || waited >= kFileWaitMs) break;
    files.Wait(kFilePollMs);
  }
  files.DeleteFile(fresh);
  return false;
}

void RemoveLeftovers(Files& files, const std::string& path) {
  const std::string target = files.FinalPath(path);
  const auto slash = target.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = target.substr(folder.size());
  const std::uint32_t self = files.ProcessId();
  for (const std::string& found : files.FindFiles(target + ".*-*" + std::string(kBesideEnd))) {
    // Exactly "<name>.<process>-<count>.new": nothing else is ours to remove.
    std::string_view rest = found;
    if (rest.size() <= name.size() + 1 || rest.substr(0, name.size()) != name ||
        rest[name.size()] != '.')
      continue;
    rest.remove_prefix(name.size() + 1);
    std::uint64_t process = 0, n = 0;
    if (!TakeNumber(rest, process) || rest.empty() || rest.front() != '-') continue;
    rest.remove_prefix(1);
    if (!TakeNumber(rest, n) || rest != kBesideEnd) continue;
    // This process has written nothing yet: a file of its id is an earlier one's.
    if (process == self || !files.ProcessRunning(static_cast<std::uint32_t>(process)))
      files.DeleteFile(folder + found);
  }
}

}  // namespace vantrel

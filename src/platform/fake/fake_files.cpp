// The fake files: real files under a temporary folder, with the system's answers scripted.
#include "platform/fake/fake_files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/utf8.h"

namespace fs = std::filesystem;

namespace vantrel {
namespace {

// Wildcard match of a file name, without regard to case, as the system does.
bool Matches(const std::string& name, const std::string& pattern) {
  const std::string n = AsciiLower(name), p = AsciiLower(pattern);
  std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
  while (i < n.size()) {
    if (j < p.size() && (p[j] == '?' || p[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < p.size() && p[j] == '*') {
      star = j++;
      mark = i;
    } else if (star != std::string::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j] == '*') ++j;
  return j == p.size();
}

bool Writable(const fs::path& p) {
  struct stat st {};
  return ::stat(p.c_str(), &st) != 0 || (st.st_mode & S_IWUSR) != 0;
}

}  // namespace

FakeFiles::FakeFiles(FakeClock& clock) : clock_(clock) {
  std::string tmpl = (fs::temp_directory_path() / "vantrel-fake-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder");
  root = tmpl;
  MakeDirectory(appData);
}

FakeFiles::~FakeFiles() {
  std::error_code ec;
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(root, ec);
}

fs::path FakeFiles::Real(const std::string& windowsPath) const {
  std::string p = windowsPath;
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.size() >= 2 && p[1] == ':') p = std::string(1, p[0]) + p.substr(2);
  return root / p;
}

void FakeFiles::Made(const fs::path& real) {
  madeOrder_.emplace(real, static_cast<long>(madeOrder_.size()));
}

void FakeFiles::WriteFile(const std::string& windowsPath, const std::string& contents) {
  std::ofstream(Real(windowsPath), std::ios::binary | std::ios::trunc) << contents;
  Made(Real(windowsPath));
  writtenMs_[Real(windowsPath)] = Now();
}

std::string FakeFiles::ReadFile(const std::string& windowsPath) const {
  std::ifstream in(Real(windowsPath), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void FakeFiles::MakeDirectory(const std::string& windowsPath) {
  fs::create_directories(Real(windowsPath));
  Made(Real(windowsPath));
}

void FakeFiles::SetReadOnly(const std::string& windowsPath, bool readOnly) {
  fs::permissions(Real(windowsPath), fs::perms::owner_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

PathKind FakeFiles::GetPathKind(const std::string& path) {
  std::error_code ec;
  const auto st = fs::status(Real(path), ec);
  if (st.type() == fs::file_type::not_found) return PathKind::Missing;
  if (ec) return PathKind::Unknown;  // for example a link that leads round in a loop
  return fs::is_directory(st) ? PathKind::Directory : PathKind::File;
}

bool FakeFiles::CreateDirectory(const std::string& path) {
  const fs::path p = Real(path);
  if (!Writable(p.parent_path())) return false;
  std::error_code ec;
  if (!fs::create_directory(p, ec) || ec) return false;  // the parent is not created
  Made(p);
  return true;
}

FileAnswer FakeFiles::ReadWholeFile(const std::string& path, std::string& contents) {
  if (readAnswers != 0) {
    if (readAnswers > 0) --readAnswers;
    return readAnswer;
  }
  if (path.empty()) return FileAnswer::PathNotFound;  // as the system answers no name
  const fs::path file = Real(path);
  std::error_code ec;
  if (fs::is_directory(file, ec)) return FileAnswer::Folder;
  if (!fs::is_regular_file(file, ec))
    return fs::is_directory(file.parent_path(), ec) ? FileAnswer::NotFound
                                                    : FileAnswer::PathNotFound;
  std::ifstream in(file, std::ios::binary);
  if (!in) return FileAnswer::AccessDenied;
  std::ostringstream out;
  out << in.rdbuf();
  contents = out.str();
  ++fileReads;
  return FileAnswer::Done;
}

std::string FakeFiles::LegacyToUtf8(std::string_view bytes) {
  std::string out;
  for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

std::optional<std::string> FakeFiles::Utf8ToLegacy(std::string_view text) {
  if (!IsValidUtf8(text)) return std::nullopt;
  const std::string units = Utf8ToUtf16Le(text);
  std::string out;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    if (units[i + 1] != 0) return std::nullopt;
    out += units[i];
  }
  return out;
}

std::optional<FileStamp> FakeFiles::GetFileStamp(const std::string& path) {
  struct stat st {};
  if (::stat(Real(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  const auto written = writtenMs_.find(Real(path));
  return FileStamp{static_cast<std::uint64_t>(st.st_size),
                   written == writtenMs_.end() ? 0 : written->second};
}

namespace {
// The next scripted answer, if any.
std::optional<FileStep> Scripted(std::deque<FileStep>& answers) {
  if (answers.empty()) return std::nullopt;
  const FileStep answer = answers.front();
  answers.pop_front();
  return answer;
}
}  // namespace

FileStep FakeFiles::CreateNewFile(const std::string& path, const std::string& contents) {
  const fs::path file = Real(path);
  const auto scripted = Scripted(createAnswers);
  if (scripted && *scripted != FileStep::Failed) return *scripted;
  if (!fs::is_directory(file.parent_path()) || !Writable(file.parent_path()))
    return FileStep::Failed;
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return errno == EEXIST ? FileStep::Exists : FileStep::Failed;
  Made(file);
  writtenMs_[file] = Now();
  const bool failing = scripted || diskFull;
  const std::size_t size = failing ? contents.size() / 2 : contents.size();
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, contents.data() + done, size - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool ok = ::fsync(fd) == 0 && ::close(fd) == 0 && done == contents.size();
  return ok ? FileStep::Done : FileStep::Failed;
}

FileStep FakeFiles::CopyFileIdentity(const std::string& from, const std::string& to) {
  if (const auto scripted = Scripted(identityAnswers)) return *scripted;
  identities.push_back(from + " -> " + to);
  return FileStep::Done;
}

FileStep FakeFiles::RenameOver(const std::string& from, const std::string& to) {
  if (const auto scripted = Scripted(renameAnswers)) return *scripted;
  const fs::path target = Real(to);
  if (!Writable(target) || fs::is_directory(target)) return FileStep::Failed;
  if (::rename(Real(from).c_str(), target.c_str()) != 0) return FileStep::Failed;
  ++writes;
  Made(target);
  writtenMs_[target] = writtenMs_[Real(from)];
  return FileStep::Done;
}

bool FakeFiles::DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(Real(path), ec);
}

std::uintptr_t FakeFiles::AcquireNamedLock(const std::string& name, int) {
  if (lockHeldElsewhere) return 0;
  for (const auto& [handle, held] : locks_)
    if (held == name) return 0;
  const std::uintptr_t handle = locks_.empty() ? 1 : locks_.rbegin()->first + 1;
  locks_[handle] = name;
  return handle;
}

std::vector<std::string> FakeFiles::FindFiles(const std::string& pattern) {
  const auto slash = pattern.find_last_of('\\');
  const std::string dir = slash == std::string::npos ? "" : pattern.substr(0, slash);
  const std::string mask = pattern.substr(slash == std::string::npos ? 0 : slash + 1);
  std::vector<std::pair<long, std::string>> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(Real(dir), ec)) {
    const std::string name = entry.path().filename().string();
    const auto made = madeOrder_.find(entry.path());
    if (Matches(name, mask)) found.emplace_back(made == madeOrder_.end() ? -1 : made->second, name);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  for (auto& [order, name] : found) names.push_back(std::move(name));
  return names;
}

}  // namespace vantrel

#include "platform/fake/fake_platform.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/dialog_behaviour.h"
#include "platform/errors.h"
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

// ---- Form driver ----------------------------------------------------------------

FakeFormDriver::FakeFormDriver(FakePlatform& platform, Form& form)
    : platform_(platform), form_(form), focused_(FirstFocus(form)) {}

void FakeFormDriver::EnsureOpen(const std::string& action) {
  if (form_.CloseRequested())
    throw std::logic_error(action + " on " + form_.className + " after it closed");
}

void FakeFormDriver::Report(const std::string& text) { ReportError(platform_, text); }

void FakeFormDriver::Act(const std::function<void()>& action) {
  const std::size_t opened =
      platform_.boxes.size() + platform_.errorBoxes.size() + platform_.shownForms.size();
  action();
  if (platform_.boxes.size() + platform_.errorBoxes.size() + platform_.shownForms.size() != opened)
    focused_ = FocusAfterBox(focused_);
}

void FakeFormDriver::Click(const std::string& name) {
  EnsureOpen("Click " + name);
  Control& c = form_[name];
  if (!c.visible) throw std::logic_error("Click on hidden control " + name);
  if (c.kind == ControlKind::CheckBox) c.checked = !c.checked;
  Act([&] { form_.Click(c, [this](const std::string& text) { Report(text); }); });
}

void FakeFormDriver::Type(const std::string& name, const std::string& text) {
  EnsureOpen("Type into " + name);
  Control& c = form_[name];
  if (c.kind != ControlKind::Edit && c.kind != ControlKind::Memo)
    throw std::logic_error("Type into " + name + ", which takes no text");
  if (!c.visible) throw std::logic_error("Type into hidden control " + name);
  c.text =
      c.maxLength > 0 ? std::string(Utf8Prefix(text, static_cast<std::size_t>(c.maxLength))) : text;
  focused_ = &c;
  caret_ = c.text.size();
}

void FakeFormDriver::Select(const std::string& name, int index) {
  EnsureOpen("Select in " + name);
  Control& c = form_[name];
  if (index < 0 || index >= static_cast<int>(c.items.size()))
    throw std::logic_error("Select outside the list " + name);
  c.selected = index;
  Act([&] { ClickLine(c, [this](const std::string& text) { Report(text); }); });
}

void FakeFormDriver::PressKeys(const std::string& name, KeyCombo combo) {
  EnsureOpen("Keys into " + name);
  Control& c = form_[name];
  if (c.kind != ControlKind::HotKey) throw std::logic_error("Keys into " + name + ", no hot-key box");
  c.hotKey = combo;
  focused_ = &c;
}

void FakeFormDriver::DoubleClick(const std::string& name, int index) {
  Select(name, index);
  focused_ = &form_[name];
  Act([&] { OpenLine(form_[name], [this](const std::string& text) { Report(text); }); });
}

void FakeFormDriver::PressAltEnter() {
  EnsureOpen("Alt+Enter");
  if (!OpensLine(focused_)) return;
  Act([&] { OpenLine(*focused_, [this](const std::string& text) { Report(text); }); });
}

void FakeFormDriver::Focus(const std::string& name) {
  EnsureOpen("Focus " + name);
  Control& c = form_[name];
  if (!c.visible || c.tabOrder < 0) throw std::logic_error("Focus on " + name + ", no tab stop");
  focused_ = &c;
  caret_ = 0;
}

void FakeFormDriver::PressEnter() {
  EnsureOpen("Enter");
  if (KeepsKey(focused_, DialogKey::Enter)) {
    focused_->text.insert(std::min(caret_, focused_->text.size()), "\r\n");
    caret_ += 2;
    return;
  }
  if (Control* target = KeyTarget(form_, DialogKey::Enter, focused_)) Click(target->name);
}

void FakeFormDriver::PressEscape() {
  EnsureOpen("Escape");
  if (Control* target = KeyTarget(form_, DialogKey::Escape, focused_)) Click(target->name);
}

void FakeFormDriver::CloseBox() {
  EnsureOpen("Close box");
  Act([&] { CloseByBox(form_, [this](const std::string& text) { Report(text); }); });
}

// ---- Platform -----------------------------------------------------------------

FakePlatform::FakePlatform() {
  std::string tmpl = (fs::temp_directory_path() / "vantrel-fake-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder");
  root = tmpl;
  MakeDirectory(appData);
  MakeDirectory(windowsDir);
  MakeDirectory(systemDir);
  RegCreateKey("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  RegCreateKey("Control Panel\\Desktop");
}

FakePlatform::~FakePlatform() {
  std::error_code ec;
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(root, ec);
}

fs::path FakePlatform::Real(const std::string& windowsPath) const {
  std::string p = windowsPath;
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.size() >= 2 && p[1] == ':') p = std::string(1, p[0]) + p.substr(2);
  return root / p;
}

void FakePlatform::Made(const fs::path& real) {
  madeOrder_.emplace(real, static_cast<long>(madeOrder_.size()));
}

void FakePlatform::WriteFile(const std::string& windowsPath, const std::string& contents) {
  std::ofstream(Real(windowsPath), std::ios::binary | std::ios::trunc) << contents;
  Made(Real(windowsPath));
  writtenMs_[Real(windowsPath)] = clockMs;
}

std::string FakePlatform::ReadFile(const std::string& windowsPath) const {
  std::ifstream in(Real(windowsPath), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void FakePlatform::MakeDirectory(const std::string& windowsPath) {
  fs::create_directories(Real(windowsPath));
  Made(Real(windowsPath));
}

void FakePlatform::SetReadOnly(const std::string& windowsPath, bool readOnly) {
  fs::permissions(Real(windowsPath), fs::perms::owner_write,
                  readOnly ? fs::perm_options::remove : fs::perm_options::add);
}

BoxResult FakePlatform::ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) {
  boxes.push_back({kind, text, buttons});
  if (onBox) onBox(boxes.back());
  if (buttons == BoxButtons::Ok) return BoxResult::Ok;
  BoxResult answer = BoxResult::No;
  if (!boxAnswers.empty()) {
    answer = boxAnswers.front();
    boxAnswers.pop_front();
  }
  return answer == BoxResult::Yes ? BoxResult::Yes : BoxResult::No;
}

void FakePlatform::ShowErrorBox(const std::string& text) { errorBoxes.push_back(text); }

PathKind FakePlatform::GetPathKind(const std::string& path) {
  std::error_code ec;
  const auto st = fs::status(Real(path), ec);
  if (st.type() == fs::file_type::not_found) return PathKind::Missing;
  if (ec) return PathKind::Unknown;  // for example a link that leads round in a loop
  return fs::is_directory(st) ? PathKind::Directory : PathKind::File;
}

bool FakePlatform::CreateDirectory(const std::string& path) {
  const fs::path p = Real(path);
  if (!Writable(p.parent_path())) return false;
  std::error_code ec;
  if (!fs::create_directory(p, ec) || ec) return false;  // the parent is not created
  Made(p);
  return true;
}

FileAnswer FakePlatform::ReadWholeFile(const std::string& path, std::string& contents) {
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

std::string FakePlatform::LegacyToUtf8(std::string_view bytes) {
  std::string out;
  for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
  return out;
}

std::optional<std::string> FakePlatform::Utf8ToLegacy(std::string_view text) {
  if (!IsValidUtf8(text)) return std::nullopt;
  const std::string units = Utf8ToUtf16Le(text);
  std::string out;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    if (units[i + 1] != 0) return std::nullopt;
    out += units[i];
  }
  return out;
}

std::optional<FileStamp> FakePlatform::GetFileStamp(const std::string& path) {
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

FileStep FakePlatform::CreateNewFile(const std::string& path, const std::string& contents) {
  const fs::path file = Real(path);
  const auto scripted = Scripted(createAnswers);
  if (scripted && *scripted != FileStep::Failed) return *scripted;
  if (!fs::is_directory(file.parent_path()) || !Writable(file.parent_path()))
    return FileStep::Failed;
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return errno == EEXIST ? FileStep::Exists : FileStep::Failed;
  Made(file);
  writtenMs_[file] = clockMs;
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

FileStep FakePlatform::CopyFileIdentity(const std::string& from, const std::string& to) {
  if (const auto scripted = Scripted(identityAnswers)) return *scripted;
  identities.push_back(from + " -> " + to);
  return FileStep::Done;
}

FileStep FakePlatform::RenameOver(const std::string& from, const std::string& to) {
  if (const auto scripted = Scripted(renameAnswers)) return *scripted;
  const fs::path target = Real(to);
  if (!Writable(target) || fs::is_directory(target)) return FileStep::Failed;
  if (::rename(Real(from).c_str(), target.c_str()) != 0) return FileStep::Failed;
  ++writes;
  Made(target);
  writtenMs_[target] = writtenMs_[Real(from)];
  return FileStep::Done;
}

bool FakePlatform::DeleteFile(const std::string& path) {
  std::error_code ec;
  return fs::remove(Real(path), ec);
}

std::uintptr_t FakePlatform::AcquireNamedLock(const std::string& name, int) {
  if (lockHeldElsewhere) return 0;
  for (const auto& [handle, held] : locks_)
    if (held == name) return 0;
  const std::uintptr_t handle = locks_.empty() ? 1 : locks_.rbegin()->first + 1;
  locks_[handle] = name;
  return handle;
}

void FakePlatform::ReleaseNamedLock(std::uintptr_t lock) { locks_.erase(lock); }

std::vector<std::string> FakePlatform::FindFiles(const std::string& pattern) {
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

std::string FakePlatform::ShortPath(const std::string& path) {
  if (auto it = shortPaths.find(path); it != shortPaths.end()) return it->second;
  return GetPathKind(path) == PathKind::Missing ? "" : path;
}

ShellStart FakePlatform::StartThroughShell(const std::string& verb, const std::string& file,
                                           const std::string& parameters,
                                           const std::string& directory, int showMode) {
  shellCalls.push_back({verb, file, parameters, directory, showMode});
  if (onShell) onShell(shellCalls.back());
  if (verb == "runas" && refuseElevation) return ShellStart::Refused;
  auto it = shellResults.find(file);
  return it == shellResults.end() || it->second > 32 ? ShellStart::Started : ShellStart::Failed;
}

bool FakePlatform::BringProcessToFront(std::uint32_t id) {
  if (processWindows.count(id) == 0) return false;
  broughtToFront.push_back(id);
  return true;
}

void FakePlatform::CreateMainWindow(const std::string& className, const std::string& caption) {
  mainClass = className;
  mainCaption = caption;
}

void FakePlatform::AddTrayIcon(const std::string& tip) {
  iconShown = iconWanted_ = true;
  iconTip = tip;
  ++iconAdds;
}

void FakePlatform::DeleteTrayIcon() { iconShown = iconWanted_ = false; }

void FakePlatform::CloseMainWindow() { mainClosed = true; }

void FakePlatform::TrayCallback(long mouseMessage) {
  if (events_ && !mainClosed) events_->OnTrayCallback(mouseMessage);
}

bool FakePlatform::AttachParentConsole() {
  if (!parentConsole) return false;
  standardOutput = OutputKind::Console;
  return true;
}

bool FakePlatform::WriteOutput(const std::string& text) {
  if (standardOutput == OutputKind::None) return false;
  output += text;
  return true;
}

bool FakePlatform::RegisterHotKey(int id, const KeyCombo& combo) {
  // As the system refuses a combination that anyone holds, this copy included.
  for (const KeyCombo& held : keysHeldElsewhere)
    if (held == combo) return false;
  for (const auto& [heldId, held] : hotKeys)
    if (held == combo && heldId != id) return false;
  if (!IsShortcutKey(combo) || hotKeys.count(id) != 0) return false;
  hotKeys[id] = combo;
  return true;
}

void FakePlatform::HotKey(int id) {
  if (events_ && !mainClosed && hotKeys.count(id) != 0) events_->OnHotKey(id);
}

void FakePlatform::TaskbarCreated() {
  iconShown = false;  // the shell forgot every icon
  if (iconWanted_) AddTrayIcon(iconTip);
}

int FakePlatform::PopupMenu(const std::vector<std::string>& captions, Point at) {
  menus.push_back(captions);
  menuPoints.push_back(at);
  if (menuChoices.empty()) return -1;
  auto choose = std::move(menuChoices.front());
  menuChoices.pop_front();
  return choose(captions);
}

void FakePlatform::EnableTimer(bool enabled) {
  if (enabled && !timerEnabled) ++timerStarts;
  timerEnabled = enabled;
}

void FakePlatform::Tick() {
  if (timerEnabled && events_ && !mainClosed) events_->OnTimer();
}

void FakePlatform::Script(const std::string& className, FormScript script) {
  scripts_[className].push_back(std::move(script));
}

int FakePlatform::ShowModal(Form& form, Form* owner) {
  if (form.Showing()) throw VantrelError("Cannot make a visible window modal");
  shownForms.push_back({form.className, form.caption, owner ? owner->className : mainClass});
  form.BeginShowing();
  FakeFormDriver driver(*this, form);
  auto& queue = scripts_[form.className];
  if (!queue.empty()) {
    FormScript script = std::move(queue.front());
    queue.pop_front();
    try {
      script(driver);
    } catch (...) {
      form.EndShowing();
      throw;
    }
  }
  if (!form.CloseRequested()) driver.CloseBox();
  const int result = form.ModalResult();
  form.EndShowing();
  return result;
}

std::optional<std::string> FakePlatform::ChooseFile(const std::string& initialName) {
  fileChooserStarts.push_back(initialName);
  if (fileChoices.empty()) return std::nullopt;
  auto choice = fileChoices.front();
  fileChoices.pop_front();
  return choice;
}

bool FakePlatform::GetScreenSaveActive(bool& active) {
  if (spiGetFails) return false;
  active = screenSaveActive;
  return true;
}

bool FakePlatform::SetScreenSaveActive(bool on) {
  spiSets.push_back(on);
  if (spiSetFails) return false;
  screenSaveActive = on;
  return true;
}

void FakePlatform::RegCreateKey(const std::string& subKey) { registry_[AsciiLower(subKey)]; }
void FakePlatform::RegRemoveKey(const std::string& subKey) { registry_.erase(AsciiLower(subKey)); }

void FakePlatform::RegPut(const std::string& subKey, const std::string& name, RegValue value) {
  registry_[AsciiLower(subKey)][AsciiLower(name)] = {name, std::move(value)};
}

void FakePlatform::RegPutString(const std::string& subKey, const std::string& name,
                                const std::string& text) {
  RegPut(subKey, name, {RegType::String, text + std::string(1, '\0')});
}

void FakePlatform::RegPutDword(const std::string& subKey, const std::string& name,
                               std::uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  RegPut(subKey, name, {RegType::Dword, bytes});
}

std::optional<RegValue> FakePlatform::RegGet(const std::string& subKey,
                                             const std::string& name) const {
  auto key = registry_.find(AsciiLower(subKey));
  if (key == registry_.end()) return std::nullopt;
  auto value = key->second.find(AsciiLower(name));
  if (value == key->second.end()) return std::nullopt;
  return value->second.value;
}

RegHandle FakePlatform::RegOpenKey(const std::string& subKey) {
  const std::string k = AsciiLower(subKey);
  if (!registry_.count(k)) return 0;
  for (const auto& denied : deniedKeys)
    if (AsciiLower(denied) == k) return 0;
  handles_[nextHandle_] = k;
  ++openKeys;
  return nextHandle_++;
}

std::optional<RegValue> FakePlatform::RegQueryValue(RegHandle key, const std::string& name) {
  auto h = handles_.find(key);
  if (h == handles_.end()) throw std::logic_error("query on a closed registry key");
  auto& values = registry_[h->second];
  auto v = values.find(AsciiLower(name));
  if (v == values.end()) return std::nullopt;
  return v->second.value;
}

bool FakePlatform::RegSetValue(RegHandle key, const std::string& name, const RegValue& value) {
  auto h = handles_.find(key);
  if (h == handles_.end()) throw std::logic_error("write on a closed registry key");
  if (regWritesFail) return false;
  registry_[h->second][AsciiLower(name)] = {name, value};
  return true;
}

bool FakePlatform::RegDeleteValue(RegHandle key, const std::string& name) {
  auto h = handles_.find(key);
  if (h == handles_.end()) throw std::logic_error("delete on a closed registry key");
  if (regDeletesFail) return false;
  return registry_[h->second].erase(AsciiLower(name)) > 0;
}

void FakePlatform::RegCloseKey(RegHandle key) {
  if (handles_.erase(key) == 0) throw std::logic_error("registry key closed twice");
  --openKeys;
}

}  // namespace vantrel

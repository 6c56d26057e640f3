// The screensaver's settings, choices and start by the rules of Windows.
#include "platform/windows_rules/desktop_key_screen_saver.h"

#include "platform/windows_rules/registry_key.h"

namespace vantrel {
namespace {

constexpr const char* kNtPasswordValue = "ScreensaverIsSecure";
constexpr const char* k9xPasswordValue = "Screensaveusepassword";

constexpr int kPlatformWin32s = 0;
constexpr int kPlatformWindows = 1;
constexpr int kPlatformNt = 2;

constexpr int kSwShow = 5;  // at its current size and place

}  // namespace

std::array<std::string, 2> ScreenSaverFolders(SystemParameters& system) {
  std::array<std::string, 2> folders = {system.WindowsDirectory(), system.SystemDirectory()};
  if (folders[0].empty()) folders[0] = "c:\\windows";
  if (folders[1].empty()) folders[1] = "c:\\windows\\system";
  return folders;
}

std::optional<bool> DesktopKeyScreenSaver::Active() {
  bool active = false;
  if (!system_.GetScreenSaveActive(active)) return std::nullopt;
  return active;
}

bool DesktopKeyScreenSaver::SetActive(bool on) { return system_.SetScreenSaveActive(on); }

std::optional<bool> DesktopKeyScreenSaver::Password() {
  const int id = system_.PlatformId();
  if (id == kPlatformNt) {
    isWinNT_ = true;
  } else if (id == kPlatformWin32s || id == kPlatformWindows) {
    isWinNT_ = false;
  }
  // Any other answer (a failed query included) keeps the family found before.
  RegistryKey key(registry_, kDesktopKey);
  if (!key.IsOpen()) return std::nullopt;
  // The key is closed on the way out, a read error's too.
  return isWinNT_ ? key.ReadString(kNtPasswordValue) == "1"
                  : key.ReadInteger(k9xPasswordValue) != 0;
}

bool DesktopKeyScreenSaver::PasswordReachable() {
  return RegistryKey(registry_, kDesktopKey).IsOpen();
}

bool DesktopKeyScreenSaver::SetPassword(bool on) {
  RegistryKey key(registry_, kDesktopKey);
  if (!key.IsOpen()) return false;
  if (isWinNT_)
    key.WriteString(kNtPasswordValue, on ? "1" : "0");
  else
    key.WriteInteger(k9xPasswordValue, on ? 1 : 0);
  return true;
}

std::vector<std::string> DesktopKeyScreenSaver::Choices() {
  std::vector<std::string> paths;
  // In the order the system gives them, never sorted.
  for (const std::string& folder : ScreenSaverFolders(system_))
    for (const std::string& name : files_.FindFiles(folder + "\\*.scr"))
      paths.push_back(folder + "\\" + name);
  return paths;
}

bool DesktopKeyScreenSaver::Start(const std::string& path) {
  return shell_.StartThroughShell("open", path, "/S", "", kSwShow) == ShellStart::Started;
}

}  // namespace vantrel

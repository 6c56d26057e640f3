// The fake tray host: the icon, the menus and the timer as fields the test reads and drives.
#include "platform/fake/fake_tray_host.h"

namespace vantrel {

void FakeTrayHost::CreateMainWindow(const std::string& className, const std::string& caption) {
  mainClass = className;
  mainCaption = caption;
}

void FakeTrayHost::AddTrayIcon(const std::string& tip) {
  iconShown = iconWanted_ = true;
  iconTip = tip;
  ++iconAdds;
}

void FakeTrayHost::TrayCallback(long mouseMessage) {
  if (TrayEvents* events = OpenEvents()) events->OnTrayCallback(mouseMessage);
}

void FakeTrayHost::TaskbarCreated() {
  iconShown = false;  // the shell forgot every icon
  if (iconWanted_) AddTrayIcon(iconTip);
}

int FakeTrayHost::PopupMenu(const std::vector<std::string>& captions, Point at,
                            const std::vector<std::vector<std::string>>& subs) {
  menus.push_back(captions);
  submenus.push_back(subs);
  menuPoints.push_back(at);
  if (menuChoices.empty()) return -1;
  auto choose = std::move(menuChoices.front());
  menuChoices.pop_front();
  return choose(captions);
}

void FakeTrayHost::EnableTimer(bool enabled) {
  if (enabled && !timerEnabled) ++timerStarts;
  timerEnabled = enabled;
}

void FakeTrayHost::Tick() {
  if (TrayEvents* events = OpenEvents(); events != nullptr && timerEnabled) events->OnTimer();
}

void FakeTrayHost::SetWakeTimer(std::optional<int> delayMs) {
  wakeDelay = delayMs;
  if (delayMs) ++wakeSets;
}

void FakeTrayHost::Wake() {
  if (TrayEvents* events = OpenEvents(); events != nullptr && wakeDelay) events->OnWakeTimer();
}

}  // namespace vantrel

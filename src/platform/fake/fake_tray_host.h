// A tray host for tests: the main window and icon as fields, the shell's calls
// (a press on the icon, its tray re-created, a timer tick) made by the test,
// and each pop-up menu recorded and answered by script.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/tray_host.h"

namespace vantrel {

class FakeTrayHost : public TrayHost {
 public:
  std::string mainClass, mainCaption;
  bool iconShown = false;
  int iconAdds = 0;
  std::string iconTip;
  bool mainClosed = false;
  Point cursor{100, 200};
  int foregroundCalls = 0;
  void TrayCallback(long mouseMessage);  // as the shell sends it
  void TaskbarCreated();                 // the shell's notification area was re-created

  // Menus: each pop-up is recorded; the chooser picks an index (-1 dismisses).
  std::vector<std::vector<std::string>> menus;
  std::vector<Point> menuPoints;
  std::vector<std::vector<std::vector<std::string>>> submenus;  // each menu's
  std::deque<std::function<int(const std::vector<std::string>&)>> menuChoices;

  bool timerEnabled = false;
  int timerStarts = 0;
  void Tick();  // one 500 ms interval
  std::optional<int> wakeDelay;  // the wake timer's, while set
  int wakeSets = 0;
  void Wake();  // the wake timer comes due, when set

  // The program's events while its main window is open; null otherwise.
  TrayEvents* OpenEvents() const { return mainClosed ? nullptr : events_; }

  void CreateMainWindow(const std::string& className, const std::string& caption) override;
  void SetEvents(TrayEvents* events) override { events_ = events; }
  void AddTrayIcon(const std::string& tip) override;
  void DeleteTrayIcon() override { iconShown = iconWanted_ = false; }
  void CloseMainWindow() override { mainClosed = true; }
  Point CursorPos() override { return cursor; }
  void SetForegroundMainWindow() override { ++foregroundCalls; }
  int PopupMenu(const std::vector<std::string>& captions, Point at,
                const std::vector<std::vector<std::string>>& submenus) override;
  void EnableTimer(bool enabled) override;
  bool TimerEnabled() override { return timerEnabled; }
  void SetWakeTimer(std::optional<int> delayMs) override;

 private:
  TrayEvents* events_ = nullptr;
  bool iconWanted_ = false;
};

}  // namespace vantrel

// The tray host on Windows: the hidden main window and its procedure, the
// notification-area icon (added again when the shell's tray comes back), the
// pop-up menus in the app mode's colours, Timer1 and the wake timer; shortcut keys' presses
// arrive here too.
#pragma once

#include "platform/win32/win32_api.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/tray_host.h"
#include "platform/win32/handles.h"
#include "platform/win32/session.h"
#include "platform/win32/tray_notify.h"

namespace vantrel::win32 {

class Win32TrayHost final : public TrayHost {
 public:
  // Errors of the program's handlers are reported through `dialogs`.
  Win32TrayHost(Session& session, Dialogs& dialogs);
  ~Win32TrayHost();
  Win32TrayHost(const Win32TrayHost&) = delete;
  Win32TrayHost& operator=(const Win32TrayHost&) = delete;

  void CreateMainWindow(const std::string& className, const std::string& caption) override;
  void SetEvents(TrayEvents* events) override { events_ = events; }
  void AddTrayIcon(const std::string& tip) override;
  void DeleteTrayIcon() override;
  void CloseMainWindow() override;
  Point CursorPos() override;
  void SetForegroundMainWindow() override;
  int PopupMenu(const std::vector<std::string>& captions, Point at,
                const std::vector<std::vector<std::string>>& submenus) override;
  void EnableTimer(bool enabled) override;
  bool TimerEnabled() override { return timerEnabled_; }
  void SetWakeTimer(std::optional<int> delayMs) override;

 private:
  static LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMainMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void AddIconToShell();
  void AllowTaskbarCreated();

  Session& session_;
  Dialogs& dialogs_;
  TrayEvents* events_ = nullptr;
  NOTIFYICONDATAA icon_{};
  OwnedIcon trayIcon_;  // the program's first icon, as the tray shows it
  bool iconShown_ = false;
  TrayNotifications trayNotifications_;
  std::optional<Point> keyboardAnchor_;  // while the keyboard's notification runs
  bool menuOpen_ = false;
  UINT taskbarCreated_ = 0;
  bool timerEnabled_ = false;
};

}  // namespace vantrel::win32

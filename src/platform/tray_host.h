// What hosts the program in the notification area: the hidden main window, its
// icon, the pop-up menus and the timer, and the events they bring.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/form.h"

namespace vantrel {

// Calls the tray host makes into the program.
class TrayEvents {
 public:
  virtual void OnTrayCallback(long mouseMessage) = 0;
  virtual void OnTimer() = 0;
  // The wake timer came due.
  virtual void OnWakeTimer() {}
  // The shortcut key registered under `id` was pressed.
  virtual void OnHotKey(int /*id*/) {}

 protected:
  ~TrayEvents() = default;
};

class TrayHost {
 public:
  virtual void CreateMainWindow(const std::string& className, const std::string& caption) = 0;
  virtual void SetEvents(TrayEvents* events) = 0;
  // Adds the notification-area icon (the program's first icon) with the tip.
  virtual void AddTrayIcon(const std::string& tip) = 0;
  virtual void DeleteTrayIcon() = 0;
  // Closing the main window ends the message loop and the program.
  virtual void CloseMainWindow() = 0;
  // Where the user pointed: the cursor, or the icon itself when the keyboard
  // activated it.
  virtual Point CursorPos() = 0;
  virtual void SetForegroundMainWindow() = 0;
  // Pops up a menu of text items at a screen point and waits; returns the index
  // of the chosen item, or -1 when the menu was dismissed. Captions carry "&"
  // accelerator marks; an empty caption is an enabled, empty text item. Item i
  // opens submenus[i] when there is one that is not empty; the items of the
  // submenus are numbered on after the top items, submenu by submenu.
  virtual int PopupMenu(const std::vector<std::string>& captions, Point at,
                        const std::vector<std::vector<std::string>>& submenus) = 0;
  // Timer1: 500 ms; enabling a running timer does not restart its interval.
  virtual void EnableTimer(bool enabled) = 0;
  virtual bool TimerEnabled() = 0;
  // The wake timer, apart from Timer1: OnWakeTimer `delayMs` from now, and on
  // every `delayMs` after until it is set anew; nothing stops it.
  virtual void SetWakeTimer(std::optional<int> delayMs) = 0;

 protected:
  ~TrayHost() = default;
};

}  // namespace vantrel

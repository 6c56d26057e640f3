// TForm1, the hidden main window: start-up, the tray icon, both pop-up menus
// and the routing of their commands, the timers, and the Disable command.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/desktop_windows.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/screensaver_control.h"
#include "platform/shell.h"
#include "platform/shortcut_keys.h"
#include "platform/tray_host.h"
#include "screensaver/screensaver_dialog.h"
#include "screensaver/screensaver_switches.h"
#include "store/titles.h"
#include "tray/hotkeys.h"
#include "tray/launcher.h"
#include "tray/workspaces.h"

namespace vantrel {

class TFrmedit;

inline constexpr long kTrayCallbackMessage = 1034;  // WM_USER + 10
inline constexpr long kLeftButtonDown = 513;
inline constexpr long kRightButtonDown = 516;
inline constexpr const char* kTrayTip = "Vantrel! - Left or right click for options";

inline constexpr const char* kAskRemoveStartup =
    "Click YES if you do not want the icon to automatically appear in your system tray when you "
    "reboot.";
inline constexpr const char* kAskRemoveIcon =
    "You are about to remove the Vantrel icon from your system tray. Click Yes to remove, or click "
    "No to return.";
inline constexpr const char* kRemovedFromStartup = "Successfully removed from startup.";
inline constexpr const char* kNotRemovedFromStartup =
    "This was not removed from startup. It appears that this does not have access. Reboot your "
    "computer, then try again.";
inline constexpr const char* kDownloadFailedText =
    "You cannot view the download site because your browser would not open. You can still view the "
    "download site by opening your web browser and pointing to ";

// The items' positions in the two tray menus (the system's item id is the
// position plus one), named so that automation and the end-to-end tests choose
// them by name.
namespace popupmenu1 {
// Title 20 on top, title 1 directly above "Edit Your List".
constexpr int Popupname(int title) { return kTitleCount - title; }
inline constexpr int EditAdd = kTitleCount;
inline constexpr int SetSS = kTitleCount + 1;
inline constexpr int SetPwd = kTitleCount + 2;
inline constexpr int ActivateScreensaver1 = kTitleCount + 3;
inline constexpr int kCount = kTitleCount + 4;
}  // namespace popupmenu1
namespace popupmenu2 {
inline constexpr int EditProgramList1 = 0;
inline constexpr int Help1 = 1;
inline constexpr int Download1 = 2;
inline constexpr int Blank = 3;  // an empty, enabled item
inline constexpr int EditProgramList2 = 4;
inline constexpr int SelectScreensaver1 = 5;
// Its submenu: title 20 on top, as in the left menu.
inline constexpr int CloseTitle = 6;
inline constexpr int kCount = 7;
}  // namespace popupmenu2

struct MenuItem {
  std::string name;
  std::string caption;  // with its "&" accelerator mark once the menu has opened
  std::function<void()> onClick;
  std::vector<MenuItem> submenu;
};

class TForm1 final : public TrayEvents {
 public:
  TForm1(Files& files, Clock& clock, Dialogs& dialogs, Shell& shell, TrayHost& tray,
         ShortcutKeys& shortcutKeys, Autostart& autostart, ScreenSaverControl& screenSaver,
         DesktopWindows& desktop);

  void FormCreate();
  // The windows made after this one at start-up.
  void SetWindows(TFrmedit* editor, TFrmscrsel* screensaverChoice);

  void OnTrayCallback(long mouseMessage) override;
  void OnTimer() override;
  void OnWakeTimer() override;
  // A title's shortcut key: opens the title as its menu item does.
  void OnHotKey(int id) override;
  // Takes the titles' shortcut keys as the settings file gives them now.
  void RegisterHotKeys();

  void RefreshTitleCaptions();
  // Commands.
  void EditProgramList1Click();  // "Disable Vantrel"
  void Download1Click();         // "More Software Downloads"
  void EditListClick();          // "Edit Your List", either menu
  void Help1Click();

  SwitchState Switches;
  ActivationState Activation;
  std::vector<MenuItem> Popupmenu1;  // left menu: titles 20..1, then the four commands
  std::vector<MenuItem> PopupMenu2;  // right menu, "Close a Title" with its titles last
  TitleHotKeys HotKeys;

  MenuItem& LeftItem(const std::string& name);

 private:
  void Popup(std::vector<MenuItem>& menu, Point at);
  // The 20 titles' own names, title 1 first.
  std::vector<std::string> TitleNames();
  void NameTitlesToClose();

  Files& files_;
  Clock& clock_;
  Dialogs& dialogs_;
  Shell& shell_;
  TrayHost& tray_;
  Autostart& autostart_;
  ScreenSaverControl& screenSaver_;
  Launcher launcher_;
  TitleWorkspaces workspaces_;
  TFrmedit* editor_ = nullptr;
  TFrmscrsel* screensaverChoice_ = nullptr;
};

}  // namespace vantrel

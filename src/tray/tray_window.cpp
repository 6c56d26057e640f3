#include "tray/tray_window.h"

#include <stdexcept>

#include "editor/edit_window.h"
#include "help/help_window.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "store/settings.h"
#include "store/titles.h"
#include "tray/accelerators.h"
#include "tray/launcher.h"
#include "tray/maker_site.h"

namespace vantrel {

TForm1::TForm1(Files& files, Clock& clock, Dialogs& dialogs, Shell& shell, TrayHost& tray,
               ShortcutKeys& shortcutKeys, Autostart& autostart, ScreenSaverControl& screenSaver,
               DesktopWindows& desktop)
    : HotKeys(files, clock, dialogs, shortcutKeys),
      files_(files),
      clock_(clock),
      dialogs_(dialogs),
      shell_(shell),
      tray_(tray),
      autostart_(autostart),
      screenSaver_(screenSaver),
      launcher_(files, clock, dialogs, shell),
      workspaces_(launcher_, desktop, clock, shell, dialogs, tray) {
  namespace left = popupmenu1;
  Popupmenu1.resize(left::kCount);
  for (int t = kTitleCount; t >= 1; --t) {
    const std::string number = std::to_string(t);
    Popupmenu1[left::Popupname(t)] = {"Popupname" + number, "", [this, t] { workspaces_.Open(t); }};
  }
  Popupmenu1[left::EditAdd] = {"EditAdd", "Edit Your List", [this] { EditListClick(); }};
  Popupmenu1[left::SetSS] = {"SetSS", "", [this] { SetSSClick(dialogs_, screenSaver_, Switches); }};
  Popupmenu1[left::SetPwd] = {"SetPwd", "",
                              [this] { SetPwdClick(dialogs_, screenSaver_, Switches); }};
  Popupmenu1[left::ActivateScreensaver1] = {"ActivateScreensaver1", "Activate Screensaver", [this] {
                                              ActivateScreensaver1Click(tray_, Activation);
                                            }};

  namespace right = popupmenu2;
  PopupMenu2.resize(right::kCount);
  PopupMenu2[right::EditProgramList1] = {"EditProgramList1", "Disable Vantrel",
                                         [this] { EditProgramList1Click(); }};
  PopupMenu2[right::Help1] = {"Help1", "Help Faq ", [this] { Help1Click(); }};
  PopupMenu2[right::Download1] = {"Download1", "More Software Downloads",
                                  [this] { Download1Click(); }};
  PopupMenu2[right::EditProgramList2] = {"EditProgramList2", "Edit Your List",
                                         [this] { EditListClick(); }};
  PopupMenu2[right::SelectScreensaver1] = {
      "SelectScreensaver1", "Select a Screensaver", [this] {
        if (screensaverChoice_)
          SelectScreensaver1Click(files_, clock_, dialogs_, screenSaver_, *screensaverChoice_);
      }};
  MenuItem& close = PopupMenu2[right::CloseTitle] = {"CloseTitle", "Close a Title", nullptr, {}};
  for (int t = kTitleCount; t >= 1; --t)
    close.submenu.push_back(
        {"CloseTitle" + std::to_string(t), "", [this, t] { workspaces_.Close(t); }, {}});
}

MenuItem& TForm1::LeftItem(const std::string& name) {
  for (MenuItem& item : Popupmenu1)
    if (item.name == name) return item;
  throw std::logic_error("no menu item " + name);
}

void TForm1::SetWindows(TFrmedit* editor, TFrmscrsel* screensaverChoice) {
  editor_ = editor;
  screensaverChoice_ = screensaverChoice;
}

void TForm1::FormCreate() {
  SetUpDataFolder(files_, dialogs_);
  autostart_.Ensure();
  tray_.AddTrayIcon(kTrayTip);
}

void TForm1::OnTrayCallback(long mouseMessage) {
  const Point at = tray_.CursorPos();
  tray_.SetForegroundMainWindow();
  RunGuarded(dialogs_, [&] {
    if (mouseMessage == kRightButtonDown) {
      NameTitlesToClose();
      Popup(PopupMenu2, at);
    } else if (mouseMessage == kLeftButtonDown) {
      RefreshScreensaverSwitches(dialogs_, screenSaver_, Switches, LeftItem("SetSS").caption,
                                 LeftItem("SetPwd").caption);
      RefreshTitleCaptions();
      Popup(Popupmenu1, at);
    }
  });
}

void TForm1::OnTimer() {
  RunGuarded(dialogs_,
             [&] { Timer1Timer(tray_, files_, clock_, dialogs_, screenSaver_, Activation); });
}

void TForm1::OnWakeTimer() {
  RunGuarded(dialogs_, [&] { workspaces_.OnWake(); });
}

void TForm1::OnHotKey(int id) {
  if (id < 1 || id > kTitleCount) return;
  RunGuarded(dialogs_, [&] { workspaces_.Open(id); });
}

void TForm1::RegisterHotKeys() {
  RunGuarded(dialogs_, [&] { HotKeys.Register(); });
}

std::vector<std::string> TForm1::TitleNames() {
  std::vector<std::string> names;
  SettingsFile file(files_, clock_, SettingsPath());
  for (int t = 1; t <= kTitleCount; ++t)
    names.push_back(OwnTitleName(file.ReadValue(kFilesSection, TitleKey(t), kNoTitle)));
  return names;
}

// Named afresh as the left menu names them, title 20 on top. The right menu's
// other commands work while the file cannot be read (its editor is how a user
// mends it): the titles keep the names of the last read, and closing one reports
// the file itself.
void TForm1::NameTitlesToClose() {
  std::vector<MenuItem>& titles = PopupMenu2[popupmenu2::CloseTitle].submenu;
  try {
    const std::vector<std::string> names = TitleNames();
    for (std::size_t i = 0; i < titles.size(); ++i)
      titles[i].caption = names[titles.size() - 1 - i];
  } catch (const SettingsBusyError&) {
  }
}

void TForm1::RefreshTitleCaptions() {
  const std::vector<std::string> names = TitleNames();
  for (int t = kTitleCount; t >= 1; --t)
    LeftItem("Popupname" + std::to_string(t)).caption = names[static_cast<std::size_t>(t - 1)];
}

namespace {

// The captions as the menu shows them, each item's kept with its "&" mark.
std::vector<std::string> MarkedCaptions(std::vector<MenuItem>& menu) {
  std::vector<std::string> captions;
  for (const MenuItem& item : menu) captions.push_back(item.caption);
  AssignAccelerators(captions);
  for (std::size_t i = 0; i < menu.size(); ++i) menu[i].caption = captions[i];
  return captions;
}

}  // namespace

void TForm1::Popup(std::vector<MenuItem>& menu, Point at) {
  const std::vector<std::string> captions = MarkedCaptions(menu);
  // The host numbers the submenus' items on after the top ones.
  std::vector<MenuItem*> items;
  for (MenuItem& item : menu) items.push_back(&item);
  std::vector<std::vector<std::string>> submenus;
  for (MenuItem& item : menu) {
    submenus.push_back(MarkedCaptions(item.submenu));
    for (MenuItem& sub : item.submenu) items.push_back(&sub);
  }
  const int chosen = tray_.PopupMenu(captions, at, submenus);
  if (chosen < 0 || chosen >= static_cast<int>(items.size())) return;
  if (auto command = items[static_cast<std::size_t>(chosen)]->onClick) command();
}

void TForm1::EditProgramList1Click() {
  if (AskYes(dialogs_, kAskRemoveStartup)) {
    switch (autostart_.Remove()) {
      case AutostartRemoval::Removed:
        ShowInformation(dialogs_, kRemovedFromStartup);
        break;
      case AutostartRemoval::Failed:
        ShowInformation(dialogs_, kNotRemovedFromStartup);
        break;
      case AutostartRemoval::Unreachable:
        break;  // nothing could be asked, so nothing is said
    }
  }
  if (!AskYes(dialogs_, kAskRemoveIcon)) return;
  tray_.DeleteTrayIcon();
  tray_.CloseMainWindow();
}

void TForm1::Download1Click() {
  if (shell_.Open(TargetKind::WebAddress, kMakerSite, "", "", false, WindowShow::Maximised) !=
      ShellStart::Started)
    ShowPlain(dialogs_, std::string(kDownloadFailedText) + kMakerSite);
}

void TForm1::EditListClick() {
  if (!editor_) return;
  editor_->Load();  // a start-up that could not read the file loads it now
  dialogs_.ShowModal(*editor_, nullptr);
}

void TForm1::Help1Click() { ShowHelpWindow(dialogs_, nullptr); }

}  // namespace vantrel

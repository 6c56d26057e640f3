#include "tray/tray_window.h"

#include <stdexcept>

#include "editor/edit_window.h"
#include "help/help_window.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "platform/registry.h"
#include "store/settings.h"
#include "store/titles.h"
#include "tray/accelerators.h"
#include "tray/launcher.h"
#include "tray/maker_site.h"

namespace vantrel {

std::string RunValueData(const std::string& programPath) {
  if (programPath.find(' ') == std::string::npos) return programPath;
  return "\"" + programPath + "\"";
}

namespace {

// A full path on a drive. A network path (\\server\share) is never looked up:
// its answer can take the network's time at every start, and may be no answer.
bool OnADrive(const std::string& path) {
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// Every file the system may start for a Run value: the text in its quotes, or
// else each part up to a blank and the whole (a start without quotes tries
// them in turn), each also with ".exe" when it has no extension. None when the
// value names its file through the environment, the search path or the network.
std::vector<std::string> FilesOfRunValue(const std::string& data) {
  std::vector<std::string> names;
  if (!data.empty() && data[0] == '"') {
    names.push_back(data.substr(1, data.find('"', 1) - 1));
  } else {
    for (std::size_t blank = data.find(' '); blank != std::string::npos;
         blank = data.find(' ', blank + 1))
      names.push_back(data.substr(0, blank));
    names.push_back(data);
  }
  std::vector<std::string> files;
  for (const std::string& name : names) {
    if (!OnADrive(name) || name.find('%') != std::string::npos) return {};
    files.push_back(name);
    if (name.find('.', name.find_last_of("\\/")) == std::string::npos)
      files.push_back(name + ".exe");
  }
  return files;
}

// Only the system's "not found" for every file the value may start counts: a
// file it cannot reach now (refused, a network drive away) keeps its value.
bool NamesAMissingFile(Platform& platform, const std::string& data) {
  const std::vector<std::string> files = FilesOfRunValue(data);
  for (const std::string& file : files)
    if (platform.GetPathKind(file) != PathKind::Missing) return false;
  return !files.empty();
}

}  // namespace

void RegisterRunValue(Platform& platform, const std::string& programPath) {
  RegistryKey key(platform, kRunKey);
  if (!key.IsOpen()) return;
  try {
    if (key.ValueExists(kRunValue) && !NamesAMissingFile(platform, key.ReadString(kRunValue)))
      return;
    key.WriteString(kRunValue, RunValueData(programPath));
  } catch (const VantrelError&) {
    // Start-up does not report a Run value it could not read or write.
  }
}

TForm1::TForm1(Platform& platform) : platform_(platform) {
  namespace left = popupmenu1;
  Popupmenu1.resize(left::kCount);
  for (int t = kTitleCount; t >= 1; --t) {
    const std::string number = std::to_string(t);
    Popupmenu1[left::Popupname(t)] = {"Popupname" + number, "",
                                      [this, number] { LaunchTitle(platform_, number); }};
  }
  Popupmenu1[left::EditAdd] = {"EditAdd", "Edit Your List", [this] { EditListClick(); }};
  Popupmenu1[left::SetSS] = {"SetSS", "", [this] { SetSSClick(platform_, Switches); }};
  Popupmenu1[left::SetPwd] = {"SetPwd", "", [this] { SetPwdClick(platform_, Switches); }};
  Popupmenu1[left::ActivateScreensaver1] = {"ActivateScreensaver1", "Activate Screensaver", [this] {
                                              ActivateScreensaver1Click(platform_, Activation);
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
          SelectScreensaver1Click(platform_, *screensaverChoice_, WindowsDir, SystemDir);
      }};
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
  SetUpDataFolder(platform_);
  WindowsDir = platform_.WindowsDirectory();
  if (WindowsDir.empty()) WindowsDir = "c:\\windows";
  SystemDir = platform_.SystemDirectory();
  if (SystemDir.empty()) SystemDir = "c:\\windows\\system";
  RegisterRunValue(platform_, platform_.ProgramPath());
  platform_.AddTrayIcon(kTrayTip);
}

void TForm1::OnTrayCallback(long mouseMessage) {
  const Point at = platform_.CursorPos();
  platform_.SetForegroundMainWindow();
  RunGuarded(platform_, [&] {
    if (mouseMessage == kRightButtonDown) {
      Popup(PopupMenu2, at);
    } else if (mouseMessage == kLeftButtonDown) {
      RefreshScreensaverSwitches(platform_, Switches, LeftItem("SetSS").caption,
                                 LeftItem("SetPwd").caption);
      RefreshTitleCaptions();
      Popup(Popupmenu1, at);
    }
  });
}

void TForm1::OnTimer() {
  RunGuarded(platform_, [&] { Timer1Timer(platform_, Activation); });
}

void TForm1::OnHotKey(int id) {
  if (id < 1 || id > kTitleCount) return;
  RunGuarded(platform_, [&] { LaunchTitle(platform_, std::to_string(id)); });
}

void TForm1::RegisterHotKeys() {
  RunGuarded(platform_, [&] { HotKeys.Register(platform_); });
}

void TForm1::RefreshTitleCaptions() {
  std::vector<std::string> names;
  {
    SettingsFile file(platform_, SettingsPath());
    for (int t = 1; t <= kTitleCount; ++t) {
      names.push_back(OwnTitleName(file.ReadValue(kFilesSection, TitleKey(t), kNoTitle)));
    }
  }
  for (int t = kTitleCount; t >= 1; --t)
    LeftItem("Popupname" + std::to_string(t)).caption = names[static_cast<std::size_t>(t - 1)];
}

void TForm1::Popup(std::vector<MenuItem>& menu, Point at) {
  std::vector<std::string> captions;
  for (const MenuItem& item : menu) captions.push_back(item.caption);
  AssignAccelerators(captions);
  for (std::size_t i = 0; i < menu.size(); ++i) menu[i].caption = captions[i];
  const int chosen = platform_.PopupMenu(captions, at);
  if (chosen < 0 || chosen >= static_cast<int>(menu.size())) return;
  if (auto command = menu[static_cast<std::size_t>(chosen)].onClick) command();
}

void TForm1::EditProgramList1Click() {
  if (AskYes(platform_, kAskRemoveStartup)) {
    RegistryKey key(platform_, kRunKey);
    if (key.IsOpen()) {
      if (!key.ValueExists(kRunValue) || key.DeleteValue(kRunValue))
        ShowInformation(platform_, kRemovedFromStartup);
      else
        ShowInformation(platform_, kNotRemovedFromStartup);
    }
  }
  if (!AskYes(platform_, kAskRemoveIcon)) return;
  platform_.DeleteTrayIcon();
  platform_.CloseMainWindow();
}

void TForm1::Download1Click() {
  if (platform_.StartThroughShell("open", kMakerSite, "", "", kShowActivatedMaximized) !=
      ShellStart::Started)
    ShowPlain(platform_, std::string(kDownloadFailedText) + kMakerSite);
}

void TForm1::EditListClick() {
  if (!editor_) return;
  editor_->Load();  // a start-up that could not read the file loads it now
  platform_.ShowModal(*editor_, nullptr);
}

void TForm1::Help1Click() { ShowHelpWindow(platform_, nullptr); }

}  // namespace vantrel

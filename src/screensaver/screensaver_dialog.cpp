#include "screensaver/screensaver_dialog.h"

#include "platform/messages.h"
#include "store/settings.h"

namespace vantrel {
namespace {

std::string ReadChosenScreensaver(Files& files, Clock& clock) {
  SettingsFile settings(files, clock, SettingsPath());
  return settings.ReadValue(kScreensaverSection, kScreensaverKey, kNoScreensaver);
}

}  // namespace

TFrmscrsel::TFrmscrsel(Files& files, Clock& clock) : files_(files), clock_(clock) {
  className = "TFrmscrsel";
  taskbarButton = true;
  caption = "Choose Screensaver";
  border = BorderStyle::None;
  systemMenu = false;
  position = FormPosition::ScreenCenter;
  clientWidth = 427;
  clientHeight = 311;
  color = kFormGrey;
  font = SansSerifFont();

  Add(Design(ControlKind::Label, frmscrsel::Label1, {13, 8, 404, 59},
             "Click and highlight a screensaver below, then click OK. This is the screensaver "
             "which will activate only when you select it from the icon in the system tray. (This "
             "allows you to select a different screensaver than your normal system screensaver)."));
  Control& list = Add(Design(ControlKind::ListBox, frmscrsel::ListBox1, {39, 80, 344, 121}));
  list.itemHeight = 14;
  list.tabOrder = 0;
  Add(Design(ControlKind::Label, frmscrsel::Label3, {5, 216, 104, 13}, "Current Selection:"))
      .wordWrap = false;
  Add(Design(ControlKind::Label, frmscrsel::Lblscrsel, {114, 216, 299, 13})).wordWrap = false;

  // Cancel stands above OK, and the two differ in height.
  Control& cancel =
      Add(Design(ControlKind::Button, frmscrsel::BitBtn2, {336, 250, 75, 24}, "Cancel"));
  cancel.isCancel = true;
  cancel.modalResult = kModalCancel;
  cancel.tabOrder = 2;
  cancel.glyph = Glyph::Cancel;
  cancel.onClick = [this] { BitBtn2Click(); };
  Control& ok = Add(Design(ControlKind::Button, frmscrsel::BitBtn1, {336, 280, 75, 22}, "OK"));
  ok.isDefault = true;
  ok.modalResult = kModalOk;
  ok.tabOrder = 1;
  ok.glyph = Glyph::Ok;
  ok.onClick = [this] { BitBtn1Click(); };
}

void TFrmscrsel::BitBtn1Click() {
  const Control& list = (*this)["ListBox1"];
  // The list opens with its first line selected, so this only guards a misuse.
  if (list.selected >= 0 && list.selected < static_cast<int>(list.items.size())) {
    SettingsFile settings(files_, clock_, SettingsPath());
    settings.WriteValue(kScreensaverSection, kScreensaverKey,
                        list.items[static_cast<std::size_t>(list.selected)]);
    settings.Release();
  }
  Close(kModalOk);
}

void TFrmscrsel::BitBtn2Click() { Close(kModalCancel); }

void SelectScreensaver1Click(Files& files, Clock& clock, Dialogs& dialogs,
                             ScreenSaverControl& control, TFrmscrsel& dialog) {
  Control& list = dialog["ListBox1"];
  // In the order the system gives them, never sorted.
  list.items = control.Choices();
  list.selected = -1;

  const std::string chosen = ReadChosenScreensaver(files, clock);
  dialog["Lblscrsel"].caption = chosen == kNoScreensaver ? "" : chosen;

  if (list.items.empty()) {
    ShowInformation(dialogs, kNoScreensaversFoundText);
    return;
  }
  list.selected = 0;
  dialogs.ShowModal(dialog, nullptr);
}

void ActivateScreensaver1Click(TrayHost& tray, ActivationState& state) {
  state.SkipFirstTick = true;
  tray.EnableTimer(true);  // a running timer keeps its interval
}

void Timer1Timer(TrayHost& tray, Files& files, Clock& clock, Dialogs& dialogs,
                 ScreenSaverControl& control, ActivationState& state) {
  if (state.SkipFirstTick) {
    state.SkipFirstTick = false;
    return;
  }
  tray.EnableTimer(false);

  // The path goes to the shell whole, however long: nothing is cut to fit.
  const std::string path = ReadChosenScreensaver(files, clock);
  // "Null" means nothing was ever chosen; it must not start a file of that name
  // that happens to lie in the current folder.
  if (path == kNoScreensaver || files.GetPathKind(path) != PathKind::File) {
    ShowWarning(dialogs, kScreensaverMissingText);
    return;
  }
  if (!control.Start(path)) ShowInformation(dialogs, kScreensaverFailedText);
}

}  // namespace vantrel

#include "editor/title_name_dialog.h"

namespace vantrel {

TFrmtitlechg::TFrmtitlechg() {
  className = "TFrmtitlechg";
  caption = "Title Name Modification";
  clientWidth = 427;
  clientHeight = 190;
  border = BorderStyle::Single;
  position = FormPosition::ScreenCenter;

  Add(Design(ControlKind::Label, frmtitlechg::Label1, {12, 8, 404, 61},
             "These title names are what appears on your menu when you left-click the system "
             "tray hand icon, and this allows you to customize your own names. (Example: You "
             "can enter a title name called \"work documents\", then assign many different "
             "documents to open up)."));
  Add(Design(ControlKind::Label, frmtitlechg::Label2, {12, 73, 405, 33},
             "Type a new title name, then click OK. (You can also space over any old title "
             "names that you don't want listed on your menu)."));
  // The limit holds for typing only; the editor may put a longer name here.
  Control& edit1 = Add(Design(ControlKind::Edit, frmtitlechg::Edit1, {48, 115, 321, 22}));
  edit1.tabOrder = 0;
  edit1.maxLength = 25;
  // No cancel: however the dialog closes, the editor takes the box text.
  Control& button1 =
      Add(Design(ControlKind::Button, frmtitlechg::Button1, {328, 148, 75, 25}, "Ok"));
  button1.tabOrder = 2;
  button1.modalResult = kModalOk;
  // The title's key, beside Ok under the name, so the dialog keeps its size.
  Add(Design(ControlKind::Label, frmtitlechg::Label3, {48, 153, 70, 16}, "&Shortcut key:"));
  hotKey1_ = &Add(Design(ControlKind::HotKey, frmtitlechg::HotKey1, {120, 149, 160, 22}));
  hotKey1_->tabOrder = 1;
  hotKey1_->hint =
      "Press the keys that open this title from anywhere, for example Ctrl+Alt+1; "
      "Backspace removes the key";
}

void TFrmtitlechg::ShowKey(const KeyCombo& key) {
  shownKey_ = key;
  hotKey1_->hotKey = key;
}

std::optional<KeyCombo> TFrmtitlechg::ChangedKey() const {
  if (hotKey1_->hotKey == shownKey_) return std::nullopt;
  return AsShortcutKey(hotKey1_->hotKey);
}

}  // namespace vantrel

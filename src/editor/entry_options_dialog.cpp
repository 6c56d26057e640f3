#include "editor/entry_options_dialog.h"

namespace vantrel {

TFrmentryopt::TFrmentryopt() {
  className = "TFrmentryopt";
  caption = "Entry Options";
  clientWidth = 420;
  clientHeight = 196;
  border = BorderStyle::Single;
  minimizeBox = false;
  maximizeBox = false;
  position = FormPosition::ScreenCenter;

  Add(Design(ControlKind::Label, frmentryopt::LabelArgs, {12, 10, 396, 16},
             "Arguments (given to the program when it starts):"));
  Control& args = Add(Design(ControlKind::Edit, frmentryopt::EditArgs, {12, 28, 396, 22}));
  args.tabOrder = 0;
  Add(Design(ControlKind::Label, frmentryopt::LabelFolder, {12, 58, 396, 16},
             "Start folder (empty: the system's choice):"));
  Control& folder = Add(Design(ControlKind::Edit, frmentryopt::EditFolder, {12, 76, 396, 22}));
  folder.tabOrder = 1;
  Control& admin = Add(Design(ControlKind::CheckBox, frmentryopt::CheckAdmin, {12, 108, 396, 20},
                              "Run as administrator"));
  admin.tabOrder = 2;
  Control& front = Add(Design(ControlKind::CheckBox, frmentryopt::CheckFront, {12, 132, 396, 20},
                              "If it is already running, bring it to the front (programs only)"));
  front.tabOrder = 3;
  Control& ok = Add(Design(ControlKind::Button, frmentryopt::BitBtnOk, {246, 162, 75, 25}, "Ok"));
  ok.tabOrder = 4;
  ok.isDefault = true;
  ok.modalResult = kModalOk;
  ok.glyph = Glyph::Ok;
  Control& cancel =
      Add(Design(ControlKind::Button, frmentryopt::BitBtnCancel, {333, 162, 75, 25}, "Cancel"));
  cancel.tabOrder = 5;
  cancel.isCancel = true;
  cancel.modalResult = kModalCancel;
  cancel.glyph = Glyph::Cancel;
}

void TFrmentryopt::Show(const EntryOptions& options) {
  shown_ = options;
  (*this)["EditArgs"].text = options.arguments;
  (*this)["EditFolder"].text = options.folder;
  (*this)["CheckAdmin"].checked = options.asAdministrator;
  (*this)["CheckFront"].checked = options.bringToFront;
}

// What the dialog does not show stays as it was.
EntryOptions TFrmentryopt::Options() const {
  EntryOptions options = shown_;
  options.arguments = (*this)["EditArgs"].text;
  options.folder = (*this)["EditFolder"].text;
  options.asAdministrator = (*this)["CheckAdmin"].checked;
  options.bringToFront = (*this)["CheckFront"].checked;
  return options;
}

}  // namespace vantrel

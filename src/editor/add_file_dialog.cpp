#include "editor/add_file_dialog.h"

#include "editor/trim_controls.h"
#include "platform/messages.h"

namespace vantrel {

bool AddFileCancelled = true;

namespace {

constexpr const char* kBlankPathText =
    "Cancel was selected, nothing was done. If you wish to add applications to your list, do not "
    "select cancel. Click the \"Add\" button to try again.";

}  // namespace

TFrmedadd::TFrmedadd(Dialogs& dialogs) : dialogs_(dialogs) {
  className = "TFrmedadd";
  clientWidth = 320;
  clientHeight = 108;
  border = BorderStyle::Sizeable;
  minimizeBox = false;
  position = FormPosition::ScreenCenter;

  Add(Design(ControlKind::Label, frmedadd::Label1, {5, 11, 303, 50},
             "Click \"Add\" files or programs to your list.  You can add 1 or more programs, "
             "documents, pictures, webpages, or any other file on your pc."));
  // Never shown: it only carries the chosen path back to the editor.
  Control& edit1 = Add(Design(ControlKind::Edit, frmedadd::Edit1, {64, 15, 73, 21}));
  edit1.visible = false;
  Control& cmdselect =
      Add(Design(ControlKind::Button, frmedadd::Cmdselect, {65, 73, 86, 22}, "Add "));
  cmdselect.tabOrder = 2;
  cmdselect.hint =
      "Add programs to the \"Title\" so you can easily open from the system tray icon.";
  cmdselect.glyph = Glyph::Add;
  cmdselect.onClick = [this] { CmdselectClick(); };
  Control& bitBtn2 =
      Add(Design(ControlKind::Button, frmedadd::BitBtn2, {169, 73, 86, 22}, "Cancel"));
  bitBtn2.tabOrder = 1;
  bitBtn2.isCancel = true;
  bitBtn2.modalResult = kModalCancel;
  bitBtn2.glyph = Glyph::Cancel;

  // The dialog shows no title at all.
  caption.clear();
  AddFileCancelled = true;
}

void TFrmedadd::CmdselectClick() {
  // A cancelled chooser is not reported here; the dialog simply stays open.
  const std::optional<std::string> chosen = dialogs_.ChooseFile(lastPath_);
  if (!chosen) return;
  lastPath_ = *chosen;

  Control& path = (*this)["Edit1"];
  path.text = *chosen;
  if (TrimControls(path.text).empty()) {
    ShowPlain(dialogs_, kBlankPathText);
    return;
  }
  AddFileCancelled = false;
  Close(kModalOk);
}

}  // namespace vantrel

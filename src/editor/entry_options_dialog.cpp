#include "editor/entry_options_dialog.h"

#include "platform/messages.h"
#include "platform/utf8.h"
#include "workspace/window_place.h"

namespace vantrel {

std::string PlaceWords(const std::string& placeText) {
  if (placeText.empty()) return kNoPlaceText;
  const std::optional<WindowPlace> place = ParsePlace(placeText);
  if (!place) return kUnusablePlaceText;
  const Rect& r = place->placement.normal;
  const ShowState state = place->placement.state;
  const auto number = [](int n) { return std::to_string(n); };
  return "Window place: " + number(r.width) + " x " + number(r.height) + " at " + number(r.left) +
         ", " + number(r.top) + ", " +
         (state == ShowState::Maximised   ? "maximised"
          : state == ShowState::Minimised ? "minimised"
                                          : "normal") +
         ", on " +
         (place->device.empty()
              ? "the monitor at " + number(place->monitor.left) + ", " + number(place->monitor.top)
              : place->device);
}

TFrmentryopt::TFrmentryopt(Dialogs& dialogs) : dialogs_(dialogs) {
  className = "TFrmentryopt";
  caption = "Entry Options";
  clientWidth = 420;
  clientHeight = 374;
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
  // The wait is checked before the dialog closes, so Ok closes it itself.
  Control& ok = Add(Design(ControlKind::Button, frmentryopt::BitBtnOk, {246, 340, 75, 25}, "Ok"));
  ok.tabOrder = 8;
  ok.isDefault = true;
  ok.glyph = Glyph::Ok;
  ok.onClick = [this] { BitBtnOkClick(); };
  Control& cancel =
      Add(Design(ControlKind::Button, frmentryopt::BitBtnCancel, {333, 340, 75, 25}, "Cancel"));
  cancel.tabOrder = 9;
  cancel.isCancel = true;
  cancel.modalResult = kModalCancel;
  cancel.glyph = Glyph::Cancel;
  DesignWorkspace();
}

// The place, the waits and "leave running", under the options above.
void TFrmentryopt::DesignWorkspace() {
  Add(Design(ControlKind::Label, frmentryopt::LabelPlace, {12, 160, 396, 28}, kNoPlaceText));
  Control& forget = Add(Design(ControlKind::Button, frmentryopt::ButtonForget, {12, 190, 120, 23},
                               "&Forget the place"));
  forget.tabOrder = 4;
  forget.onClick = [this] { ButtonForgetClick(); };
  Add(Design(ControlKind::Label, frmentryopt::LabelWait, {12, 224, 250, 16},
             "&Wait before the next entry (0 to 120 seconds):"));
  Control& wait = Add(Design(ControlKind::Edit, frmentryopt::EditWait, {266, 221, 48, 22}));
  wait.tabOrder = 5;
  wait.maxLength = 3;
  Control& waitWindow =
      Add(Design(ControlKind::CheckBox, frmentryopt::CheckWaitWindow, {12, 250, 396, 20},
                 "Wait for its window before the ne&xt entry"));
  waitWindow.tabOrder = 6;
  Control& stay = Add(Design(ControlKind::CheckBox, frmentryopt::CheckStay, {12, 274, 396, 20},
                             "&Leave it running when the title closes"));
  stay.tabOrder = 7;
  Add(Design(ControlKind::Label, frmentryopt::LabelPrograms, {12, 302, 396, 28},
             "Window places, waiting for a window and closing apply to programs (.exe, .com), "
             "not to documents or web addresses."));
}

void TFrmentryopt::Show(const EntryOptions& options) {
  shown_ = options;
  place_ = options.place;
  (*this)["EditArgs"].text = options.arguments;
  (*this)["EditFolder"].text = options.folder;
  (*this)["CheckAdmin"].checked = options.asAdministrator;
  (*this)["CheckFront"].checked = options.bringToFront;
  (*this)["EditWait"].text = options.waitSeconds;
  (*this)["CheckWaitWindow"].checked = options.waitForWindow;
  (*this)["CheckStay"].checked = options.leaveRunning;
  ShowPlace();
}

void TFrmentryopt::ShowPlace() {
  (*this)["LabelPlace"].caption = PlaceWords(place_);
  (*this)["ButtonForget"].enabled = !place_.empty();
}

// What the dialog does not show stays as it was.
EntryOptions TFrmentryopt::Options() const {
  EntryOptions options = shown_;
  options.arguments = (*this)["EditArgs"].text;
  options.folder = (*this)["EditFolder"].text;
  options.asAdministrator = (*this)["CheckAdmin"].checked;
  options.bringToFront = (*this)["CheckFront"].checked;
  options.place = place_;
  // Ok lets only a usable wait through; one not typed into stays as the file has it.
  const std::string& wait = (*this)["EditWait"].text;
  if (const std::optional<int> seconds = WaitSeconds(TrimBlanks(wait));
      seconds && wait != shown_.waitSeconds)
    options.waitSeconds = WaitText(*seconds);
  options.waitForWindow = (*this)["CheckWaitWindow"].checked;
  options.leaveRunning = (*this)["CheckStay"].checked;
  return options;
}

void TFrmentryopt::ButtonForgetClick() {
  place_.clear();
  ShowPlace();
}

// A hand-edited wait not typed into is kept as it is, as an unusable place is.
void TFrmentryopt::BitBtnOkClick() {
  const std::string& wait = (*this)["EditWait"].text;
  if (wait != shown_.waitSeconds && !WaitSeconds(TrimBlanks(wait))) {
    ShowWarning(dialogs_, kWaitInvalidText);
    return;
  }
  Close(kModalOk);
}

}  // namespace vantrel

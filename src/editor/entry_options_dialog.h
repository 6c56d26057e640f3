// The entry options dialog, for one entry of the edit window: arguments, start
// folder, run as administrator, bring a running program to the front, and as a
// workspace: its remembered window place (shown, and forgotten on request),
// the wait before the next entry, wait for its window, leave it running when
// the title closes.
#pragma once

#include "platform/dialogs.h"
#include "platform/form.h"
#include "store/entry_options.h"

namespace vantrel {

// The entry options dialog's controls, in the order of their design.
namespace frmentryopt {
inline constexpr ControlId LabelArgs{1000, "LabelArgs"};
inline constexpr ControlId EditArgs{1001, "EditArgs"};
inline constexpr ControlId LabelFolder{1002, "LabelFolder"};
inline constexpr ControlId EditFolder{1003, "EditFolder"};
inline constexpr ControlId CheckAdmin{1004, "CheckAdmin"};
inline constexpr ControlId CheckFront{1005, "CheckFront"};
inline constexpr ControlId BitBtnOk{1006, "BitBtnOk"};
inline constexpr ControlId BitBtnCancel{1007, "BitBtnCancel"};
inline constexpr ControlId LabelPlace{1008, "LabelPlace"};
inline constexpr ControlId ButtonForget{1009, "ButtonForget"};
inline constexpr ControlId LabelWait{1010, "LabelWait"};
inline constexpr ControlId EditWait{1011, "EditWait"};
inline constexpr ControlId CheckWaitWindow{1012, "CheckWaitWindow"};
inline constexpr ControlId CheckStay{1013, "CheckStay"};
inline constexpr ControlId LabelPrograms{1014, "LabelPrograms"};
}  // namespace frmentryopt

inline constexpr const char* kNoPlaceText = "Window place: none";
inline constexpr const char* kUnusablePlaceText =
    "Window place: changed by hand into one that cannot be used; it is kept until you forget it.";
inline constexpr const char* kWaitInvalidText =
    "\"Wait before the next entry\" takes a whole number of seconds from 0 to 120.";

// "Window place: 800 x 600 at 10, 20, maximised, on \\.\DISPLAY1", as the
// options dialog tells a place text.
std::string PlaceWords(const std::string& placeText);

class TFrmentryopt : public Form {
 public:
  explicit TFrmentryopt(Dialogs& dialogs);
  // What the controls show, and what they hold once the user is done.
  void Show(const EntryOptions& options);
  EntryOptions Options() const;

  void ButtonForgetClick();
  // Closes the dialog unless the wait is not a number it takes.
  void BitBtnOkClick();

 private:
  void DesignWorkspace();
  void ShowPlace();

  Dialogs& dialogs_;
  EntryOptions shown_;
  std::string place_;
};

}  // namespace vantrel

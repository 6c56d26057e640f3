// The two switches of the left menu: screensaver active and its password.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/screensaver_control.h"

namespace vantrel {

struct SwitchState {
  bool ScreensaverOn = false;
  bool PasswordOn = false;
  // Whether the state above has ever been read; until then the item's caption
  // is empty and a click on it changes nothing.
  bool ScreensaverKnown = false;
  bool PasswordKnown = false;
};

inline constexpr const char* kDisableScreensaverCaption = "Disable Screensaver";
inline constexpr const char* kEnableScreensaverCaption = "Enable Screensaver";
inline constexpr const char* kDisablePasswordCaption = "Disable Password";
inline constexpr const char* kEnablePasswordCaption = "Enable Password";

inline constexpr const char* kCannotReadScreensaverText =
    "Cannot access screensaver settings. It appears you do not have the privilege to access "
    "this, therefore you will not be able to adjust the screensaver settings from this icon. You "
    "can still activate the screensaver and your other programs.";
inline constexpr const char* kCannotOpenDesktopKeyText =
    "Cannot access screensaver settings. It appears you do not have the privilege to access "
    "this, therefore you will not be able to adjust the screensaver password settings from this "
    "icon. You can still activate the screensaver and your other programs.";
inline constexpr const char* kCannotSetScreensaverText =
    "Cannot access screensaver settings. It appears you do not have the privilege to access this "
    "on your pc, therefore you will not be able to adjust the screensaver settings from this "
    "icon. You can still activate the screensaver and your other programs.";

// Reads both states afresh and sets the two captions (left as they were when a
// state cannot be reached, after its warning). A password that cannot be read
// raises VantrelError, which ends the left-press handling.
void RefreshScreensaverSwitches(Dialogs& dialogs, ScreenSaverControl& control, SwitchState& state,
                                std::string& setSSCaption, std::string& setPwdCaption);
// Toggle the setting against the state of the last refresh.
void SetSSClick(Dialogs& dialogs, ScreenSaverControl& control, SwitchState& state);
void SetPwdClick(Dialogs& dialogs, ScreenSaverControl& control, SwitchState& state);

}  // namespace vantrel

// The two switches of the left menu: screensaver active and its password.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vantrel {

struct SwitchState {
  bool IsWinNT = false;
  bool ScreensaverOn = false;
  bool PasswordOn = false;
  // Whether the state above has ever been read; until then the item's caption
  // is empty and a click on it changes nothing.
  bool ScreensaverKnown = false;
  bool PasswordKnown = false;
};

inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";

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
// state cannot be read, after its warning). A registry read error is raised as
// VantrelError and ends the left-press handling.
void RefreshScreensaverSwitches(Platform& platform, SwitchState& state, std::string& setSSCaption,
                                std::string& setPwdCaption);
// Toggle the setting against the state of the last refresh.
void SetSSClick(Platform& platform, SwitchState& state);
void SetPwdClick(Platform& platform, SwitchState& state);

}  // namespace vantrel

#include "screensaver/screensaver_switches.h"

#include "platform/messages.h"

namespace vantrel {

void RefreshScreensaverSwitches(Dialogs& dialogs, ScreenSaverControl& control, SwitchState& state,
                                std::string& setSSCaption, std::string& setPwdCaption) {
  const std::optional<bool> active = control.Active();
  if (!active) {
    ShowWarning(dialogs, kCannotReadScreensaverText);
  } else {
    state.ScreensaverOn = *active;
    state.ScreensaverKnown = true;
    setSSCaption = *active ? kDisableScreensaverCaption : kEnableScreensaverCaption;
  }

  // A read error leaves the remembered state and the caption as they were.
  const std::optional<bool> on = control.Password();
  if (!on) {
    ShowWarning(dialogs, kCannotOpenDesktopKeyText);
    return;
  }
  state.PasswordOn = *on;
  state.PasswordKnown = true;
  setPwdCaption = *on ? kDisablePasswordCaption : kEnablePasswordCaption;
}

void SetSSClick(Dialogs& dialogs, ScreenSaverControl& control, SwitchState& state) {
  // Until the flag has been read once the item has no caption, so the user has
  // not chosen a direction: change nothing.
  if (!state.ScreensaverKnown) return;
  if (!control.SetActive(!state.ScreensaverOn)) {
    ShowWarning(dialogs, kCannotSetScreensaverText);
  }
  // ScreensaverOn stays: the next refresh reads what the system really did.
}

void SetPwdClick(Dialogs& dialogs, ScreenSaverControl& control, SwitchState& state) {
  // A nameless item chose no direction and changes nothing, but a setting out
  // of reach is told at every click.
  if (!state.PasswordKnown) {
    if (!control.PasswordReachable()) ShowWarning(dialogs, kCannotOpenDesktopKeyText);
    return;
  }
  const bool turnOn = !state.PasswordOn;
  if (!control.SetPassword(turnOn)) {
    ShowWarning(dialogs, kCannotOpenDesktopKeyText);
    return;
  }
  state.PasswordOn = turnOn;  // only reached when the write succeeded
}

}  // namespace vantrel

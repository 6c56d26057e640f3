#include "screensaver/screensaver_switches.h"

#include "platform/messages.h"
#include "platform/registry.h"

namespace vantrel {
namespace {

constexpr const char* kNtPasswordValue = "ScreensaverIsSecure";
constexpr const char* k9xPasswordValue = "Screensaveusepassword";

constexpr int kPlatformWin32s = 0;
constexpr int kPlatformWindows = 1;
constexpr int kPlatformNt = 2;

void SetFamily(Platform& platform, SwitchState& state) {
  const int id = platform.PlatformId();
  if (id == kPlatformNt) {
    state.IsWinNT = true;
  } else if (id == kPlatformWin32s || id == kPlatformWindows) {
    state.IsWinNT = false;
  }
  // Any other answer (a failed query included) keeps the family found before.
}

}  // namespace

void RefreshScreensaverSwitches(Platform& platform, SwitchState& state, std::string& setSSCaption,
                                std::string& setPwdCaption) {
  SetFamily(platform, state);

  bool active = false;
  if (!platform.GetScreenSaveActive(active)) {
    ShowWarning(platform, kCannotReadScreensaverText);
  } else {
    state.ScreensaverOn = active;
    state.ScreensaverKnown = true;
    setSSCaption = active ? kDisableScreensaverCaption : kEnableScreensaverCaption;
  }

  RegistryKey key(platform, kDesktopKey);
  if (!key.IsOpen()) {
    ShowWarning(platform, kCannotOpenDesktopKeyText);
    return;
  }
  // A read error leaves the remembered state and the caption as they were; the
  // key is closed on the way out either way.
  const bool on = state.IsWinNT ? key.ReadString(kNtPasswordValue) == "1"
                                : key.ReadInteger(k9xPasswordValue) != 0;
  state.PasswordOn = on;
  state.PasswordKnown = true;
  setPwdCaption = on ? kDisablePasswordCaption : kEnablePasswordCaption;
}

void SetSSClick(Platform& platform, SwitchState& state) {
  // Until the flag has been read once the item has no caption, so the user has
  // not chosen a direction: change nothing.
  if (!state.ScreensaverKnown) return;
  if (!platform.SetScreenSaveActive(!state.ScreensaverOn)) {
    ShowWarning(platform, kCannotSetScreensaverText);
  }
  // ScreensaverOn stays: the next refresh reads what the system really did.
}

void SetPwdClick(Platform& platform, SwitchState& state) {
  RegistryKey key(platform, kDesktopKey);
  if (!key.IsOpen()) {
    ShowWarning(platform, kCannotOpenDesktopKeyText);
    return;
  }
  if (!state.PasswordKnown) return;  // nameless item: no direction chosen
  const bool turnOn = !state.PasswordOn;
  if (state.IsWinNT) {
    key.WriteString(kNtPasswordValue, turnOn ? "1" : "0");
  } else {
    key.WriteInteger(k9xPasswordValue, turnOn ? 1 : 0);
  }
  state.PasswordOn = turnOn;  // only reached when the write succeeded
}

}  // namespace vantrel

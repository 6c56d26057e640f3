// The screensaver choice dialog, and the tray's choice and activation commands.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/form.h"
#include "platform/screensaver_control.h"
#include "platform/tray_host.h"
#include "store/settings.h"

namespace vantrel {

// The screensaver choice dialog's controls, in the order of their design.
namespace frmscrsel {
inline constexpr ControlId Label1{1000, "Label1"};
inline constexpr ControlId ListBox1{1001, "ListBox1"};
inline constexpr ControlId Label3{1002, "Label3"};
inline constexpr ControlId Lblscrsel{1003, "Lblscrsel"};
inline constexpr ControlId BitBtn2{1004, "BitBtn2"};
inline constexpr ControlId BitBtn1{1005, "BitBtn1"};
}  // namespace frmscrsel

inline constexpr const char* kScreensaverKey = "Name";
inline constexpr const char* kNoScreensaver = "Null";

inline constexpr const char* kNoScreensaversFoundText =
    "There were no screensavers found in your windows or windows system directory.";
inline constexpr const char* kScreensaverMissingText =
    "The screensaver selected no longer exists. Please right click on the icon in the system "
    "tray, and select an existing screensaver.";
inline constexpr const char* kScreensaverFailedText =
    "The screensaver could not be run. It may be an invalid or corrupt screensaver. Please right "
    "click on the icon in the system tray and select a different screensaver.";

class TFrmscrsel : public Form {
 public:
  TFrmscrsel(Files& files, Clock& clock);
  void BitBtn1Click();  // OK: stores the highlighted screensaver
  void BitBtn2Click();  // Cancel

 private:
  Files& files_;
  Clock& clock_;
};

struct ActivationState {
  bool SkipFirstTick = false;
};

// Lists the screensavers one may choose in the dialog and shows it.
void SelectScreensaver1Click(Files& files, Clock& clock, Dialogs& dialogs,
                             ScreenSaverControl& control, TFrmscrsel& dialog);
// Arms Timer1; the stored screensaver starts on the second tick after this.
void ActivateScreensaver1Click(TrayHost& tray, ActivationState& state);
void Timer1Timer(TrayHost& tray, Files& files, Clock& clock, Dialogs& dialogs,
                 ScreenSaverControl& control, ActivationState& state);

}  // namespace vantrel

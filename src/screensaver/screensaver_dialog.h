// The screensaver choice dialog, and the tray's choice and activation commands.
#pragma once

#include <string>

#include "platform/form.h"
#include "platform/platform.h"
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
  explicit TFrmscrsel(Platform& platform);
  void BitBtn1Click();  // OK: stores the highlighted screensaver
  void BitBtn2Click();  // Cancel

 private:
  Platform& platform_;
};

struct ActivationState {
  bool SkipFirstTick = false;
};

// Lists the *.scr entries of both folders in the dialog and shows it.
void SelectScreensaver1Click(Platform& platform, TFrmscrsel& dialog, const std::string& windowsDir,
                             const std::string& systemDir);
// Arms Timer1; the stored screensaver starts on the second tick after this.
void ActivateScreensaver1Click(Platform& platform, ActivationState& state);
void Timer1Timer(Platform& platform, ActivationState& state);

}  // namespace vantrel

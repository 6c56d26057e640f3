// The screensaver on Windows: its flag through the system parameters, its
// password in the desktop key's value of the platform's family, the *.scr
// files of the Windows and system folders, and a start with "/S".
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/screensaver_control.h"
#include "platform/windows_rules/registry.h"
#include "platform/windows_rules/shell_primitives.h"
#include "platform/windows_rules/system_parameters.h"

namespace vantrel {

inline constexpr const char* kDesktopKey = "Control Panel\\Desktop";

// The folders whose screensavers are listed: the Windows folder and the system
// folder, each "c:\windows" or "c:\windows\system" when the system names none.
std::array<std::string, 2> ScreenSaverFolders(SystemParameters& system);

class DesktopKeyScreenSaver final : public ScreenSaverControl {
 public:
  DesktopKeyScreenSaver(Registry& registry, SystemParameters& system, Files& files,
                        ShellPrimitives& shell)
      : registry_(registry), system_(system), files_(files), shell_(shell) {}

  std::optional<bool> Active() override;
  bool SetActive(bool on) override;
  // NT's family keeps it as text ("1": on), the older one as a number (not 0:
  // on); the family is asked again at each read. A read error raises the
  // registry's VantrelError.
  std::optional<bool> Password() override;
  bool PasswordReachable() override;
  // In the family found at the last read.
  bool SetPassword(bool on) override;
  std::vector<std::string> Choices() override;
  bool Start(const std::string& path) override;

  // The family found at the last read: NT's, or the older one (the start's).
  bool IsWinNT() const { return isWinNT_; }

 private:
  Registry& registry_;
  SystemParameters& system_;
  Files& files_;
  ShellPrimitives& shell_;
  bool isWinNT_ = false;
};

}  // namespace vantrel

// The desktop's screensaver: whether it is active and asks for the password,
// the screensavers one may choose, and starting one of them.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vantrel {

class ScreenSaverControl {
 public:
  // Nothing when the system does not tell.
  virtual std::optional<bool> Active() = 0;
  // False when the system refused.
  virtual bool SetActive(bool on) = 0;
  // Whether returning from the screensaver asks for the password; nothing when
  // its setting cannot be reached. A setting that cannot be read raises
  // VantrelError.
  virtual std::optional<bool> Password() = 0;
  // Whether the password's setting can be reached now.
  virtual bool PasswordReachable() = 0;
  // False when its setting cannot be reached. A write that fails raises
  // VantrelError.
  virtual bool SetPassword(bool on) = 0;
  // Every screensaver one may choose, as full paths in the order the system
  // lists them; a file in two of its folders comes twice.
  virtual std::vector<std::string> Choices() = 0;
  // Starts the screensaver in `path` at once; false when it could not be run.
  virtual bool Start(const std::string& path) = 0;

 protected:
  ~ScreenSaverControl() = default;
};

}  // namespace vantrel

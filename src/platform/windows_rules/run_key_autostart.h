// Starting at logon on Windows: the program's path as a value of the current
// user's Run key, written at each start when it is missing or names a file the
// system says is gone, and deleted on request.
#pragma once

#include <string>

#include "platform/autostart.h"
#include "platform/files.h"
#include "platform/windows_rules/registry.h"

namespace vantrel {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "ZBriskoEXE";

// The Run value's data: the program path, quoted when it holds a blank, so
// that the shell cannot start a shorter path's program instead.
std::string RunValueData(const std::string& programPath);

class RunKeyAutostart final : public Autostart {
 public:
  RunKeyAutostart(Registry& registry, Files& files) : registry_(registry), files_(files) {}

  // Writes the Run value when it is absent, or when it names a file that the
  // system says is not there (the program was moved, or a package manager put
  // a new version elsewhere); a value naming a file that exists, or one the
  // system cannot tell about now, is left alone. Read and write errors are
  // not reported.
  void Ensure() override;
  // Deletes the value; a value already gone counts as removed.
  AutostartRemoval Remove() override;

 private:
  Registry& registry_;
  Files& files_;
};

}  // namespace vantrel

// The shell on Windows: the verbs "open" and "runas", SW_ show commands, files
// opened by their short (8.3) paths, and a program's processes found by its
// path in the long or the short form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/windows_rules/shell_primitives.h"

namespace vantrel {

// Whether two paths name the same file as the system spells paths: without
// regard to case, either slash.
bool SamePath(const std::string& a, const std::string& b);

class WindowsShell final : public Shell {
 public:
  explicit WindowsShell(ShellPrimitives& primitives) : primitives_(primitives) {}

  // A file goes to the shell by its short path, which every program takes
  // whatever its blanks (the empty text when the system gives none, which the
  // shell then refuses); a web address as it stands.
  ShellStart Open(TargetKind kind, const std::string& target, const std::string& arguments,
                  const std::string& folder, bool asAdministrator, WindowShow show) override;
  // The same path, or the same short form: either side may be written in it.
  bool IsProgramFile(const std::string& program, const std::string& path) override;
  std::vector<RunningProgram> ProcessesOf(const std::string& program) override;
  bool BringToFront(std::uint32_t processId) override;

 private:
  bool Same(const std::string& program, const std::string& programShort, const std::string& path);

  ShellPrimitives& primitives_;
};

}  // namespace vantrel

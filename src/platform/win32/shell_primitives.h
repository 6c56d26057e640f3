// The shell's own calls on Windows: ShellExecuteEx, short (8.3) paths, the
// running processes' program files, and a process's window brought forward.
#pragma once

#include "platform/win32/session.h"
#include "platform/windows_rules/shell_primitives.h"

namespace vantrel::win32 {

class Win32ShellPrimitives final : public ShellPrimitives {
 public:
  explicit Win32ShellPrimitives(Session& session) : session_(session) {}

  ShellStart StartThroughShell(const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory,
                               int showCommand) override;
  std::string ShortPath(const std::string& path) override;
  std::vector<RunningProgram> RunningPrograms() override;
  bool BringProcessToFront(std::uint32_t processId) override;

 private:
  Session& session_;
};

}  // namespace vantrel::win32

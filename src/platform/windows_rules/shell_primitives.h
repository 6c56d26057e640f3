// The shell's own calls, as the Windows rules use them: a start with a verb
// and a show command, short (8.3) paths, the running processes' program files,
// and a process's window brought forward.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace vantrel {

class ShellPrimitives {
 public:
  // ShellExecuteEx with the main window as owner and no error boxes of the
  // shell's own; with the verb "runas" the system asks for elevation first.
  // showCommand is an SW_ number.
  virtual ShellStart StartThroughShell(const std::string& verb, const std::string& file,
                                       const std::string& parameters, const std::string& directory,
                                       int showCommand) = 0;
  // Short (8.3) form of a path; empty when the system cannot give one.
  virtual std::string ShortPath(const std::string& path) = 0;
  // The running processes whose program file the system tells, this one's too.
  virtual std::vector<RunningProgram> RunningPrograms() = 0;
  // As Shell::BringToFront.
  virtual bool BringProcessToFront(std::uint32_t processId) = 0;

 protected:
  ~ShellPrimitives() = default;
};

}  // namespace vantrel

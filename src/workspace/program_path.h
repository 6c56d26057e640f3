// Whether a running process's or a window's program file is an entry's
// program, as the shell compares program paths.
#pragma once

#include <map>
#include <string>

#include "platform/shell.h"

namespace vantrel {

// Tells the processes of one program, by the path of their program file. The
// answer for each path is kept: the same few paths come back at every look.
class ProgramMatch {
 public:
  ProgramMatch(std::string program, Shell& shell);
  bool operator()(const std::string& processPath) const;
  const std::string& program() const { return program_; }

 private:
  std::string program_;
  Shell* shell_;
  mutable std::map<std::string, bool> answers_;
};

}  // namespace vantrel

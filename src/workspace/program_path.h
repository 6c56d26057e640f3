// Which entries are programs, and whether a running process's program file is
// an entry's program: paths as the system compares them (without regard to
// case, either slash), in their long or short (8.3) form.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace vantrel {

// The short (8.3) form of a path; empty when the system gives none.
using ShortPathOf = std::function<std::string(const std::string&)>;

// A program has a process of its own to find: a path to an .exe or .com file.
// Documents and web addresses have none.
bool HasProgram(const std::string& entry);
bool SameProgramPath(const std::string& a, const std::string& b);

// Tells the processes of one program, by the path of their program file. The
// answer for each path is kept: the same few paths come back at every look.
class ProgramMatch {
 public:
  ProgramMatch(std::string program, ShortPathOf shortPath);
  bool operator()(const std::string& processPath) const;
  const std::string& program() const { return program_; }

 private:
  std::string program_;
  ShortPathOf shortPath_;
  mutable std::string shortForm_;
  mutable bool shortKnown_ = false;
  mutable std::map<std::string, bool> answers_;
};

}  // namespace vantrel

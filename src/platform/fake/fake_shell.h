// The shell's calls for tests: every start recorded with its result scripted
// (elevation refused too), the running programs and their windows as the test
// sets them, and short paths from a table (else the path itself, for a file
// that exists).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/windows_rules/shell_primitives.h"

namespace vantrel {

struct ShellCall {
  std::string verb, file, parameters, directory;
  int show;
};

class FakeShell : public ShellPrimitives {
 public:
  explicit FakeShell(Files& files) : files_(files) {}

  std::vector<ShellCall> shellCalls;
  std::map<std::string, std::uintptr_t> shellResults;  // by file; default 42
  std::function<void(const ShellCall&)> onShell;
  // The elevation prompt refused; otherwise shellResults decide (above 32: started).
  bool refuseElevation = false;
  std::vector<RunningProgram> running;     // what RunningPrograms lists
  std::set<std::uint32_t> processWindows;  // processes with a main window
  std::vector<std::uint32_t> broughtToFront;
  std::map<std::string, std::string> shortPaths;  // overrides of the short form

  ShellStart StartThroughShell(const std::string& verb, const std::string& file,
                               const std::string& parameters, const std::string& directory,
                               int showCommand) override;
  std::string ShortPath(const std::string& path) override;
  std::vector<RunningProgram> RunningPrograms() override { return running; }
  bool BringProcessToFront(std::uint32_t processId) override;

 private:
  Files& files_;
};

}  // namespace vantrel

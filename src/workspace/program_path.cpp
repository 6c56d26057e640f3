// A program's processes and windows, told apart by their program files' paths.
#include "workspace/program_path.h"

#include <utility>

namespace vantrel {

ProgramMatch::ProgramMatch(std::string program, Shell& shell)
    : program_(std::move(program)), shell_(&shell) {}

bool ProgramMatch::operator()(const std::string& processPath) const {
  if (processPath.empty()) return false;
  const auto known = answers_.find(processPath);
  if (known != answers_.end()) return known->second;
  const bool same = shell_->IsProgramFile(program_, processPath);
  answers_.emplace(processPath, same);
  return same;
}

}  // namespace vantrel

// Paths of programs compared as the system compares them.
#include "workspace/program_path.h"

#include <utility>

namespace vantrel {
namespace {

char Folded(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c == '/' ? '\\' : c;
}

bool IsWebAddress(const std::string& entry) {
  std::string upper = entry;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper.find("HTTP") != std::string::npos;
}

}  // namespace

bool HasProgram(const std::string& entry) {
  if (IsWebAddress(entry)) return false;
  const auto dot = entry.find_last_of('.');
  const auto slash = entry.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string extension = entry.substr(dot);
  for (char& c : extension) c = Folded(c);
  return extension == ".exe" || extension == ".com";
}

bool SameProgramPath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Folded(a[i]) != Folded(b[i])) return false;
  return true;
}

ProgramMatch::ProgramMatch(std::string program, ShortPathOf shortPath)
    : program_(std::move(program)), shortPath_(std::move(shortPath)) {}

bool ProgramMatch::operator()(const std::string& processPath) const {
  if (processPath.empty()) return false;
  if (SameProgramPath(processPath, program_)) return true;
  const auto known = answers_.find(processPath);
  if (known != answers_.end()) return known->second;
  if (!shortKnown_) {
    shortForm_ = shortPath_ ? shortPath_(program_) : std::string();
    shortKnown_ = true;
  }
  // One side may be written in the short form and the other in the long one.
  const std::string shortForm = shortPath_ ? shortPath_(processPath) : std::string();
  const bool same =
      !shortForm.empty() && !shortForm_.empty() && SameProgramPath(shortForm, shortForm_);
  answers_.emplace(processPath, same);
  return same;
}

}  // namespace vantrel

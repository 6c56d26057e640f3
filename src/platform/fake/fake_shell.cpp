// The fake shell primitives: starts recorded, short paths and running programs as scripted.
#include "platform/fake/fake_shell.h"

namespace vantrel {

ShellStart FakeShell::StartThroughShell(const std::string& verb, const std::string& file,
                                        const std::string& parameters, const std::string& directory,
                                        int showCommand) {
  shellCalls.push_back({verb, file, parameters, directory, showCommand});
  if (onShell) onShell(shellCalls.back());
  if (verb == "runas" && refuseElevation) return ShellStart::Refused;
  auto it = shellResults.find(file);
  return it == shellResults.end() || it->second > 32 ? ShellStart::Started : ShellStart::Failed;
}

std::string FakeShell::ShortPath(const std::string& path) {
  if (auto it = shortPaths.find(path); it != shortPaths.end()) return it->second;
  return files_.GetPathKind(path) == PathKind::Missing ? "" : path;
}

bool FakeShell::BringProcessToFront(std::uint32_t id) {
  if (processWindows.count(id) == 0) return false;
  broughtToFront.push_back(id);
  return true;
}

}  // namespace vantrel

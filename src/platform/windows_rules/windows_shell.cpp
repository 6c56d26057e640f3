// Opening targets and finding a program's processes by the rules of Windows.
#include "platform/windows_rules/windows_shell.h"

#include <utility>

#include "platform/utf8.h"

namespace vantrel {
namespace {

char Folded(char c) { return c == '/' ? '\\' : AsciiLower(c); }

int ShowCommand(WindowShow show) {
  switch (show) {
    case WindowShow::Maximised:
      return 3;  // SW_SHOWMAXIMIZED
    case WindowShow::AsIs:
      return 5;  // SW_SHOW
    case WindowShow::Normal:
      break;
  }
  return 1;  // SW_SHOWNORMAL
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Folded(a[i]) != Folded(b[i])) return false;
  return true;
}

ShellStart WindowsShell::Open(TargetKind kind, const std::string& target,
                              const std::string& arguments, const std::string& folder,
                              bool asAdministrator, WindowShow show) {
  return primitives_.StartThroughShell(
      asAdministrator ? "runas" : "open",
      kind == TargetKind::WebAddress ? target : primitives_.ShortPath(target), arguments, folder,
      ShowCommand(show));
}

bool WindowsShell::Same(const std::string& program, const std::string& programShort,
                        const std::string& path) {
  return SamePath(path, program) ||
         (!programShort.empty() && SamePath(primitives_.ShortPath(path), programShort));
}

bool WindowsShell::IsProgramFile(const std::string& program, const std::string& path) {
  return !path.empty() &&
         (SamePath(path, program) || Same(program, primitives_.ShortPath(program), path));
}

std::vector<RunningProgram> WindowsShell::ProcessesOf(const std::string& program) {
  const std::string programShort = primitives_.ShortPath(program);
  std::vector<RunningProgram> processes;
  for (RunningProgram& process : primitives_.RunningPrograms())
    if (Same(program, programShort, process.path)) processes.push_back(std::move(process));
  return processes;
}

bool WindowsShell::BringToFront(std::uint32_t processId) {
  return primitives_.BringProcessToFront(processId);
}

}  // namespace vantrel

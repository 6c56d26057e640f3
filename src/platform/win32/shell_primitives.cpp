// Starting through the shell with a verb of its own (elevation), short paths,
// the running processes' program files, and a process's window brought to the
// front.
#include "platform/win32/shell_primitives.h"
#include "platform/win32/handles.h"

#include <tlhelp32.h>

namespace vantrel::win32 {
namespace {

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

struct FindMainWindow {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindOneMainWindow(HWND hwnd, LPARAM param) {
  auto* job = reinterpret_cast<FindMainWindow*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != job->processId || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != nullptr)
    return TRUE;
  job->found = hwnd;
  return FALSE;
}

}  // namespace

ShellStart Win32ShellPrimitives::StartThroughShell(const std::string& verb, const std::string& file,
                                                   const std::string& parameters,
                                                   const std::string& directory, int showCommand) {
  session_.EnsureCom();
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  // Every caller reports a failure in its own words, once.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.hwnd = session_.main;
  info.lpVerb = OrNull(verb);
  info.lpFile = file.c_str();
  info.lpParameters = OrNull(parameters);
  info.lpDirectory = OrNull(directory);
  info.nShow = showCommand;
  if (ShellExecuteExA(&info)) return ShellStart::Started;
  return GetLastError() == ERROR_CANCELLED ? ShellStart::Refused : ShellStart::Failed;
}

std::string Win32ShellPrimitives::ShortPath(const std::string& path) {
  std::string buffer(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD got = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return "";
    if (got < buffer.size()) return std::string(buffer.c_str());
    buffer.assign(got + 1, '\0');
  }
  return "";
}

std::vector<RunningProgram> Win32ShellPrimitives::RunningPrograms() {
  std::vector<RunningProgram> programs;
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return programs;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more;
       more = Process32Next(snapshot.Get(), &entry)) {
    // Limited rights are enough for the image's name, also of an elevated process.
    UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!process) continue;
    char path[32768];
    DWORD size = sizeof path;
    if (QueryFullProcessImageNameA(process.Get(), 0, path, &size) && size > 0)
      programs.push_back({entry.th32ProcessID, std::string(path, size)});
  }
  return programs;
}

bool Win32ShellPrimitives::BringProcessToFront(std::uint32_t processId) {
  FindMainWindow job{processId, nullptr};
  EnumWindows(&FindOneMainWindow, reinterpret_cast<LPARAM>(&job));
  if (job.found == nullptr) return false;
  // Lets the program take the foreground itself too, as some do when shown.
  AllowSetForegroundWindow(processId);
  if (IsIconic(job.found)) ShowWindow(job.found, SW_RESTORE);
  SetForegroundWindow(job.found);
  return true;
}

}  // namespace vantrel::win32

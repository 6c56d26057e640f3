// The command line and the standard output on Windows.
#include "platform/win32/console.h"

#include "platform/win32/win32_api.h"

#include <string>

namespace vantrel::win32 {

std::string Win32Console::CommandLineText() {
  const wchar_t* line = GetCommandLineW();
  const int units = lstrlenW(line);
  const int size = WideCharToMultiByte(CP_UTF8, 0, line, units, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, line, units, text.data(), size, nullptr, nullptr);
  return text;
}

OutputKind Win32Console::StandardOutput() {
  HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
  if (given == nullptr || given == INVALID_HANDLE_VALUE) return OutputKind::None;
  DWORD mode = 0;
  switch (GetFileType(given)) {
    case FILE_TYPE_DISK:
      return OutputKind::Disk;
    case FILE_TYPE_PIPE:
      return OutputKind::Pipe;
    // NUL is a character device too, but no console.
    case FILE_TYPE_CHAR:
      return GetConsoleMode(given, &mode) ? OutputKind::Console : OutputKind::Device;
    default:
      return OutputKind::None;
  }
}

bool Win32Console::AttachParentConsole() {
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  return console != INVALID_HANDLE_VALUE && SetStdHandle(STD_OUTPUT_HANDLE, console);
}

bool Win32Console::WriteOutput(const std::string& text) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0, mode = 0;
  if (!GetConsoleMode(output, &mode))
    return WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
           FALSE;
  // A console shows UTF-16 whatever its code page.
  const int units =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
  if (units > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
  return WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) !=
         FALSE;
}

}  // namespace vantrel::win32

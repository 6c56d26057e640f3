// The screensaver flag, the platform id and the system's folders on Windows.
#include "platform/win32/system_parameters.h"

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

// Calls a Get...DirectoryA-style function, asking again with the size it
// reports when the first buffer was too small. Empty on failure.
template <typename Call>
std::string AskWithBuffer(UINT firstSize, Call call) {
  std::string buffer(firstSize, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    UINT got = call(buffer.data(), static_cast<UINT>(buffer.size()));
    if (got == 0) return "";
    if (got < buffer.size()) return std::string(buffer.c_str());
    buffer.assign(got + 1, '\0');
  }
  return "";
}

}  // namespace

bool Win32SystemParameters::GetScreenSaveActive(bool& active) {
  BOOL on = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &on, SPIF_SENDWININICHANGE)) return false;
  active = on != FALSE;
  return true;
}

bool Win32SystemParameters::SetScreenSaveActive(bool on) {
  return SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, on ? 1 : 0, nullptr,
                               SPIF_SENDWININICHANGE) != FALSE;
}

int Win32SystemParameters::PlatformId() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record must be 148 bytes");
  // The platform id is what the program needs; the call's deprecation (it may
  // report a compatibility version) does not matter for that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
  return ok ? static_cast<int>(info.dwPlatformId) : -1;
}

std::string Win32SystemParameters::WindowsDirectory() {
  return AskWithBuffer(200,
                       [](char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); });
}

std::string Win32SystemParameters::SystemDirectory() {
  return AskWithBuffer(200,
                       [](char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); });
}

}  // namespace vantrel::win32

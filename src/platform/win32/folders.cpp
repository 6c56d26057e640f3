// The settings file's folder and the files around it on Windows: the
// application data folder, this program's own file, what a path is, a new
// folder, and the names a pattern matches.
#include "platform/win32/files.h"
#include "platform/win32/handles.h"

namespace vantrel::win32 {

std::string Win32Files::AppDataFolder() {
  char buffer[MAX_PATH + 1] = {};
  SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_APPDATA, FALSE);
  return buffer;
}

std::string ModulePath() {
  // GetModuleFileNameA cuts the path and returns the buffer's full size when it is too small.
  std::string buffer(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 6; ++attempt) {
    DWORD got = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return "";
    if (got < buffer.size()) return std::string(buffer.c_str());
    buffer.assign(buffer.size() * 2, '\0');
  }
  return "";
}

std::string Win32Files::ProgramPath() { return ModulePath(); }

PathKind Win32Files::GetPathKind(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::Missing
                                                                          : PathKind::Unknown;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Directory : PathKind::File;
}

bool Win32Files::CreateDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

std::vector<std::string> Win32Files::FindFiles(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  FileSearch search(FindFirstFileA(pattern.c_str(), &found));
  if (!search) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileA(search.get(), &found));
  return names;
}

}  // namespace vantrel::win32

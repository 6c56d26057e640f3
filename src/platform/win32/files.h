// The file system and the running copies on Windows. Paths come in the
// program's code page (UTF-8 under its manifest) and go to the system as
// UTF-16.
#pragma once

#include "platform/win32/win32_api.h"

#include <cstdint>
#include <string>

#include "platform/files.h"

namespace vantrel::win32 {

class Win32Files final : public Files {
 public:
  std::string AppDataFolder() override;
  std::string ProgramPath() override;
  PathKind GetPathKind(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  FileAnswer ReadWholeFile(const std::string& path, std::string& contents) override;
  std::optional<FileStamp> GetFileStamp(const std::string& path) override;
  std::string FinalPath(const std::string& path) override;
  FileStep CreateNewFile(const std::string& path, const std::string& contents) override;
  FileStep CopyFileIdentity(const std::string& from, const std::string& to) override;
  FileStep RenameOver(const std::string& from, const std::string& to) override;
  bool DeleteFile(const std::string& path) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  std::uint32_t ProcessId() override;
  bool ProcessRunning(std::uint32_t id) override;
  void Wait(int milliseconds) override;
  std::uintptr_t AcquireNamedLock(const std::string& name, int timeoutMs) override;
  void ReleaseNamedLock(std::uintptr_t lock) override;
  std::string LegacyToUtf8(std::string_view bytes) override;
  std::optional<std::string> Utf8ToLegacy(std::string_view text) override;
};

// The path of this program's file, however long.
std::string ModulePath();

// A FILETIME in milliseconds since its epoch.
inline std::uint64_t Milliseconds(const FILETIME& time) {
  return ((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000;
}

}  // namespace vantrel::win32

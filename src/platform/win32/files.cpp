// The settings file's operations on Windows: a whole-file read that waits out
// short locks, a replace that survives a crash or a power loss and keeps the
// file's identity, and the legacy code page. Paths come in the program's code
// page (UTF-8 under its manifest) and go to the system as UTF-16.
#include <algorithm>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/win32_platform.h"

namespace vantrel::win32 {
namespace {

// Another program (a virus scanner, an indexer, a backup or sync tool) may
// hold the file for a moment; a lock that outlasts a second counts as a failure.
constexpr int kLockWaitMs = 1000;
constexpr DWORD kLockPollMs = 20;

bool IsTransientLock(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

std::wstring Wide(const std::string& text, UINT codePage = CP_ACP) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring out(
      static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)),
      L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), static_cast<int>(out.size()));
  return out;
}

// The path of the file itself when `path` names it through a link (or a
// junction on the way), so that the link stays a link; `path` otherwise.
std::wstring FinalPath(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return path;
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD got =
        GetFinalPathNameByHandleW(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (got == 0) return path;
    if (got < buffer.size()) {
      buffer.resize(got);
      // "\\?\C:\..." and "\\?\UNC\server\..." in their everyday forms.
      if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + buffer.substr(8);
      if (buffer.rfind(L"\\\\?\\", 0) == 0) return buffer.substr(4);
      return buffer;
    }
    buffer.assign(got + 1, L'\0');
  }
  return path;
}

// A name beside the file that no other running copy uses: this process's id
// and a count; an existing file of that name is never overwritten.
UniqueHandle CreateBeside(const std::wstring& target, std::wstring& name) {
  static unsigned count = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++count) + L".new";
    UniqueHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return UniqueHandle();
}

bool WriteAllAndFlush(HANDLE file, const std::string& contents) {
  std::size_t done = 0;
  while (done < contents.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, contents.data() + done, chunk, &written, nullptr) || written != chunk)
      return false;
    done += written;
  }
  // On disk before it takes the file's place: after a power loss the rename
  // may reach the disk, but never ahead of the data.
  return FlushFileBuffers(file) != FALSE;
}

// Runs `step` until it succeeds, waiting out short locks.
template <typename Step>
bool ThroughLocks(Step step) {
  for (int waited = 0;; waited += kLockPollMs) {
    if (step()) return true;
    if (!IsTransientLock(GetLastError()) || waited >= kLockWaitMs) return false;
    Sleep(kLockPollMs);
  }
}

// The system's legacy ANSI code page: under the UTF-8 manifest GetACP gives
// UTF-8, so it is asked of the system's locale.
UINT LegacyCodePageId() {
  static const UINT id = [] {
    DWORD number = 0;
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&number), sizeof number / sizeof(WCHAR)) == 0 ||
        number == 0 || number == CP_UTF8)
      number = 1252;
    return static_cast<UINT>(number);
  }();
  return id;
}

std::string Narrow(const std::wstring& text, UINT codePage, bool* lossy) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const DWORD flags = lossy != nullptr ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL usedDefault = FALSE;
  std::string out(static_cast<std::size_t>(
                      WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr,
                                          lossy != nullptr ? &usedDefault : nullptr)),
                  '\0');
  WideCharToMultiByte(codePage, flags, text.data(), size, out.data(), static_cast<int>(out.size()),
                      nullptr, lossy != nullptr ? &usedDefault : nullptr);
  if (lossy != nullptr) *lossy = usedDefault != FALSE;
  return out;
}

}  // namespace

FileRead Win32Platform::ReadWholeFile(const std::string& path, std::string& contents) {
  const std::wstring name = Wide(path);
  UniqueHandle file;
  const bool opened = ThroughLocks([&] {
    file = UniqueHandle(CreateFileW(name.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file) return true;
    // Nothing there, or a folder: no lock to wait for.
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
      SetLastError(ERROR_FILE_NOT_FOUND);
    else
      SetLastError(error);
    return false;
  });
  if (!opened) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
               ? FileRead::Missing
               : FileRead::Unreadable;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return FileRead::Unreadable;
  contents.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  for (;;) {
    if (done == contents.size()) contents.resize(done + 65536);  // the file grew meanwhile
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1 << 24));
    DWORD got = 0;
    if (!ReadFile(file.Get(), contents.data() + done, want, &got, nullptr))
      return FileRead::Unreadable;
    if (got == 0) break;
    done += got;
  }
  contents.resize(done);
  return FileRead::Done;
}

bool Win32Platform::ReplaceFile(const std::string& path, const std::string& contents) {
  const std::wstring target = FinalPath(Wide(path));
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
    return false;
  std::wstring fresh;
  {
    UniqueHandle file = CreateBeside(target, fresh);
    if (!file) return false;
    const bool written = WriteAllAndFlush(file.Get(), contents);
    if (!file.Close() || !written) {
      DeleteFileW(fresh.c_str());
      return false;
    }
  }
  // An existing file is replaced in place: it keeps its attributes, its
  // permissions and its other streams.
  const bool replaced = ThroughLocks([&] {
    if (exists)
      return ::ReplaceFileW(target.c_str(), fresh.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                            nullptr, nullptr) != FALSE;
    return MoveFileExW(fresh.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  });
  if (!replaced) {
    DeleteFileW(fresh.c_str());
    return false;
  }
  // Not every system carries the attributes over (Wine does not).
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD keep = attributes & kKept;
  if (exists && (GetFileAttributesW(target.c_str()) & kKept) != keep)
    SetFileAttributesW(target.c_str(), keep != 0 ? keep : FILE_ATTRIBUTE_NORMAL);
  return true;
}

std::string Win32Platform::LegacyToUtf8(std::string_view bytes) {
  return Narrow(Wide(std::string(bytes), LegacyCodePageId()), CP_UTF8, nullptr);
}

std::optional<std::string> Win32Platform::Utf8ToLegacy(std::string_view text) {
  const std::string utf8(text);
  if (!utf8.empty() && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, 0) == 0)
    return std::nullopt;
  bool lossy = false;
  std::string out = Narrow(Wide(utf8, CP_UTF8), LegacyCodePageId(), &lossy);
  if (lossy) return std::nullopt;
  return out;
}

}  // namespace vantrel::win32

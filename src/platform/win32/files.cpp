// The settings file's primitive steps on Windows (a whole-file read, its
// stamp, the steps of a durable replace, the lock every running copy shares)
// and the legacy code page. Which step comes when is decided in
// store/file_replace.
#include <algorithm>
#include <string>

#include "platform/win32/files.h"
#include "platform/win32/handles.h"

namespace vantrel::win32 {
namespace {

// Another program holds the file for the moment: an answer worth waiting out.
bool IsHeld(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
         error == ERROR_LOCK_VIOLATION;
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
std::wstring FinalWidePath(const std::wstring& path) {
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

// What the system's error says of a file that could not be opened or read.
FileAnswer AnswerOf(DWORD error, const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return FileAnswer::Folder;
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return FileAnswer::NotFound;
    case ERROR_PATH_NOT_FOUND:
      return FileAnswer::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_DELETE_PENDING:
      return FileAnswer::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileAnswer::Held;
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_NETWORK_BUSY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED:
    case ERROR_BAD_NET_NAME:
    case ERROR_SEM_TIMEOUT:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_CONNECTION_ABORTED:
      return FileAnswer::NetworkGone;
    default:
      return FileAnswer::Other;
  }
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

FileAnswer Win32Files::ReadWholeFile(const std::string& path, std::string& contents) {
  const std::wstring name = Wide(path);
  UniqueHandle file(CreateFileW(name.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return AnswerOf(GetLastError(), name);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return AnswerOf(GetLastError(), name);
  contents.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  for (;;) {
    if (done == contents.size()) contents.resize(done + 65536);  // the file grew meanwhile
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1 << 24));
    DWORD got = 0;
    if (!ReadFile(file.Get(), contents.data() + done, want, &got, nullptr))
      return AnswerOf(GetLastError(), name);
    if (got == 0) break;
    done += got;
  }
  contents.resize(done);
  return FileAnswer::Done;
}

std::optional<FileStamp> Win32Files::GetFileStamp(const std::string& path) {
  // The file's own record in its folder: no handle, so no other program's
  // hold is in the way, and a thousandth of what opening the file costs.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  return FileStamp{(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                   Milliseconds(data.ftLastWriteTime)};
}

std::string Win32Files::FinalPath(const std::string& path) {
  return Narrow(FinalWidePath(Wide(path)), CP_ACP, nullptr);
}

FileStep Win32Files::CreateNewFile(const std::string& path, const std::string& contents) {
  UniqueHandle file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return FileStep::Exists;
    return error == ERROR_SHARING_VIOLATION ? FileStep::Locked : FileStep::Failed;
  }
  const bool written = WriteAllAndFlush(file.Get(), contents);
  return file.Close() && written ? FileStep::Done : FileStep::Failed;
}

FileStep Win32Files::CopyFileIdentity(const std::string& from, const std::string& to) {
  const std::wstring source = Wide(from), target = Wide(to);
  const DWORD attributes = GetFileAttributesW(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileStep::Failed;
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                          FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD keep = attributes & kKept;
  if (!SetFileAttributesW(target.c_str(), keep != 0 ? keep : FILE_ATTRIBUTE_NORMAL))
    return FileStep::Failed;
  // The access rights the file was given, explicit or inherited, as they are.
  constexpr SECURITY_INFORMATION kWhat = DACL_SECURITY_INFORMATION;
  DWORD needed = 0;
  GetFileSecurityW(source.c_str(), kWhat, nullptr, 0, &needed);
  if (needed == 0) return FileStep::Done;  // a volume that keeps no access rights
  std::string descriptor(needed, '\0');
  if (!GetFileSecurityW(source.c_str(), kWhat, descriptor.data(), needed, &needed))
    return FileStep::Failed;
  return SetFileSecurityW(target.c_str(), kWhat, descriptor.data()) ? FileStep::Done
                                                                    : FileStep::Failed;
}

FileStep Win32Files::RenameOver(const std::string& from, const std::string& to) {
  const std::wstring target = Wide(to);
  // A read-only file is the user's word that it stays as it is; not every
  // system refuses to rename over one (Wine does not), so it is asked here.
  const auto refused = [&target] {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
  };
  if (refused()) return FileStep::Failed;
  if (MoveFileExW(Wide(from).c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return FileStep::Done;
  const DWORD error = GetLastError();
  return IsHeld(error) && !refused() ? FileStep::Locked : FileStep::Failed;
}

bool Win32Files::DeleteFile(const std::string& path) {
  return DeleteFileW(Wide(path).c_str()) != FALSE;
}

std::uint32_t Win32Files::ProcessId() { return GetCurrentProcessId(); }

bool Win32Files::ProcessRunning(std::uint32_t id) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  // A process this user may not open is someone's, and not gone.
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

void Win32Files::Wait(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

std::uintptr_t Win32Files::AcquireNamedLock(const std::string& name, int timeoutMs) {
  // In this session's namespace: the copies of one user's logon share it.
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, Wide("Local\\" + name).c_str());
  if (mutex == nullptr) return 0;
  const DWORD waited = WaitForSingleObject(mutex, static_cast<DWORD>(timeoutMs));
  // Abandoned: its holder died, and the file is whole all the same.
  if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
    return reinterpret_cast<std::uintptr_t>(mutex);
  CloseHandle(mutex);
  return 0;
}

void Win32Files::ReleaseNamedLock(std::uintptr_t lock) {
  const HANDLE mutex = reinterpret_cast<HANDLE>(lock);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

std::string Win32Files::LegacyToUtf8(std::string_view bytes) {
  return Narrow(Wide(std::string(bytes), LegacyCodePageId()), CP_UTF8, nullptr);
}

std::optional<std::string> Win32Files::Utf8ToLegacy(std::string_view text) {
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

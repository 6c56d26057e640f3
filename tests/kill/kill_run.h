// Kills a writer of the settings file at random moments and checks the file
// after each kill, on the real Win32 code: the kill test (tests/kill) and its
// longer benchmark (bench/win32/bench_kills.cpp) both run this.
//
// The writer saves the way the edit window's Ok does: one SettingsFile, the 20
// names and the 200 slots of section "Files", then Release. Every value carries
// its save's generation ("g<writer>.<save>-t<title>[-s<slot>]"), so a file that
// holds two generations was half saved.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <random>
#include <set>
#include <string>

#include "platform/win32/clock.h"
#include "platform/win32/files.h"
#include "store/settings.h"
#include "store/titles.h"

namespace killtest {

constexpr UINT kKilledStatus = 77;
constexpr DWORD kReadyWaitMs = 10000;

struct Counts {
  int kills = 0;
  int missing = 0;    // no file at the path
  int torn = 0;       // not parseable, or a key without a value of some save
  int halfSaved = 0;  // values of two saves in one file
  int leftovers = 0;  // *.new and *.tmp files beside it at the end
  std::string error;  // why the run could not go on; empty when it could
  bool Failed() const { return missing > 0 || torn > 0 || halfSaved > 0 || !error.empty(); }
};

inline std::string Value(const std::string& generation, int title, int slot) {
  std::string value = generation + "-t" + std::to_string(title);
  if (slot > 0) value += "-s" + std::to_string(slot);
  return value;
}

inline std::string ReadyEventName(DWORD driver) {
  return "Local\\VantrelKillReady" + std::to_string(driver);
}

// The writer: saves for ever, and says once that its first save is complete,
// so that no kill lands before it has started. Never returns.
[[noreturn]] inline void RunWriter(const std::string& path, const std::string& writer,
                                   DWORD driver) {
  vantrel::win32::Win32Files files;
  vantrel::win32::SystemClock clock;
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, ReadyEventName(driver).c_str());
  for (long save = 1;; ++save) {
    const std::string generation = "g" + writer + "." + std::to_string(save);
    try {
      vantrel::SettingsFile file(files, clock, path);
      for (int t = 1; t <= vantrel::kTitleCount; ++t)
        file.WriteValue(vantrel::kFilesSection, vantrel::TitleKey(t), Value(generation, t, 0));
      for (int t = 1; t <= vantrel::kTitleCount; ++t)
        for (int i = 1; i <= vantrel::kSlotCount; ++i)
          file.WriteValue(vantrel::kFilesSection, vantrel::EntryKey(t, i), Value(generation, t, i));
      file.Release();
    } catch (const std::exception&) {
      continue;  // a failed save is not a complete one; the next one tries again
    }
    if (ready != nullptr) {
      SetEvent(ready);
      CloseHandle(ready);
      ready = nullptr;
    }
  }
}

// --- The driver's side -----------------------------------------------------------------

inline std::wstring Wide(const std::string& text) {
  std::wstring out(text.size(), L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    out.data(), static_cast<int>(out.size()));
  out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return out;
}

// Written by our own calls, not the product's: a seed that does not depend on
// the code under test.
inline bool WriteWhole(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  return ok;
}

enum class Found { Missing, Unreadable, Read };

inline Found ReadWhole(const std::string& path, std::string& bytes) {
  const std::wstring name = Wide(path);
  HANDLE file = CreateFileW(name.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES ? Found::Missing
                                                                       : Found::Unreadable;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0)
    bytes.append(buffer, got);
  CloseHandle(file);
  return ok ? Found::Read : Found::Unreadable;
}

inline std::string Seed(const std::string& generation) {
  std::string file = "[Files]\r\n";
  for (int t = 1; t <= vantrel::kTitleCount; ++t)
    file += vantrel::TitleKey(t) + "=" + Value(generation, t, 0) + "\r\n";
  for (int t = 1; t <= vantrel::kTitleCount; ++t)
    for (int i = 1; i <= vantrel::kSlotCount; ++i)
      file += vantrel::EntryKey(t, i) + "=" + Value(generation, t, i) + "\r\n";
  return file;
}

inline std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

inline std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

enum class Verdict { Whole, Torn, HalfSaved };

// Parsed here, strictly and apart from the product's reader: every line a
// section, a key=value, a comment or blank; every one of the 220 keys once in
// [Files], with the value that one save gives it.
inline Verdict Judge(std::string bytes) {
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
  std::map<std::string, std::string> values;
  std::string section;
  for (std::size_t at = 0; at < bytes.size();) {
    std::size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('\0') != std::string::npos) return Verdict::Torn;
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      if (line.back() != ']') return Verdict::Torn;
      section = Lower(line.substr(1, line.size() - 2));
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return Verdict::Torn;
    if (section != "files") continue;
    const std::string key = Lower(Trim(line.substr(0, equals)));
    if (!values.emplace(key, Trim(line.substr(equals + 1))).second) return Verdict::Torn;
  }
  std::set<std::string> generations;
  auto check = [&](const std::string& key, int title, int slot) {
    const auto found = values.find(Lower(key));
    if (found == values.end()) return false;
    const std::string& value = found->second;
    const std::size_t mark = value.find("-t");
    if (value.size() < 2 || value[0] != 'g' || mark == std::string::npos) return false;
    const std::string generation = value.substr(0, mark);
    if (value != Value(generation, title, slot)) return false;
    generations.insert(generation);
    return true;
  };
  for (int t = 1; t <= vantrel::kTitleCount; ++t) {
    if (!check(vantrel::TitleKey(t), t, 0)) return Verdict::Torn;
    for (int i = 1; i <= vantrel::kSlotCount; ++i)
      if (!check(vantrel::EntryKey(t, i), t, i)) return Verdict::Torn;
  }
  return generations.size() == 1 ? Verdict::Whole : Verdict::HalfSaved;
}

inline bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && Lower(text.substr(text.size() - end.size())) == end;
}

// Files beside the settings file that a save made and left: *.new, *.tmp.
inline int CountLeftovers(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (EndsWith(name, ".new") || EndsWith(name, ".tmp")))
      ++count;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// An empty folder of this run's own for the settings file.
inline std::string FreshFolder() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "vantrel-kill-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return folder;
}

// `kills` times: starts `self` as a writer on a file in a fresh folder, waits
// for its first complete save, kills it 0 to `maxDelayMs` ms later and judges
// the file. After a bad file the seed is written again, so that each kill is
// judged on its own.
inline Counts RunKills(const std::string& self, int kills, DWORD maxDelayMs, unsigned seed) {
  Counts counts;
  const std::string folder = FreshFolder();
  const std::string path = folder + "\\vantrel.ini";
  if (!WriteWhole(path, Seed("g0.0"))) {
    counts.error = "cannot write the seed " + path;
    return counts;
  }
  HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, ReadyEventName(GetCurrentProcessId()).c_str());
  std::mt19937 random(seed);
  for (int k = 1; k <= kills; ++k) {
    std::string command = "\"" + self + "\" --writer \"" + path + "\" " + std::to_string(k) + " " +
                          std::to_string(GetCurrentProcessId());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION writer{};
    ResetEvent(ready);
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &writer)) {
      counts.error = "cannot start the writer (error " + std::to_string(GetLastError()) + ")";
      break;
    }
    CloseHandle(writer.hThread);
    HANDLE waits[] = {ready, writer.hProcess};
    const DWORD started = WaitForMultipleObjects(2, waits, FALSE, kReadyWaitMs);
    if (started == WAIT_OBJECT_0) Sleep(random() % (maxDelayMs + 1));
    TerminateProcess(writer.hProcess, kKilledStatus);
    WaitForSingleObject(writer.hProcess, 10000);
    DWORD status = 0;
    GetExitCodeProcess(writer.hProcess, &status);
    CloseHandle(writer.hProcess);
    if (started != WAIT_OBJECT_0) {
      counts.error = started == WAIT_TIMEOUT
                         ? "writer " + std::to_string(k) + " completed no save in " +
                               std::to_string(kReadyWaitMs / 1000) + " s"
                         : "writer " + std::to_string(k) + " ended by itself (status " +
                               std::to_string(status) + ")";
      break;
    }
    if (status != kKilledStatus) {
      counts.error = "writer " + std::to_string(k) + " ended by itself (status " +
                     std::to_string(status) + ")";
      break;
    }
    ++counts.kills;
    std::string bytes;
    const Found found = ReadWhole(path, bytes);
    Verdict verdict = Verdict::Whole;
    if (found == Found::Missing)
      ++counts.missing;
    else if (found == Found::Unreadable || (verdict = Judge(bytes)) == Verdict::Torn)
      ++counts.torn;
    else if (verdict == Verdict::HalfSaved)
      ++counts.halfSaved;
    if (found != Found::Read || verdict != Verdict::Whole) {
      if (!WriteWhole(path, Seed("g" + std::to_string(k) + ".0"))) {
        counts.error = "cannot write the seed again";
        break;
      }
    }
  }
  CloseHandle(ready);
  counts.leftovers = CountLeftovers(folder);
  return counts;
}

inline void PrintCounts(const Counts& c) {
  std::printf("kills: %d, missing %d, torn %d, half-saved %d, leftovers %d\n", c.kills, c.missing,
              c.torn, c.halfSaved, c.leftovers);
  if (!c.error.empty()) std::printf("kill run stopped: %s\n", c.error.c_str());
  std::fflush(stdout);
}

// Writer mode when the command line says so: `--writer <path> <writer> <driver pid>`.
inline void RunWriterIfAsked(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--writer")
    RunWriter(argv[2], argv[3], static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10)));
}

inline std::string SelfPath() {
  char self[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return self;
}

}  // namespace killtest

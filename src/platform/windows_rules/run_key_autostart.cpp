// The Run value: written when missing or naming a gone file, deleted on request.
#include "platform/windows_rules/run_key_autostart.h"

#include <vector>

#include "platform/errors.h"
#include "platform/windows_rules/registry_key.h"

namespace vantrel {

std::string RunValueData(const std::string& programPath) {
  if (programPath.find(' ') == std::string::npos) return programPath;
  return "\"" + programPath + "\"";
}

namespace {

// A full path on a drive. A network path (\\server\share) is never looked up:
// its answer can take the network's time at every start, and may be no answer.
bool OnADrive(const std::string& path) {
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

// Every file the system may start for a Run value: the text in its quotes, or
// else each part up to a blank and the whole (a start without quotes tries
// them in turn), each also with ".exe" when it has no extension. None when the
// value names its file through the environment, the search path or the network.
std::vector<std::string> FilesOfRunValue(const std::string& data) {
  std::vector<std::string> names;
  if (!data.empty() && data[0] == '"') {
    names.push_back(data.substr(1, data.find('"', 1) - 1));
  } else {
    for (std::size_t blank = data.find(' '); blank != std::string::npos;
         blank = data.find(' ', blank + 1))
      names.push_back(data.substr(0, blank));
    names.push_back(data);
  }
  std::vector<std::string> files;
  for (const std::string& name : names) {
    if (!OnADrive(name) || name.find('%') != std::string::npos) return {};
    files.push_back(name);
    if (name.find('.', name.find_last_of("\\/")) == std::string::npos)
      files.push_back(name + ".exe");
  }
  return files;
}

// Only the system's "not found" for every file the value may start counts: a
// file it cannot reach now (refused, a network drive away) keeps its value.
bool NamesAMissingFile(Files& files, const std::string& data) {
  const std::vector<std::string> candidates = FilesOfRunValue(data);
  for (const std::string& file : candidates)
    if (files.GetPathKind(file) != PathKind::Missing) return false;
  return !candidates.empty();
}

}  // namespace

void RunKeyAutostart::Ensure() {
  const std::string programPath = files_.ProgramPath();
  RegistryKey key(registry_, kRunKey);
  if (!key.IsOpen()) return;
  try {
    if (key.ValueExists(kRunValue) && !NamesAMissingFile(files_, key.ReadString(kRunValue))) return;
    key.WriteString(kRunValue, RunValueData(programPath));
  } catch (const VantrelError&) {
    // Start-up does not report a Run value it could not read or write.
  }
}

AutostartRemoval RunKeyAutostart::Remove() {
  RegistryKey key(registry_, kRunKey);
  if (!key.IsOpen()) return AutostartRemoval::Unreachable;
  return !key.ValueExists(kRunValue) || key.DeleteValue(kRunValue) ? AutostartRemoval::Removed
                                                                   : AutostartRemoval::Failed;
}

}  // namespace vantrel

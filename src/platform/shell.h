// Opening files, programs and web addresses as the system opens them, and the
// running copies of a program: which processes are its, and bringing one's
// window to the front.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// How the started program's window shows: restored to its normal place,
// maximised, or at its current size and place.
enum class WindowShow { Normal, Maximised, AsIs };

// What a start came to: started, refused by the user when asked to let it run
// as administrator, or failed otherwise.
enum class ShellStart { Started, Refused, Failed };

// What a target is to the system: a file (a program or a document), or a web
// address, which goes to the user's browser.
enum class TargetKind { File, WebAddress };

// A running process and its program file (the full path of its image).
struct RunningProgram {
  std::uint32_t processId = 0;
  std::string path;
};

class Shell {
 public:
  // Opens the target with the main window as owner and no error boxes of the
  // system's own: a program starts, a document in its program, an address in
  // the user's browser. An empty folder leaves the start folder to the system.
  virtual ShellStart Open(TargetKind kind, const std::string& target, const std::string& arguments,
                          const std::string& folder, bool asAdministrator, WindowShow show) = 0;
  // Whether `path` names the program file `program`, as the system compares
  // paths (so a path may name it in another spelling).
  virtual bool IsProgramFile(const std::string& program, const std::string& path) = 0;
  // The running processes whose program file is `program`, this one's too.
  virtual std::vector<RunningProgram> ProcessesOf(const std::string& program) = 0;
  // Restores the process's main window (its first visible top-level window that
  // no other window owns) and brings it to the foreground; false when it has none.
  virtual bool BringToFront(std::uint32_t processId) = 0;

 protected:
  ~Shell() = default;
};

}  // namespace vantrel

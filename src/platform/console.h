// The command line the program was started with, and the standard output that
// a run with arguments writes to.
#pragma once

#include <string>

namespace vantrel {

// What the standard output a program was given is: none, a file on disk, a
// pipe, a console, or another character device (NUL, a printer port).
enum class OutputKind { None, Disk, Pipe, Console, Device };

class Console {
 public:
  // The command line, the program's own name first, in UTF-8.
  virtual std::string CommandLineText() = 0;
  virtual OutputKind StandardOutput() = 0;
  // Attaches the console of the program that started this one and makes it
  // the standard output; false when there is none (started from a shortcut,
  // at logon or by the shell).
  virtual bool AttachParentConsole() = 0;
  // Writes text to the standard output: as characters to a console, as its
  // UTF-8 bytes to anything else; false when the write failed.
  virtual bool WriteOutput(const std::string& text) = 0;

 protected:
  ~Console() = default;
};

}  // namespace vantrel

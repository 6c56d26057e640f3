// A console for tests: the command line, what the standard output is, whether
// the program that started this one has a console to attach, and the text
// written to either.
#pragma once

#include <string>

#include "platform/console.h"

namespace vantrel {

class FakeConsole : public Console {
 public:
  std::string commandLine = "\"C:\\Program Files\\Vantrel\\vantrel.exe\"";
  OutputKind standardOutput = OutputKind::Pipe;
  bool parentConsole = false;
  std::string output;

  std::string CommandLineText() override { return commandLine; }
  OutputKind StandardOutput() override { return standardOutput; }
  bool AttachParentConsole() override {
    if (!parentConsole) return false;
    standardOutput = OutputKind::Console;
    return true;
  }
  bool WriteOutput(const std::string& text) override {
    if (standardOutput == OutputKind::None) return false;
    output += text;
    return true;
  }
};

}  // namespace vantrel

// The command line and the standard output on Windows: the line as UTF-16
// turned into UTF-8, a console attached from the parent, text written as
// characters to a console and as UTF-8 bytes elsewhere.
#pragma once

#include "platform/console.h"

namespace vantrel::win32 {

class Win32Console final : public Console {
 public:
  std::string CommandLineText() override;
  OutputKind StandardOutput() override;
  bool AttachParentConsole() override;
  bool WriteOutput(const std::string& text) override;
};

}  // namespace vantrel::win32

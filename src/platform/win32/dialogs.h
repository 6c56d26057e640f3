// Boxes, modal forms and the file chooser on Windows, each owned by the window
// in front (the innermost modal form, else the hidden main window).
#pragma once

#include "platform/dialogs.h"
#include "platform/win32/session.h"

namespace vantrel::win32 {

class Win32Dialogs final : public Dialogs {
 public:
  explicit Win32Dialogs(Session& session) : session_(session) {}

  BoxResult ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) override;
  void ShowErrorBox(const std::string& text) override;
  // The form in a FormWindow of its own, owned by its owner's window.
  int ShowModal(Form& form, Form* owner) override;
  // GetOpenFileNameA, asked again with a larger buffer for a long name.
  std::optional<std::string> ChooseFile(const std::string& initialName) override;

 private:
  Session& session_;
};

}  // namespace vantrel::win32

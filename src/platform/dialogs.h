// What the user is shown and answers: message boxes, the top-level error box,
// forms shown modally, and the system's file chooser.
#pragma once

#include <optional>
#include <string>

namespace vantrel {

class Form;

enum class BoxKind { Warning, Information, Plain };
enum class BoxButtons { Ok, YesNo };
enum class BoxResult { Ok, Yes, No };

class Dialogs {
 public:
  virtual BoxResult ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) = 0;
  // A stop-icon box captioned "Vantrel" with the text exactly as given.
  virtual void ShowErrorBox(const std::string& text) = 0;
  // Shows the form modally with its own message loop; returns the form's modal
  // result when it closes. Throws VantrelError("Cannot make a visible window
  // modal") when the form is already showing. owner may be null (main window).
  virtual int ShowModal(Form& form, Form* owner) = 0;
  // The system's file chooser, owned by the window in front: the chosen full
  // path, or nothing when cancelled. initialName is offered as the starting
  // file name.
  virtual std::optional<std::string> ChooseFile(const std::string& initialName) = 0;

 protected:
  ~Dialogs() = default;
};

}  // namespace vantrel

// What a test can do to a form that the fake dialogs show.
#pragma once

#include <functional>
#include <string>

#include "platform/form.h"

namespace vantrel {

class FakeDialogs;

// What a test can do to a form while it is shown. Keys, the close box and list
// clicks follow the same model as the real window.
class FakeFormDriver {
 public:
  FakeFormDriver(FakeDialogs& dialogs, Form& form);
  Form& form() { return form_; }
  // A check box's click turns its mark over first, as the system's does.
  void Click(const std::string& name);
  // Types into an edit, keeping its length limit as a real edit box does; the
  // caret ends after the text.
  void Type(const std::string& name, const std::string& text);
  void Select(const std::string& name, int index);          // a click on a list line
  void PressKeys(const std::string& name, KeyCombo combo);  // into a hot-key box
  // The line clicked, then clicked again at once: a click, then its open.
  void DoubleClick(const std::string& name, int index);
  void PressAltEnter();                 // the "properties" key: opens the focused list's line
  void Focus(const std::string& name);  // as Tab or a click would move it
  const Control* Focused() const { return focused_; }
  void PressEnter();  // a memo with the focus gets a new line at its caret
  void PressEscape();
  void CloseBox();
  const std::string& Text(const std::string& name) { return form_[name].text; }
  bool Closed() const { return form_.CloseRequested(); }

 private:
  void EnsureOpen(const std::string& action);
  // Runs one user action; a box or window it opened hands the focus back as the
  // real window does when it is active again.
  void Act(const std::function<void()>& action);
  void Report(const std::string& text);
  FakeDialogs& dialogs_;
  Form& form_;
  Control* focused_ = nullptr;
  std::size_t caret_ = 0;  // in the focused memo
};

}  // namespace vantrel

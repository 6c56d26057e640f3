// Dialogs for tests: every box recorded and its question answered by script,
// forms "shown" by running a test's script on them through a form driver, and
// the file chooser's answers scripted.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/fake/fake_form_driver.h"

namespace vantrel {

class FakeTrayHost;

struct ShownBox {
  BoxKind kind;
  std::string text;
  BoxButtons buttons;
};

struct ShownForm {
  std::string className;
  std::string caption;
  std::string ownerClass;
};

class FakeDialogs : public Dialogs {
 public:
  // A form without an owner belongs to the tray host's main window.
  explicit FakeDialogs(const FakeTrayHost& tray) : tray_(tray) {}

  // Questions (Yes/No boxes) take their answers in order; with none left, No.
  std::deque<BoxResult> boxAnswers;
  std::function<void(const ShownBox&)> onBox;  // runs while the box is "open"
  std::vector<ShownBox> boxes;
  std::vector<std::string> errorBoxes;

  // Modal forms: scripts taken in order for each window class; a form shown
  // with no script left is closed by its close box.
  using FormScript = std::function<void(FakeFormDriver&)>;
  void Script(const std::string& className, FormScript script);
  std::vector<ShownForm> shownForms;
  std::deque<std::optional<std::string>> fileChoices;  // nothing: cancelled
  std::vector<std::string> fileChooserStarts;

  BoxResult ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) override;
  void ShowErrorBox(const std::string& text) override { errorBoxes.push_back(text); }
  int ShowModal(Form& form, Form* owner) override;
  std::optional<std::string> ChooseFile(const std::string& initialName) override;

 private:
  const FakeTrayHost& tray_;
  std::map<std::string, std::deque<FormScript>> scripts_;
};

}  // namespace vantrel

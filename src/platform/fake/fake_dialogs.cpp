// The fake dialogs: boxes recorded and answered, forms run through their scripts.
#include "platform/fake/fake_dialogs.h"

#include "platform/errors.h"
#include "platform/fake/fake_tray_host.h"
#include "platform/form.h"

namespace vantrel {

BoxResult FakeDialogs::ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) {
  boxes.push_back({kind, text, buttons});
  if (onBox) onBox(boxes.back());
  if (buttons == BoxButtons::Ok) return BoxResult::Ok;
  BoxResult answer = BoxResult::No;
  if (!boxAnswers.empty()) {
    answer = boxAnswers.front();
    boxAnswers.pop_front();
  }
  return answer == BoxResult::Yes ? BoxResult::Yes : BoxResult::No;
}

void FakeDialogs::Script(const std::string& className, FormScript script) {
  scripts_[className].push_back(std::move(script));
}

int FakeDialogs::ShowModal(Form& form, Form* owner) {
  if (form.Showing()) throw VantrelError("Cannot make a visible window modal");
  shownForms.push_back({form.className, form.caption, owner ? owner->className : tray_.mainClass});
  form.BeginShowing();
  FakeFormDriver driver(*this, form);
  auto& queue = scripts_[form.className];
  if (!queue.empty()) {
    FormScript script = std::move(queue.front());
    queue.pop_front();
    try {
      script(driver);
    } catch (...) {
      form.EndShowing();
      throw;
    }
  }
  if (!form.CloseRequested()) driver.CloseBox();
  const int result = form.ModalResult();
  form.EndShowing();
  return result;
}

std::optional<std::string> FakeDialogs::ChooseFile(const std::string& initialName) {
  fileChooserStarts.push_back(initialName);
  if (fileChoices.empty()) return std::nullopt;
  auto choice = fileChoices.front();
  fileChoices.pop_front();
  return choice;
}

}  // namespace vantrel

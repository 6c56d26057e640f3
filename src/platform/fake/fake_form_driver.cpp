// Drives a form shown by the fake dialogs as a user would: keys, clicks, the
// close box and list lines follow the same model as the real window.
#include "platform/fake/fake_form_driver.h"

#include <algorithm>
#include <stdexcept>

#include "platform/dialog_behaviour.h"
#include "platform/errors.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/utf8.h"

namespace vantrel {

FakeFormDriver::FakeFormDriver(FakeDialogs& dialogs, Form& form)
    : dialogs_(dialogs), form_(form), focused_(FirstFocus(form)) {}

void FakeFormDriver::EnsureOpen(const std::string& action) {
  if (form_.CloseRequested())
    throw std::logic_error(action + " on " + form_.className + " after it closed");
}

void FakeFormDriver::Report(const std::string& text) { ReportError(dialogs_, text); }

void FakeFormDriver::Act(const std::function<void()>& action) {
  const std::size_t opened =
      dialogs_.boxes.size() + dialogs_.errorBoxes.size() + dialogs_.shownForms.size();
  action();
  if (dialogs_.boxes.size() + dialogs_.errorBoxes.size() + dialogs_.shownForms.size() != opened)
    focused_ = FocusAfterBox(focused_);
}

void FakeFormDriver::Click(const std::string& name) {
  EnsureOpen("Click " + name);
  Control& c = form_[name];
  if (!c.visible) throw std::logic_error("Click on hidden control " + name);
  if (!c.enabled) throw std::logic_error("Click on disabled control " + name);
  if (c.kind == ControlKind::CheckBox) c.checked = !c.checked;
  Act([&] { form_.Click(c, [this](const std::string& text) { Report(text); }); });
}

void FakeFormDriver::Type(const std::string& name, const std::string& text) {
  EnsureOpen("Type into " + name);
  Control& c = form_[name];
  if (c.kind != ControlKind::Edit && c.kind != ControlKind::Memo)
    throw std::logic_error("Type into " + name + ", which takes no text");
  if (!c.visible) throw std::logic_error("Type into hidden control " + name);
  c.text =
      c.maxLength > 0 ? std::string(Utf8Prefix(text, static_cast<std::size_t>(c.maxLength))) : text;
  focused_ = &c;
  caret_ = c.text.size();
}

void FakeFormDriver::Select(const std::string& name, int index) {
  EnsureOpen("Select in " + name);
  Control& c = form_[name];
  if (index < 0 || index >= static_cast<int>(c.items.size()))
    throw std::logic_error("Select outside the list " + name);
  c.selected = index;
  Act([&] { ClickLine(c, [this](const std::string& text) { Report(text); }); });
}

void FakeFormDriver::PressKeys(const std::string& name, KeyCombo combo) {
  EnsureOpen("Keys into " + name);
  Control& c = form_[name];
  if (c.kind != ControlKind::HotKey)
    throw std::logic_error("Keys into " + name + ", no hot-key box");
  c.hotKey = combo;
  focused_ = &c;
}

void FakeFormDriver::DoubleClick(const std::string& name, int index) {
  Select(name, index);
  focused_ = &form_[name];
  Act([&] { OpenLine(form_[name], [this](const std::string& text) { Report(text); }); });
}

void FakeFormDriver::PressAltEnter() {
  EnsureOpen("Alt+Enter");
  if (!OpensLine(focused_)) return;
  Act([&] { OpenLine(*focused_, [this](const std::string& text) { Report(text); }); });
}

void FakeFormDriver::Focus(const std::string& name) {
  EnsureOpen("Focus " + name);
  Control& c = form_[name];
  if (!c.visible || c.tabOrder < 0) throw std::logic_error("Focus on " + name + ", no tab stop");
  focused_ = &c;
  caret_ = 0;
}

void FakeFormDriver::PressEnter() {
  EnsureOpen("Enter");
  if (KeepsKey(focused_, DialogKey::Enter)) {
    focused_->text.insert(std::min(caret_, focused_->text.size()), "\r\n");
    caret_ += 2;
    return;
  }
  if (Control* target = KeyTarget(form_, DialogKey::Enter, focused_)) Click(target->name);
}

void FakeFormDriver::PressEscape() {
  EnsureOpen("Escape");
  if (Control* target = KeyTarget(form_, DialogKey::Escape, focused_)) Click(target->name);
}

void FakeFormDriver::CloseBox() {
  EnsureOpen("Close box");
  Act([&] { CloseByBox(form_, [this](const std::string& text) { Report(text); }); });
}

}  // namespace vantrel

#include "platform/form.h"

#include <stdexcept>

#include "platform/errors.h"

namespace vantrel {

// Out of line: made for every control of every window, inline it would be
// copied into each design.
Control Design(ControlKind kind, ControlId id, Rect rect, std::string_view caption,
               const Font& font) {
  Control c;
  c.kind = kind;
  c.id = id.id;
  c.name = id.name;
  c.rect = rect;
  c.caption = caption;
  c.font = font;
  c.wordWrap = kind == ControlKind::Label;
  return c;
}

Control Design(ControlKind kind, ControlId id, Rect rect, std::string_view caption) {
  return Design(kind, id, rect, caption, ArialFont());
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

Control& Form::Add(Control control) {
  if (control.id == 0 || FindById(control.id) != nullptr)
    throw std::logic_error("control " + control.name + " in " + className +
                           " needs an id of its own");
  if (control.kind == ControlKind::Edit || control.kind == ControlKind::Memo) {
    if (control.text.empty()) control.text = control.caption;
  }
  controls_.push_back(std::move(control));
  return controls_.back();
}

Control* Form::Find(const std::string& name) {
  for (auto& c : controls_)
    if (c.name == name) return &c;
  return nullptr;
}

Control* Form::FindById(int id) {
  for (auto& c : controls_)
    if (c.id == id) return &c;
  return nullptr;
}

Control& Form::operator[](const std::string& name) {
  if (Control* c = Find(name)) return *c;
  throw std::logic_error("no control " + name + " in " + className);
}

const Control& Form::operator[](const std::string& name) const {
  return const_cast<Form&>(*this)[name];
}

void Form::Close(int result) {
  closeRequested_ = true;
  modalResult_ = result;
}

void Form::BeginShowing() {
  showing_ = true;
  closeRequested_ = false;
  modalResult_ = kModalNone;
}

void Form::EndShowing() {
  showing_ = false;
  closeRequested_ = false;
}

void Form::Click(Control& control, const std::function<void(const std::string&)>& report) {
  // The button's modal result is set before its handler runs, so the form
  // closes even when the handler's operation fails.
  if (control.modalResult != kModalNone) Close(control.modalResult);
  if (control.onClick) RunReported(control.onClick, report);
}

}  // namespace vantrel

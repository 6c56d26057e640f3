#include "platform/dialog_behaviour.h"

#include "platform/errors.h"

namespace vantrel {

bool KeepsKey(const Control* focused, DialogKey key) {
  return key == DialogKey::Enter && focused != nullptr && focused->kind == ControlKind::Memo;
}

Control* KeyTarget(Form& form, DialogKey key, const Control* focused) {
  if (KeepsKey(focused, key)) return nullptr;
  if (key == DialogKey::Enter && focused != nullptr && focused->kind == ControlKind::Button)
    return form.FindById(focused->id);
  for (Control& c : form.Controls()) {
    const bool answers = key == DialogKey::Enter ? c.isDefault : c.isCancel;
    if (answers && c.visible) return &c;
  }
  return nullptr;
}

Control* FirstFocus(Form& form) {
  Control* first = nullptr;
  for (Control& c : form.Controls())
    if (c.tabOrder >= 0 && c.visible && c.enabled &&
        (first == nullptr || c.tabOrder < first->tabOrder))
      first = &c;
  return first;
}

Control* FocusAfterBox(Control* hadFocus) {
  return hadFocus != nullptr && hadFocus->visible && hadFocus->enabled ? hadFocus : nullptr;
}

void ClickLine(Control& list, const Reporter& report) {
  if (list.onClick) RunReported(list.onClick, report);
}

bool OpensLine(const Control* focused) {
  return focused != nullptr && focused->kind == ControlKind::ListBox && focused->onOpen &&
         focused->selected >= 0 && focused->selected < static_cast<int>(focused->items.size());
}

void OpenLine(Control& list, const Reporter& report) {
  if (OpensLine(&list)) RunReported(list.onOpen, report);
}

void CloseByBox(Form& form, const Reporter& report) {
  if (form.onCloseBox) RunReported(form.onCloseBox, report);
  form.Close(kModalCancel);
}

}  // namespace vantrel

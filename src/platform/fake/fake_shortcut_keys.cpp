// The fake shortcut keys: held by this copy or by others, and pressed by the test.
#include "platform/fake/fake_shortcut_keys.h"

namespace vantrel {

bool FakeShortcutKeys::RegisterHotKey(int id, const KeyCombo& combo) {
  // As the system refuses a combination that anyone holds, this copy included.
  for (const KeyCombo& held : keysHeldElsewhere)
    if (held == combo) return false;
  for (const auto& [heldId, held] : hotKeys)
    if (held == combo && heldId != id) return false;
  if (!IsShortcutKey(combo) || hotKeys.count(id) != 0) return false;
  hotKeys[id] = combo;
  return true;
}

void FakeShortcutKeys::HotKey(int id) {
  if (TrayEvents* events = tray_.OpenEvents(); events != nullptr && hotKeys.count(id) != 0)
    events->OnHotKey(id);
}

}  // namespace vantrel

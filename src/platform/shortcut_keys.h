// System-wide shortcut keys, each under an id of the program's choosing, whose
// presses arrive as TrayEvents::OnHotKey.
#pragma once

#include "platform/key_combo.h"

namespace vantrel {

class ShortcutKeys {
 public:
  // False when the key cannot be had (another program holds it) and for a
  // combination that is no shortcut key (IsShortcutKey).
  virtual bool RegisterHotKey(int id, const KeyCombo& combo) = 0;
  // Freeing an id that holds no key does nothing.
  virtual void UnregisterHotKey(int id) = 0;

 protected:
  ~ShortcutKeys() = default;
};

}  // namespace vantrel

// Shortcut keys for tests: the keys this copy holds, the keys other programs
// hold, and a press of one as the system delivers it.
#pragma once

#include <map>
#include <vector>

#include "platform/fake/fake_tray_host.h"
#include "platform/shortcut_keys.h"

namespace vantrel {

class FakeShortcutKeys : public ShortcutKeys {
 public:
  explicit FakeShortcutKeys(const FakeTrayHost& tray) : tray_(tray) {}

  std::map<int, KeyCombo> hotKeys;  // what this copy holds, by id
  std::vector<KeyCombo> keysHeldElsewhere;
  void HotKey(int id);  // the key registered under `id` pressed

  bool RegisterHotKey(int id, const KeyCombo& combo) override;
  void UnregisterHotKey(int id) override { hotKeys.erase(id); }

 private:
  const FakeTrayHost& tray_;
};

}  // namespace vantrel

// System-wide shortcut keys on Windows, registered to the hidden main window,
// whose WM_HOTKEY the tray host hands on.
#pragma once

#include "platform/shortcut_keys.h"
#include "platform/win32/session.h"

namespace vantrel::win32 {

class Win32ShortcutKeys final : public ShortcutKeys {
 public:
  explicit Win32ShortcutKeys(Session& session) : session_(session) {}

  bool RegisterHotKey(int id, const KeyCombo& combo) override;
  void UnregisterHotKey(int id) override;

 private:
  Session& session_;
};

}  // namespace vantrel::win32

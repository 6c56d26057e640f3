// System-wide shortcut keys registered to the hidden main window.
#include "platform/win32/shortcut_keys.h"

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

bool Win32ShortcutKeys::RegisterHotKey(int id, const KeyCombo& combo) {
  if (session_.main == nullptr || !IsShortcutKey(combo)) return false;
  UINT modifiers = 0;
  if (combo.modifiers & kKeyShift) modifiers |= MOD_SHIFT;
  if (combo.modifiers & kKeyControl) modifiers |= MOD_CONTROL;
  if (combo.modifiers & kKeyAlt) modifiers |= MOD_ALT;
  if (combo.modifiers & kKeyWin) modifiers |= MOD_WIN;
  const UINT key = static_cast<UINT>(combo.key);
  // A key held down opens its title once, not once per repeat; Windows before
  // 7 refuses that flag, and there the key goes without it.
  if (::RegisterHotKey(session_.main, id, modifiers | MOD_NOREPEAT, key)) return true;
  return GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED &&
         ::RegisterHotKey(session_.main, id, modifiers, key) != FALSE;
}

void Win32ShortcutKeys::UnregisterHotKey(int id) {
  if (session_.main != nullptr) ::UnregisterHotKey(session_.main, id);
}

}  // namespace vantrel::win32

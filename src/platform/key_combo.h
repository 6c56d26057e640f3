// A key combination, as a shortcut key of a title is given: a key with the
// modifiers held with it, and its text ("Ctrl+Alt+1"), the form in which the
// settings file keeps it and the messages name it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Modifier bits of a KeyCombo.
inline constexpr unsigned kKeyShift = 1;
inline constexpr unsigned kKeyControl = 2;
inline constexpr unsigned kKeyAlt = 4;
inline constexpr unsigned kKeyWin = 8;

struct KeyCombo {
  int key = 0;  // the system's virtual-key code; 0: no key at all
  unsigned modifiers = 0;
  bool Empty() const { return key == 0; }
  bool operator==(const KeyCombo&) const = default;
};

// "Ctrl+Alt+1", "Shift+Win+F5", "Ctrl+Num 7"; the empty text for no key. A key
// without a name of its own is written as "#" and its code.
std::string KeyComboText(const KeyCombo& combo);
// The combination the text names, modifiers and key names in any case; the
// empty combination for blank text; nothing for text that names no key.
std::optional<KeyCombo> ParseKeyCombo(std::string_view text);

// The rule for a title's shortcut key, wherever it comes from (the settings
// file, the rename dialog, registration): it holds Ctrl, Alt or Win, since a
// key alone, or with Shift alone, would be taken from every program.
bool IsShortcutKey(const KeyCombo& combo);
// What a key pressed for a shortcut becomes: one that breaks the rule goes
// with Ctrl+Alt instead of its own modifiers, as the system's hot-key box has
// it; no key stays no key.
KeyCombo AsShortcutKey(const KeyCombo& pressed);

}  // namespace vantrel

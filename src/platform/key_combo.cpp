#include "platform/key_combo.h"

#include <cstddef>

#include "platform/utf8.h"

namespace vantrel {
namespace {

struct NamedKey {
  int key;
  const char* name;
};

// Keys whose names are not their own character. Letters and digits are
// their characters, F1 to F24 and the number pad are made up below.
constexpr NamedKey kNamedKeys[] = {
    {0x08, "Backspace"},   {0x09, "Tab"},       {0x0D, "Enter"}, {0x13, "Pause"},  {0x20, "Space"},
    {0x21, "Page Up"},     {0x22, "Page Down"}, {0x23, "End"},   {0x24, "Home"},   {0x25, "Left"},
    {0x26, "Up"},          {0x27, "Right"},     {0x28, "Down"},  {0x2D, "Insert"}, {0x2E, "Delete"},
    {0x6A, "Num *"},       {0x6B, "Num +"},     {0x6D, "Num -"}, {0x6E, "Num ."},  {0x6F, "Num /"},
    {0x91, "Scroll Lock"}, {0xBA, ";"},         {0xBB, "="},     {0xBC, ","},      {0xBD, "-"},
    {0xBE, "."},           {0xBF, "/"},         {0xC0, "`"},     {0xDB, "["},      {0xDC, "\\"},
    {0xDD, "]"},           {0xDE, "'"},
};

constexpr struct {
  unsigned bit;
  const char* name;
} kModifierNames[] = {
    {kKeyControl, "Ctrl+"}, {kKeyAlt, "Alt+"}, {kKeyShift, "Shift+"}, {kKeyWin, "Win+"}};

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

std::string KeyName(int key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::string(1, static_cast<char>(key));
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x70 + 1);
  if (key >= 0x60 && key <= 0x69) return "Num " + std::to_string(key - 0x60);
  for (const NamedKey& named : kNamedKeys)
    if (named.key == key) return named.name;
  return "#" + std::to_string(key);
}

// A decimal number of one to three digits, as key codes and F-key numbers are.
std::optional<int> Number(std::string_view digits) {
  if (digits.empty() || digits.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<int> KeyOfName(std::string_view name) {
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= '0' && c <= '9') return c;
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if (c >= 'A' && c <= 'Z') return c;
  }
  for (const NamedKey& named : kNamedKeys)
    if (SameText(name, named.name)) return named.key;
  if (name.size() >= 2 && AsciiLower(name[0]) == 'f') {
    if (auto n = Number(name.substr(1)); n && *n >= 1 && *n <= 24) return 0x70 + *n - 1;
  }
  if (name.size() == 5 && SameText(name.substr(0, 4), "num ")) {
    if (auto n = Number(name.substr(4))) return 0x60 + *n;
  }
  if (name.size() >= 2 && name[0] == '#') {
    if (auto n = Number(name.substr(1)); n && *n >= 1 && *n <= 254) return *n;
  }
  return std::nullopt;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string KeyComboText(const KeyCombo& combo) {
  if (combo.Empty()) return "";
  std::string text;
  for (const auto& modifier : kModifierNames)
    if ((combo.modifiers & modifier.bit) != 0) text += modifier.name;
  return text + KeyName(combo.key);
}

std::optional<KeyCombo> ParseKeyCombo(std::string_view text) {
  text = Trim(text);
  KeyCombo combo;
  if (text.empty()) return combo;
  // Modifiers come first, each with its "+"; what is left names the key, which
  // may hold a "+" of its own ("Ctrl+Num +").
  for (bool found = true; found;) {
    found = false;
    for (const auto& modifier : kModifierNames) {
      const std::string_view name = modifier.name;
      if (text.size() > name.size() && SameText(text.substr(0, name.size()), name)) {
        combo.modifiers |= modifier.bit;
        text = Trim(text.substr(name.size()));
        found = true;
      }
    }
  }
  const std::optional<int> key = KeyOfName(text);
  if (!key) return std::nullopt;
  combo.key = *key;
  return combo;
}

bool IsShortcutKey(const KeyCombo& combo) {
  return !combo.Empty() && (combo.modifiers & (kKeyControl | kKeyAlt | kKeyWin)) != 0;
}

KeyCombo AsShortcutKey(const KeyCombo& pressed) {
  if (pressed.Empty() || IsShortcutKey(pressed)) return pressed;
  return {pressed.key, kKeyControl | kKeyAlt};
}

}  // namespace vantrel

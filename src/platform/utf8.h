// UTF-8, the program's one text encoding: validity, characters and the UTF-16
// that the settings file and the system may use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The number of characters (code points); a byte that starts no valid
// sequence counts as one.
std::size_t Utf8Length(std::string_view text);

// The text's first `characters` characters, never a part of one.
std::string_view Utf8Prefix(std::string_view text, std::size_t characters);

void AppendUtf8(std::string& out, char32_t codePoint);

// The text with every letter that has a case in its folded form (Unicode's
// simple case folding), so that two names can be compared without regard to
// case; bytes that start no valid sequence stay as they are.
std::string FoldCase(std::string_view text);

// The case of ASCII letters alone, for the system's names (paths, options,
// keys), which compare without regard to it.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
std::string AsciiLower(std::string_view text);
// The text without the blanks (spaces and tabs) at its ends.
std::string_view TrimBlanks(std::string_view text);

// Little-endian UTF-16 bytes (no BOM) to UTF-8 and back. A lone surrogate is
// kept as its own three-byte form, so that every unit comes back as it was; an
// odd last byte is dropped.
std::string Utf16LeToUtf8(std::string_view bytes);
std::string Utf8ToUtf16Le(std::string_view text);

}  // namespace vantrel

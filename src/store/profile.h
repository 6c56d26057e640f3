// The settings file's profile (INI) format, kept by us so that a write changes
// only its own line and every other byte of the file stays as it was.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The longest value a read returns (the reading room holds 2048 with its NUL).
inline constexpr std::size_t kMaxValueLength = 2047;

// The value of the first matching key in the first matching section, after the
// blank and quote rules; nothing when the section or key is absent.
std::optional<std::string> ProfileFind(std::string_view contents, std::string_view section,
                                       std::string_view key);

// ReadValue's rule: the found value cut to 2047 characters, or the default
// without its trailing blanks (also cut).
std::string ProfileRead(std::string_view contents, std::string_view section, std::string_view key,
                        std::string_view defaultValue);

// The file's new contents after writing one value: the first matching entry
// line replaced, or a new line after the section's last entry, or a new section
// at the end. Every other line stays byte for byte in its place.
std::string ProfileWrite(std::string_view contents, std::string_view section,
                         std::string_view key, std::string_view value);

}  // namespace vantrel

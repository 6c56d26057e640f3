// The current user's registry (HKEY_CURRENT_USER), as the Windows rules read
// and write it: existing keys opened with full access, values as raw bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

enum class RegType { None, String, ExpandString, Dword, Binary, Other };

struct RegValue {
  RegType type = RegType::None;
  std::string data;  // raw bytes as stored (a string value includes its NUL)
};

// Opaque handle of an open registry key; 0 is never a valid handle.
using RegHandle = std::uintptr_t;

class Registry {
 public:
  // Opens an existing key with full access, never creating it; 0 on failure.
  virtual RegHandle RegOpenKey(const std::string& subKey) = 0;
  // The value's type and raw data; nothing when absent or unreadable.
  virtual std::optional<RegValue> RegQueryValue(RegHandle key, const std::string& name) = 0;
  virtual bool RegSetValue(RegHandle key, const std::string& name, const RegValue& value) = 0;
  virtual bool RegDeleteValue(RegHandle key, const std::string& name) = 0;
  virtual void RegCloseKey(RegHandle key) = 0;

 protected:
  ~Registry() = default;
};

}  // namespace vantrel

// The current user's registry on Windows (the ...A functions under
// HKEY_CURRENT_USER), values as raw bytes.
#pragma once

#include "platform/windows_rules/registry.h"

namespace vantrel::win32 {

class Win32Registry final : public Registry {
 public:
  RegHandle RegOpenKey(const std::string& subKey) override;
  std::optional<RegValue> RegQueryValue(RegHandle key, const std::string& name) override;
  bool RegSetValue(RegHandle key, const std::string& name, const RegValue& value) override;
  bool RegDeleteValue(RegHandle key, const std::string& name) override;
  void RegCloseKey(RegHandle key) override;
};

}  // namespace vantrel::win32

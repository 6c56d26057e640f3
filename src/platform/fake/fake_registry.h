// The current user's registry for tests, in memory: keys and values as the
// test puts them (key paths and value names compare without case), keys that
// refuse to open, writes and deletes that fail, and a count of open keys.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows_rules/registry.h"

namespace vantrel {

class FakeRegistry : public Registry {
 public:
  void RegCreateKey(const std::string& subKey);
  void RegRemoveKey(const std::string& subKey);
  void RegPut(const std::string& subKey, const std::string& name, RegValue value);
  void RegPutString(const std::string& subKey, const std::string& name, const std::string& text);
  void RegPutDword(const std::string& subKey, const std::string& name, std::uint32_t number);
  std::optional<RegValue> RegGet(const std::string& subKey, const std::string& name) const;
  std::vector<std::string> deniedKeys;  // cannot be opened with full access
  bool regWritesFail = false;
  bool regDeletesFail = false;
  int openKeys = 0;  // keys opened and not yet closed

  RegHandle RegOpenKey(const std::string& subKey) override;
  std::optional<RegValue> RegQueryValue(RegHandle key, const std::string& name) override;
  bool RegSetValue(RegHandle key, const std::string& name, const RegValue& value) override;
  bool RegDeleteValue(RegHandle key, const std::string& name) override;
  void RegCloseKey(RegHandle key) override;

 private:
  struct StoredValue {
    std::string name;
    RegValue value;
  };
  using KeyData = std::map<std::string, StoredValue>;  // by lower-case name
  std::map<std::string, KeyData> keys_;                // by lower-case key path
  std::map<RegHandle, std::string> handles_;
  RegHandle nextHandle_ = 1;
};

}  // namespace vantrel

// A key of the current user's registry, opened for one operation and closed at
// its end, with the read and write rules the program relies on.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windows_rules/registry.h"

namespace vantrel {

class RegistryKey {
 public:
  RegistryKey(Registry& registry, const std::string& subKey);  // never creates the key
  ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool IsOpen() const { return handle_ != 0; }
  bool ValueExists(const std::string& name);
  bool DeleteValue(const std::string& name);
  // Text up to its first NUL; an absent value or empty data gives "". Data of a
  // type other than a string raises "Invalid data type for '<name>'".
  std::string ReadString(const std::string& name);
  // A 32-bit integer: absent or longer than 4 bytes raises "Failed to get data
  // for '<name>'"; another type raises "Invalid data type for '<name>'".
  std::uint32_t ReadInteger(const std::string& name);
  // Failures raise "Failed to set data for '<name>'".
  void WriteString(const std::string& name, const std::string& text);
  void WriteInteger(const std::string& name, std::uint32_t value);

 private:
  Registry& registry_;
  RegHandle handle_ = 0;
};

}  // namespace vantrel

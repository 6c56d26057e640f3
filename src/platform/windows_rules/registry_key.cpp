// A registry key opened for one operation, and its read and write rules.
#include "platform/windows_rules/registry_key.h"

#include <cstring>

#include "platform/errors.h"

namespace vantrel {

RegistryKey::RegistryKey(Registry& registry, const std::string& subKey)
    : registry_(registry), handle_(registry.RegOpenKey(subKey)) {}

RegistryKey::~RegistryKey() {
  if (handle_ != 0) registry_.RegCloseKey(handle_);
}

bool RegistryKey::ValueExists(const std::string& name) {
  return handle_ != 0 && registry_.RegQueryValue(handle_, name).has_value();
}

bool RegistryKey::DeleteValue(const std::string& name) {
  return handle_ != 0 && registry_.RegDeleteValue(handle_, name);
}

std::string RegistryKey::ReadString(const std::string& name) {
  auto value = registry_.RegQueryValue(handle_, name);
  if (!value || value->data.empty()) return "";
  if (value->type != RegType::String && value->type != RegType::ExpandString)
    throw VantrelError("Invalid data type for '" + name + "'");
  const std::string& d = value->data;
  return d.substr(0, d.find('\0'));
}

std::uint32_t RegistryKey::ReadInteger(const std::string& name) {
  auto value = registry_.RegQueryValue(handle_, name);
  if (!value || value->data.size() > 4) throw VantrelError("Failed to get data for '" + name + "'");
  if (value->type != RegType::Dword) throw VantrelError("Invalid data type for '" + name + "'");
  std::uint32_t result = 0;
  std::memcpy(&result, value->data.data(), value->data.size());
  return result;
}

void RegistryKey::WriteString(const std::string& name, const std::string& text) {
  // Stored with its terminating NUL counted, as the system expects of REG_SZ.
  RegValue value{RegType::String, text.substr(0, text.find('\0')) + std::string(1, '\0')};
  if (handle_ == 0 || !registry_.RegSetValue(handle_, name, value))
    throw VantrelError("Failed to set data for '" + name + "'");
}

void RegistryKey::WriteInteger(const std::string& name, std::uint32_t number) {
  RegValue value{RegType::Dword, std::string(4, '\0')};
  std::memcpy(value.data.data(), &number, 4);
  if (handle_ == 0 || !registry_.RegSetValue(handle_, name, value))
    throw VantrelError("Failed to set data for '" + name + "'");
}

}  // namespace vantrel

// The current user's registry through the ...A functions, values as raw bytes.
#include "platform/win32/registry.h"

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {
namespace {

RegType ToRegType(DWORD type) {
  switch (type) {
    case REG_SZ:
      return RegType::String;
    case REG_EXPAND_SZ:
      return RegType::ExpandString;
    case REG_DWORD:
      return RegType::Dword;
    case REG_BINARY:
      return RegType::Binary;
    default:
      return RegType::Other;
  }
}

DWORD FromRegType(RegType type) {
  switch (type) {
    case RegType::String:
      return REG_SZ;
    case RegType::ExpandString:
      return REG_EXPAND_SZ;
    case RegType::Dword:
      return REG_DWORD;
    case RegType::Binary:
      return REG_BINARY;
    case RegType::None:
      return REG_NONE;
    case RegType::Other:
      return REG_BINARY;
  }
  return REG_BINARY;
}

}  // namespace

RegHandle Win32Registry::RegOpenKey(const std::string& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return 0;
  return reinterpret_cast<RegHandle>(key);
}

std::optional<RegValue> Win32Registry::RegQueryValue(RegHandle key, const std::string& name) {
  auto hkey = reinterpret_cast<HKEY>(key);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(hkey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  // The value may grow between the two calls: ask again with the new size.
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::string data(size, '\0');
    DWORD got = size;
    LONG status = RegQueryValueExA(hkey, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &got);
    if (status == ERROR_SUCCESS) {
      data.resize(got);
      return RegValue{ToRegType(type), std::move(data)};
    }
    if (status != ERROR_MORE_DATA) return std::nullopt;
    size = got > size ? got : size * 2 + 16;
  }
  return std::nullopt;
}

bool Win32Registry::RegSetValue(RegHandle key, const std::string& name, const RegValue& value) {
  return RegSetValueExA(reinterpret_cast<HKEY>(key), name.c_str(), 0, FromRegType(value.type),
                        reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32Registry::RegDeleteValue(RegHandle key, const std::string& name) {
  return RegDeleteValueA(reinterpret_cast<HKEY>(key), name.c_str()) == ERROR_SUCCESS;
}

void Win32Registry::RegCloseKey(RegHandle key) {
  if (key != 0) ::RegCloseKey(reinterpret_cast<HKEY>(key));
}

}  // namespace vantrel::win32

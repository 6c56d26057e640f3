// The fake registry: keys and values in memory, compared without case.
#include "platform/fake/fake_registry.h"

#include <stdexcept>

#include "platform/utf8.h"

namespace vantrel {

void FakeRegistry::RegCreateKey(const std::string& subKey) { keys_[AsciiLower(subKey)]; }
void FakeRegistry::RegRemoveKey(const std::string& subKey) { keys_.erase(AsciiLower(subKey)); }

void FakeRegistry::RegPut(const std::string& subKey, const std::string& name, RegValue value) {
  keys_[AsciiLower(subKey)][AsciiLower(name)] = {name, std::move(value)};
}

void FakeRegistry::RegPutString(const std::string& subKey, const std::string& name,
                                const std::string& text) {
  RegPut(subKey, name, {RegType::String, text + std::string(1, '\0')});
}

void FakeRegistry::RegPutDword(const std::string& subKey, const std::string& name,
                               std::uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  RegPut(subKey, name, {RegType::Dword, bytes});
}

std::optional<RegValue> FakeRegistry::RegGet(const std::string& subKey,
                                             const std::string& name) const {
  auto key = keys_.find(AsciiLower(subKey));
  if (key == keys_.end()) return std::nullopt;
  auto value = key->second.find(AsciiLower(name));
  if (value == key->second.end()) return std::nullopt;
  return value->second.value;
}

RegHandle FakeRegistry::RegOpenKey(const std::string& subKey) {
  const std::string k = AsciiLower(subKey);
  if (!keys_.count(k)) return 0;
  for (const auto& denied : deniedKeys)
    if (AsciiLower(denied) == k) return 0;
  handles_[nextHandle_] = k;
  ++openKeys;
  return nextHandle_++;
}

std::optional<RegValue> FakeRegistry::RegQueryValue(RegHandle key, const std::string& name) {
  auto h = handles_.find(key);
  if (h == handles_.end()) throw std::logic_error("query on a closed registry key");
  auto& values = keys_[h->second];
  auto v = values.find(AsciiLower(name));
  if (v == values.end()) return std::nullopt;
  return v->second.value;
}

bool FakeRegistry::RegSetValue(RegHandle key, const std::string& name, const RegValue& value) {
  auto h = handles_.find(key);
  if (h == handles_.end()) throw std::logic_error("write on a closed registry key");
  if (regWritesFail) return false;
  keys_[h->second][AsciiLower(name)] = {name, value};
  return true;
}

bool FakeRegistry::RegDeleteValue(RegHandle key, const std::string& name) {
  auto h = handles_.find(key);
  if (h == handles_.end()) throw std::logic_error("delete on a closed registry key");
  if (regDeletesFail) return false;
  return keys_[h->second].erase(AsciiLower(name)) > 0;
}

void FakeRegistry::RegCloseKey(RegHandle key) {
  if (handles_.erase(key) == 0) throw std::logic_error("registry key closed twice");
  --openKeys;
}

}  // namespace vantrel

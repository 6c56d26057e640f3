#include "store/entry_kind.h"

#include "platform/utf8.h"

namespace vantrel {

bool IsWebEntry(const std::string& entry) {
  return AsciiLower(entry).find("http") != std::string::npos;
}

bool IsProgramEntry(const std::string& entry) {
  if (IsWebEntry(entry)) return false;
  const auto dot = entry.find_last_of('.');
  const auto slash = entry.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  const std::string extension = AsciiLower(entry.substr(dot));
  return extension == ".exe" || extension == ".com";
}

}  // namespace vantrel

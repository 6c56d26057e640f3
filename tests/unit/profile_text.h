// One look-up or one write on a settings file's bytes, for tests that compare
// files as text.
#pragma once

#include <string>
#include <string_view>

#include "store/profile.h"

namespace vantrel {

inline std::string ProfileRead(std::string_view contents, std::string_view section,
                               std::string_view key, std::string_view defaultValue) {
  return ProfileDocument(std::string(contents)).Read(section, key, defaultValue);
}

inline std::string ProfileWrite(std::string_view contents, std::string_view section,
                                std::string_view key, std::string_view value) {
  ProfileDocument document{std::string(contents)};
  document.Write(section, key, value);
  return document.Bytes();
}

}  // namespace vantrel

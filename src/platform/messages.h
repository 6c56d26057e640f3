// The message boxes the program shows, by kind.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vantrel {

inline void ShowWarning(Platform& p, const std::string& text) {
  p.ShowMessage(BoxKind::Warning, text, BoxButtons::Ok);
}
inline void ShowInformation(Platform& p, const std::string& text) {
  p.ShowMessage(BoxKind::Information, text, BoxButtons::Ok);
}
inline void ShowPlain(Platform& p, const std::string& text) {
  p.ShowMessage(BoxKind::Plain, text, BoxButtons::Ok);
}
// A warning box with Yes and No; any answer but Yes counts as No.
inline bool AskYes(Platform& p, const std::string& text) {
  return p.ShowMessage(BoxKind::Warning, text, BoxButtons::YesNo) == BoxResult::Yes;
}

}  // namespace vantrel

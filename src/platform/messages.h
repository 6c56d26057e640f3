// The message boxes the program shows, by kind.
#pragma once

#include <string>

#include "platform/dialogs.h"

namespace vantrel {

inline void ShowWarning(Dialogs& d, const std::string& text) {
  d.ShowMessage(BoxKind::Warning, text, BoxButtons::Ok);
}
inline void ShowInformation(Dialogs& d, const std::string& text) {
  d.ShowMessage(BoxKind::Information, text, BoxButtons::Ok);
}
inline void ShowPlain(Dialogs& d, const std::string& text) {
  d.ShowMessage(BoxKind::Plain, text, BoxButtons::Ok);
}
// A warning box with Yes and No; any answer but Yes counts as No.
inline bool AskYes(Dialogs& d, const std::string& text) {
  return d.ShowMessage(BoxKind::Warning, text, BoxButtons::YesNo) == BoxResult::Yes;
}

}  // namespace vantrel

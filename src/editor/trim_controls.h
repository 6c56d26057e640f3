// Small text helpers shared by the editor's dialogs.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The text without leading and trailing characters of codes 0 to 32 (blanks
// and control characters); bytes above 127 are ordinary characters.
std::string_view TrimControls(std::string_view text);

}  // namespace vantrel

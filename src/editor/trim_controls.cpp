#include "editor/trim_controls.h"

namespace vantrel {
namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace vantrel

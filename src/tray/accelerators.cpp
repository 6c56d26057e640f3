#include "tray/accelerators.h"

#include <cstring>
#include <utility>

#include "platform/utf8.h"

namespace vantrel {
namespace {

bool Allowed(char c) {
  return c != '\0' && std::strchr(kAcceleratorChars, AsciiUpper(c)) != nullptr;
}

// Position of the marking "&" in a caption, or npos.
std::size_t MarkPosition(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return i;
    ++i;  // "&&" is a literal ampersand
  }
  return std::string::npos;
}

}  // namespace

char MarkedAccelerator(const std::string& caption) {
  const std::size_t at = MarkPosition(caption);
  return at == std::string::npos ? '\0' : AsciiUpper(caption[at + 1]);
}

std::string WithoutMarks(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == '&') continue;
    out += caption[i];
  }
  return out;
}

void AssignAccelerators(std::vector<std::string>& captions) {
  bool taken[256] = {};  // by character
  auto take = [&taken](char c) {
    return !std::exchange(taken[static_cast<unsigned char>(c)], true);
  };
  std::vector<bool> served(captions.size(), false);
  // Kept marks first, top to bottom, so an item above can only take a character
  // by its own mark.
  for (std::size_t i = 0; i < captions.size(); ++i) {
    const char mark = MarkedAccelerator(captions[i]);
    if (mark != '\0' && take(mark)) served[i] = true;
  }
  for (std::size_t i = 0; i < captions.size(); ++i) {
    if (served[i] || captions[i].empty()) continue;
    const std::size_t old = MarkPosition(captions[i]);
    if (old != std::string::npos) captions[i].erase(old, 1);  // its character went to an item above
    std::size_t pos = 0;
    for (; pos < captions[i].size(); ++pos) {
      const char c = captions[i][pos];
      if (c == '&') {  // a literal "&&" is no candidate
        ++pos;
        continue;
      }
      if (Allowed(c) && !taken[static_cast<unsigned char>(AsciiUpper(c))]) break;
    }
    if (pos >= captions[i].size()) continue;
    take(AsciiUpper(captions[i][pos]));
    captions[i].insert(pos, 1, '&');
  }
}

}  // namespace vantrel

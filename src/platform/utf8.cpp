#include "platform/utf8.h"

#include <algorithm>
#include <iterator>

#include "platform/case_folding_table.h"

namespace vantrel {
namespace {

// The length of the valid sequence at `at` and its code point; 0 when none
// starts there. `loose` also takes the three-byte forms of surrogates.
std::size_t Sequence(std::string_view s, std::size_t at, char32_t& cp, bool loose = false) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(at);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  std::size_t n;
  char32_t min;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (at + n > s.size()) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(at + i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF) return 0;
  if (!loose && cp >= 0xD800 && cp <= 0xDFFF) return 0;
  return n;
}

// Simple case folding: the last run that starts at or before the code point
// is the only one that can hold it.
char32_t FoldedLetter(char32_t cp) {
  using namespace case_folding;
  const auto* run =
      std::upper_bound(std::begin(kRuns), std::end(kRuns), cp,
                       [](char32_t c, std::uint32_t word) { return c < (word & kFirstMask); });
  if (run == std::begin(kRuns)) return cp;
  const std::uint32_t word = *--run;
  const std::uint32_t count = ((word >> kCountShift) & kCountMask) + 1;
  const std::uint32_t step = ((word >> kStepShift) & 1) + 1;
  const std::uint32_t offset = cp - (word & kFirstMask);
  if (offset % step != 0 || offset / step >= count) return cp;
  return (cp & ~char32_t{0xFFFF}) | ((cp + kOffsets[word >> kOffsetShift]) & 0xFFFF);
}

}  // namespace

std::string FoldCase(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp;
    const std::size_t n = Sequence(text, i, cp);
    if (n == 0) {
      out += text[i++];
      continue;
    }
    AppendUtf8(out, FoldedLetter(cp));
    i += n;
  }
  return out;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  const std::size_t size = text.size();
  while (i < size) {
    // Plain ASCII is most of any settings file: skip it eight bytes at a time.
    while (i + 8 <= size) {
      unsigned long long chunk = 0;
      for (int k = 0; k < 8; ++k)
        chunk |= static_cast<unsigned long long>(static_cast<unsigned char>(text[i + k]))
                 << (8 * k);
      if (chunk & 0x8080808080808080ULL) break;
      i += 8;
    }
    if (i >= size) break;
    char32_t cp;
    const std::size_t n = Sequence(text, i, cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    char32_t cp;
    const std::size_t n = Sequence(text, i, cp);
    i += n == 0 ? 1 : n;
  }
  return count;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t characters) {
  std::size_t i = 0;
  for (std::size_t count = 0; count < characters && i < text.size(); ++count) {
    char32_t cp;
    const std::size_t n = Sequence(text, i, cp);
    i += n == 0 ? 1 : n;
  }
  return text.substr(0, i);
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  const auto unit = [&](std::size_t i) -> char32_t {
    return static_cast<unsigned char>(bytes[2 * i]) |
           (static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8);
  };
  for (std::size_t i = 0; i < units; ++i) {
    char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const char32_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, u);
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  const auto put = [&](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>((u >> 8) & 0xFF);
  };
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp;
    std::size_t n = Sequence(text, i, cp, true);
    if (n == 0) {
      cp = 0xFFFD;  // not text: cannot come back as it was in any case
      n = 1;
    }
    i += n;
    if (cp >= 0x10000) {
      put(0xD800 + ((cp - 0x10000) >> 10));
      put(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      put(cp);
    }
  }
  return out;
}

}  // namespace vantrel

#include "store/profile.h"

#include <vector>

namespace vantrel {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// One line of the file: its text without the line end, and where it sits.
struct Line {
  std::size_t begin;    // offset of the text
  std::size_t end;      // offset just past the text (start of the line end)
  std::size_t next;     // offset of the next line
};

enum class LineKind { Other, Section, Entry };

struct Parsed {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section name or key
  std::string_view value;  // entry value, raw
};

Parsed Parse(std::string_view text) {
  const std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';') return {};
  if (t.front() == '[') {
    const auto close = t.find(']');
    if (close == std::string_view::npos) return {};
    return {LineKind::Section, Trim(t.substr(1, close - 1)), {}};
  }
  const auto eq = text.find('=');
  if (eq == std::string_view::npos) return {};
  return {LineKind::Entry, Trim(text.substr(0, eq)), text.substr(eq + 1)};
}

// Calls f(line, parsed) for each line until f returns false. Lines end in
// CR LF, LF or a lone CR; the last one may have no end at all.
template <class F>
void ForEachLine(std::string_view contents, F&& f) {
  std::size_t pos = contents.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
  while (pos < contents.size()) {
    std::size_t end = contents.find_first_of("\r\n", pos);
    std::size_t next;
    if (end == std::string_view::npos) {
      end = next = contents.size();
    } else if (contents[end] == '\r' && end + 1 < contents.size() && contents[end + 1] == '\n') {
      next = end + 2;
    } else {
      next = end + 1;
    }
    const Line line{pos, end, next};
    if (!f(line, Parse(contents.substr(pos, end - pos)))) return;
    pos = next;
  }
}

std::string CutToRoom(std::string_view s) {
  s = s.substr(0, s.find('\0'));  // the value is handed over as a C string
  return std::string(s.substr(0, kMaxValueLength));
}

std::string Unquote(std::string_view raw) {
  std::string_view v = Trim(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

// A value is one line: line breaks inside it would make new lines of the file.
std::string OneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

std::optional<std::string> ProfileFind(std::string_view contents, std::string_view section,
                                       std::string_view key) {
  std::optional<std::string> result;
  enum { Before, Inside, After } state = Before;
  ForEachLine(contents, [&](const Line&, const Parsed& p) {
    if (p.kind == LineKind::Section) {
      if (state == Inside) state = After;
      else if (state == Before && SameText(p.name, section)) state = Inside;
      return state != After;
    }
    if (state == Inside && p.kind == LineKind::Entry && SameText(p.name, key)) {
      result = Unquote(p.value);
      return false;
    }
    return true;
  });
  return result;
}

std::string ProfileRead(std::string_view contents, std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
  if (auto found = ProfileFind(contents, section, key)) return CutToRoom(*found);
  const auto last = defaultValue.find_last_not_of(kBlanks);
  return CutToRoom(defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

std::string ProfileWrite(std::string_view contents, std::string_view section,
                         std::string_view key, std::string_view value) {
  const std::string entry = std::string(key) + "=" + OneLine(value);
  bool inSection = false;
  bool sectionFound = false;
  std::size_t insertAt = 0;  // just past the section's last entry (or its header)
  std::optional<Line> replace;
  ForEachLine(contents, [&](const Line& line, const Parsed& p) {
    if (p.kind == LineKind::Section) {
      if (inSection) return false;
      if (SameText(p.name, section)) {
        inSection = sectionFound = true;
        insertAt = line.next;
      }
      return true;
    }
    if (inSection && p.kind == LineKind::Entry) {
      if (SameText(p.name, key)) {
        replace = line;
        return false;
      }
      insertAt = line.next;
    }
    return true;
  });

  std::string out;
  out.reserve(contents.size() + entry.size() + section.size() + 8);
  if (replace) {
    out.append(contents.substr(0, replace->begin));
    out.append(entry);
    out.append(contents.substr(replace->end));
    return out;
  }
  // New lines follow a line that has its end; a last line without one gets it.
  const std::size_t bom = contents.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
  auto appendAfter = [&](std::size_t at, const std::string& lines) {
    out.append(contents.substr(0, at));
    if (at > bom && contents[at - 1] != '\n' && contents[at - 1] != '\r') out.append("\r\n");
    out.append(lines);
    out.append(contents.substr(at));
  };
  if (sectionFound) {
    appendAfter(insertAt, entry + "\r\n");
  } else {
    appendAfter(contents.size(), "[" + std::string(section) + "]\r\n" + entry + "\r\n");
  }
  return out;
}

}  // namespace vantrel

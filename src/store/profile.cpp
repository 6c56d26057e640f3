#include "store/profile.h"

#include <algorithm>
#include <cstring>

#include "platform/utf8.h"

namespace vantrel {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// Names match without regard to the case of ASCII letters.
std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Calls f(begin, end, next) for each line: its text runs from begin to end,
// the next line starts at next. Lines end in CR LF, LF or a lone CR; the last
// one may have no end at all.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  const std::size_t size = text.size();
  std::size_t pos = 0;
  while (pos < size) {
    std::size_t end = pos;
    while (end < size && !IsLineEnd(text[end])) ++end;
    std::size_t next = end;
    if (next < size)
      next += text[next] == '\r' && next + 1 < size && text[next + 1] == '\n' ? 2 : 1;
    f(pos, end, next);
    pos = next;
  }
}

// The same on UTF-16LE units (two bytes each; an even number of bytes).
template <class F>
void ForEachUtf16Line(std::string_view bytes, F&& f) {
  const std::size_t size = bytes.size();
  const auto unit = [&](std::size_t i) {
    return bytes[i + 1] == 0 && IsLineEnd(bytes[i]) ? bytes[i] : '\0';
  };
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = pos;
    while (end < size && unit(end) == '\0') end += 2;
    std::size_t next = end;
    if (next < size)
      next += unit(next) == '\r' && next + 2 < size && unit(next + 2) == '\n' ? 4 : 2;
    f(pos, end, next);
    pos = next;
  }
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string Unquote(std::string_view raw) {
  std::string_view v = Trim(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

std::string CutToValueLimit(std::string_view s) {
  s = s.substr(0, s.find('\0'));  // the value is handed over as a C string
  return std::string(Utf8Prefix(s, kMaxValueLength));
}

// A value is one line: line breaks inside it would make new lines of the file.
std::string OneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out)
    if (IsLineEnd(c)) c = ' ';
  return out;
}

// A section line's name, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const auto close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

}  // namespace

ProfileDocument::ProfileDocument(std::string bytes, const LegacyCodePage* codePage) {
  Load(std::move(bytes), codePage, false);
}

void ProfileDocument::Load(std::string bytes, const LegacyCodePage* codePage, bool forceUtf8) {
  raw_ = std::move(bytes);
  const std::string_view raw = raw_;
  bom_ = 0;
  decoded_.clear();
  spans_.clear();
  sections_.clear();
  lines_.clear();
  replaced_.clear();
  inserted_.clear();
  if (raw.substr(0, kUtf16Bom.size()) == kUtf16Bom) {
    encoding_ = TextEncoding::Utf16Le;
    bom_ = kUtf16Bom.size();
  } else if (raw.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    encoding_ = TextEncoding::Utf8Bom;
    bom_ = kUtf8Bom.size();
  } else {
    encoding_ = forceUtf8 || IsValidUtf8(raw) ? TextEncoding::Utf8 : TextEncoding::Legacy;
  }

  // A file that is not UTF-8 is decoded line by line, so that each line's
  // bytes can be given back as they were.
  if (encoding_ == TextEncoding::Utf16Le || encoding_ == TextEncoding::Legacy) {
    decoded_.reserve(raw.size());
    auto add = [&](std::size_t begin, std::size_t end, std::size_t next, std::string text,
                   std::string_view lineEnd) {
      const std::size_t at = decoded_.size();
      decoded_ += text;
      spans_.push_back({at, decoded_.size(), begin, end});
      decoded_ += lineEnd;
      (void)next;
    };
    if (encoding_ == TextEncoding::Utf16Le) {
      ForEachUtf16Line(raw.substr(bom_, raw.size() - bom_ - OddByte()),
                       [&](std::size_t b, std::size_t e, std::size_t n) {
                         add(bom_ + b, bom_ + e, bom_ + n,
                             Utf16LeToUtf8(raw.substr(bom_ + b, e - b)),
                             n - e == 4   ? "\r\n"
                             : n - e == 2 ? (raw[bom_ + e] == '\r' ? "\r" : "\n")
                                          : "");
                       });
    } else {
      ForEachLine(raw, [&](std::size_t b, std::size_t e, std::size_t n) {
        const std::string_view line = raw.substr(b, e - b);
        std::string text =
            IsAscii(line) || codePage == nullptr ? std::string(line) : codePage->ToUtf8(line);
        add(b, e, n, std::move(text), raw.substr(e, n - e));
      });
    }
  }

  // Only the section lines are looked at now, found by their "[" (a section's
  // keys when it is asked for), so that a large file costs little more than
  // its reading.
  const std::string_view text = Text();
  Section* open = nullptr;
  for (std::size_t pos = 0; pos < text.size();) {
    const void* found = std::memchr(text.data() + pos, '[', text.size() - pos);
    if (found == nullptr) break;
    const std::size_t bracket =
        static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    std::size_t begin = bracket;
    while (begin > 0 && (text[begin - 1] == ' ' || text[begin - 1] == '\t')) --begin;
    pos = bracket + 1;
    if (begin > 0 && !IsLineEnd(text[begin - 1])) continue;  // not the line's first mark
    std::size_t end = bracket;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    std::size_t next = end;
    if (next < text.size())
      next += text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1;
    pos = next;
    const auto name = SectionName(text.substr(begin, end - begin));
    if (!name) continue;
    if (open != nullptr) open->bodyEnd = begin;
    open = nullptr;
    auto [it, added] = sections_.try_emplace(Lower(*name));
    if (!added) continue;
    open = &it->second;
    open->bodyBegin = open->insertAt = next;
  }
  if (open != nullptr) open->bodyEnd = text.size();
}

std::string_view ProfileDocument::Text() const {
  if (encoding_ == TextEncoding::Utf16Le || encoding_ == TextEncoding::Legacy) return decoded_;
  return std::string_view(raw_).substr(bom_);
}

std::size_t ProfileDocument::RawAt(std::size_t textPos) const {
  if (encoding_ != TextEncoding::Utf16Le && encoding_ != TextEncoding::Legacy)
    return bom_ + textPos;
  if (spans_.empty() || textPos >= decoded_.size()) return raw_.size() - OddByte();
  auto it = std::upper_bound(spans_.begin(), spans_.end(), textPos,
                             [](std::size_t v, const Span& s) { return v < s.textBegin; });
  --it;
  return textPos == it->textBegin ? it->rawBegin : it->rawEnd;
}

void ProfileDocument::IndexKeys(Section& section) const {
  section.indexed = true;
  const std::string_view text = Text();
  const std::string_view body = text.substr(section.bodyBegin, section.bodyEnd - section.bodyBegin);
  ForEachLine(body, [&](std::size_t b, std::size_t e, std::size_t n) {
    const std::string_view line = body.substr(b, e - b);
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return;
    const std::size_t at = section.bodyBegin;
    Entry entry;
    entry.lineBegin = at + b;
    entry.lineEnd = at + e;
    entry.valueBegin = at + b + eq + 1;
    entry.valueEnd = at + e;
    section.keys.try_emplace(Lower(Trim(line.substr(0, eq))), entry);
    section.insertAt = at + n;
  });
}

std::optional<std::string> ProfileDocument::Find(std::string_view section,
                                                 std::string_view key) const {
  const auto s = sections_.find(Lower(section));
  if (s == sections_.end()) return std::nullopt;
  if (!s->second.indexed) IndexKeys(s->second);
  const auto e = s->second.keys.find(Lower(key));
  if (e == s->second.keys.end()) return std::nullopt;
  const Entry& entry = e->second;
  if (entry.written) {
    const std::string& line = lines_[*entry.written].text;
    return Unquote(std::string_view(line).substr(line.find('=') + 1));
  }
  return Unquote(Text().substr(entry.valueBegin, entry.valueEnd - entry.valueBegin));
}

std::string ValueAsRead(const std::optional<std::string>& found, std::string_view defaultValue) {
  if (found) return CutToValueLimit(*found);
  const auto last = defaultValue.find_last_not_of(kBlanks);
  return CutToValueLimit(defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

std::string ProfileDocument::Read(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  return ValueAsRead(Find(section, key), defaultValue);
}

std::size_t ProfileDocument::AddLine(std::string text, const LegacyCodePage* codePage) {
  std::string withEnd = text + "\r\n";
  std::string bytes;
  switch (encoding_) {
    case TextEncoding::Utf16Le:
      bytes = Utf8ToUtf16Le(withEnd);
      break;
    case TextEncoding::Legacy:
      bytes = codePage == nullptr ? withEnd : codePage->FromUtf8(withEnd).value_or(withEnd);
      break;
    default:
      bytes = std::move(withEnd);
  }
  lines_.push_back({std::move(text), std::move(bytes)});
  return lines_.size() - 1;
}

void ProfileDocument::Write(std::string_view section, std::string_view key, std::string_view value,
                            const LegacyCodePage* codePage) {
  const std::string entryLine = std::string(key) + "=" + OneLine(value);
  const std::string sectionLine = "[" + std::string(section) + "]";
  if (encoding_ == TextEncoding::Legacy && codePage != nullptr &&
      (!codePage->FromUtf8(entryLine) || !codePage->FromUtf8(sectionLine))) {
    // Never a file of two encodings: the whole file becomes UTF-8, every
    // line with the text it had.
    Load(Assemble(true), codePage, true);
  }

  const std::string sectionName = Lower(section);
  const auto s = sections_.find(sectionName);
  if (s == sections_.end()) {
    const std::size_t end = Text().size();
    Section added;
    added.indexed = true;
    added.insertAt = end;
    auto& group = inserted_[end];
    group.push_back(AddLine(sectionLine, codePage));
    group.push_back(AddLine(entryLine, codePage));
    added.lastNew = group.back();
    added.keys[Lower(key)].written = group.back();
    sections_.emplace(sectionName, std::move(added));
    return;
  }
  Section& found = s->second;
  if (!found.indexed) IndexKeys(found);
  const std::string keyName = Lower(key);
  const auto e = found.keys.find(keyName);
  if (e != found.keys.end()) {
    Entry& entry = e->second;
    if (entry.written) {
      const std::size_t fresh = AddLine(entryLine, codePage);
      lines_[*entry.written] = std::move(lines_[fresh]);
      lines_.pop_back();
    } else {
      entry.written = AddLine(entryLine, codePage);
      replaced_[entry.lineBegin] = {entry.lineEnd, *entry.written};
    }
    return;
  }
  auto& group = inserted_[found.insertAt];
  const auto after =
      found.lastNew ? std::find(group.begin(), group.end(), *found.lastNew) + 1 : group.begin();
  const std::size_t line = AddLine(entryLine, codePage);
  group.insert(after, line);
  found.lastNew = line;
  found.keys[keyName].written = line;
}

std::string ProfileDocument::Assemble(bool asText) const {
  const std::string_view text = Text();
  std::string out;
  out.reserve(raw_.size() + 64 * lines_.size());
  auto original = [&](std::size_t from, std::size_t to) {
    if (asText) {
      out.append(text.substr(from, to - from));
    } else {
      const std::size_t a = RawAt(from);
      out.append(raw_, a, RawAt(to) - a);
    }
  };
  auto added = [&](const NewLine& line, bool withEnd) {
    if (asText)
      out.append(line.text).append(withEnd ? "\r\n" : "");
    else if (withEnd)
      out.append(line.bytes);
    else  // the line's bytes without their own line end
      out.append(line.bytes, 0, line.bytes.size() - (encoding_ == TextEncoding::Utf16Le ? 4 : 2));
  };
  if (!asText) out.append(raw_, 0, bom_);

  std::size_t pos = 0;
  auto ins = inserted_.begin();
  auto rep = replaced_.begin();
  for (;;) {
    const std::size_t nextIns = ins == inserted_.end() ? text.size() + 1 : ins->first;
    const std::size_t nextRep = rep == replaced_.end() ? text.size() + 1 : rep->first;
    const std::size_t next = std::min({nextIns, nextRep, text.size()});
    original(pos, next);
    pos = next;
    if (nextIns == pos) {
      // New lines follow a line that has its end; a last line without one gets it.
      if (pos > 0 && !IsLineEnd(text[pos - 1]))
        out.append(!asText && encoding_ == TextEncoding::Utf16Le ? std::string_view("\r\0\n\0", 4)
                                                                 : std::string_view("\r\n"));
      for (std::size_t line : ins->second) added(lines_[line], true);
      ++ins;
      continue;
    }
    if (nextRep == pos) {
      added(lines_[rep->second.second], false);
      pos = rep->second.first;
      ++rep;
      continue;
    }
    break;
  }
  if (!asText) out.append(raw_, raw_.size() - OddByte(), OddByte());
  return out;
}

std::optional<std::string> ProfileFind(std::string_view contents, std::string_view section,
                                       std::string_view key) {
  return ProfileDocument(std::string(contents)).Find(section, key);
}

std::string ProfileRead(std::string_view contents, std::string_view section, std::string_view key,
                        std::string_view defaultValue) {
  return ProfileDocument(std::string(contents)).Read(section, key, defaultValue);
}

std::string ProfileWrite(std::string_view contents, std::string_view section, std::string_view key,
                         std::string_view value) {
  ProfileDocument document{std::string(contents)};
  document.Write(section, key, value);
  return document.Bytes();
}

}  // namespace vantrel

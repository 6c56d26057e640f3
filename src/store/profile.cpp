#include "store/profile.h"

#include <algorithm>
#include <cstring>

#include "platform/utf8.h"

namespace vantrel {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) { return TrimBlanks(s); }

// Names match without regard to the case of ASCII letters.
std::string Lower(std::string_view s) { return AsciiLower(s); }

bool IsLineEnd(char32_t c) { return c == '\r' || c == '\n'; }
bool IsBlank(char32_t c) { return c == ' ' || c == '\t'; }

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string SwappedUnits(std::string_view bytes) {
  std::string out(bytes);
  for (std::size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);
  return out;
}

// How much of a file without a BOM tells UTF-16LE from 8-bit text.
constexpr std::size_t kSniffBytes = 4096;

// UTF-16LE without a BOM, told from 8-bit text by its first bytes: its line
// ends are units (a CR or LF byte at an even offset, then a zero byte), and its
// zero bytes are the high bytes of units, where 8-bit text has none or runs of
// them (a range of zeros that a crash or a power loss left). Without a line
// end, most units must be Latin-1 ones.
bool LooksLikeUtf16Le(std::string_view raw) {
  raw = raw.substr(0, kSniffBytes);
  std::size_t units = 0, latin = 0, zero = 0, ends = 0, unitEnds = 0;
  for (std::size_t i = 0; i + 1 < raw.size(); i += 2, ++units) {
    const auto low = static_cast<unsigned char>(raw[i]);
    const bool highZero = raw[i + 1] == '\0';
    if (highZero) ++(low == 0 ? zero : latin);
    if (IsLineEnd(low)) {
      ++ends;
      if (highZero) ++unitEnds;
    }
  }
  if (latin <= 2 * zero) return false;
  return ends > 0 ? unitEnds * 2 > ends : latin * 2 > units;
}

// A line's part in deciding an 8-bit file's encoding: +1 not UTF-8, -1 UTF-8
// and not ASCII.
std::ptrdiff_t Weight(std::string_view line) {
  if (IsAscii(line)) return 0;
  return IsValidUtf8(line) ? -1 : 1;
}

std::string Unquote(std::string_view raw) { return std::string(ReadRule(raw)); }

std::string CutToValueLimit(std::string_view s) {
  s = s.substr(0, s.find('\0'));  // the value is handed over as a C string
  return std::string(Utf8Prefix(s, kMaxValueLength));
}

// A value is one line: line breaks inside it would make new lines of the file,
// and it ends at a NUL as a read hands it over.
std::string OneLine(std::string_view value) {
  std::string out(value.substr(0, value.find('\0')));
  for (char& c : out)
    if (IsLineEnd(static_cast<unsigned char>(c))) c = ' ';
  return out;
}

// Bytes that are no UTF-8, given as a value for an 8-bit file, are text as a
// line of such bytes reads: through the code page.
std::string AsText(std::string_view value, const LegacyCodePage* codePage) {
  if (codePage == nullptr || IsValidUtf8(value)) return std::string(value);
  return codePage->ToUtf8(value);
}

// Whether bytes in the code page would read back as UTF-8 text instead.
bool ReadsAsUtf8(std::string_view bytes) { return !IsAscii(bytes) && IsValidUtf8(bytes); }

}  // namespace

ProfileDocument::ProfileDocument(std::string bytes, const LegacyCodePage* codePage)
    : codePage_(codePage) {
  Load(std::move(bytes));
}

void ProfileDocument::Load(std::string bytes) {
  raw_ = std::move(bytes);
  const std::string_view raw = raw_;
  bom_ = 0;
  width_ = 1;
  bigEndian_ = false;
  decided_ = true;
  hasNul_ = false;
  sections_.clear();
  headers_.clear();
  lines_.clear();
  replaced_.clear();
  inserted_.clear();
  if (raw.substr(0, 2) == "\xFF\xFE") {
    encoding_ = TextEncoding::Utf16Le;
    bom_ = width_ = 2;
  } else if (raw.substr(0, 2) == "\xFE\xFF") {
    encoding_ = TextEncoding::Utf16Be;
    bom_ = width_ = 2;
    bigEndian_ = true;
  } else if (raw.substr(0, 3) == "\xEF\xBB\xBF") {
    encoding_ = TextEncoding::Utf8Bom;
    bom_ = 3;
  } else if (LooksLikeUtf16Le(raw)) {
    encoding_ = TextEncoding::Utf16LeNoBom;
    width_ = 2;
  } else {
    encoding_ = TextEncoding::Utf8;
    decided_ = false;
    hasNul_ = std::memchr(raw.data(), '\0', raw.size()) != nullptr;
  }
  FindSections();
}

char32_t ProfileDocument::UnitAt(std::size_t pos) const {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(raw_[i]); };
  if (width_ == 1) return byte(pos);
  return bigEndian_ ? (char32_t{byte(pos)} << 8) | byte(pos + 1)
                    : (char32_t{byte(pos + 1)} << 8) | byte(pos);
}

std::size_t ProfileDocument::LineEnd(std::size_t pos, std::size_t limit) const {
  while (pos < limit && !IsLineEnd(UnitAt(pos))) pos += width_;
  return pos;
}

// Lines end in CR LF, LF or a lone CR; the last one may have no end at all.
std::size_t ProfileDocument::NextLine(std::size_t end, std::size_t limit) const {
  if (end >= limit) return end;
  const bool crLf = UnitAt(end) == '\r' && end + width_ < limit && UnitAt(end + width_) == '\n';
  return end + (crLf ? 2 : 1) * width_;
}

// Calls f(begin, end, next) for each line from `from` to `to`: its text runs
// from begin to end, the next line starts at next.
template <class F>
void ProfileDocument::ForEachLine(std::size_t from, std::size_t to, F&& f) const {
  for (std::size_t pos = from; pos < to;) {
    const std::size_t end = LineEnd(pos, to);
    const std::size_t next = NextLine(end, to);
    f(pos, end, next);
    pos = next;
  }
}

// An 8-bit line is read as UTF-8 when it is UTF-8, and through the code page
// when it is not: one program writing through the legacy profile functions
// leaves the other lines of a UTF-8 file right.
bool ProfileDocument::NeedsCodePage(std::size_t begin, std::size_t end, std::size_t lineBegin,
                                    std::size_t lineEnd) const {
  const std::string_view raw = raw_;
  return width_ == 1 && codePage_ != nullptr && !IsAscii(raw.substr(begin, end - begin)) &&
         !IsValidUtf8(raw.substr(lineBegin, lineEnd - lineBegin));
}

// The text of the bytes from begin to end, a part of the line from lineBegin to lineEnd.
std::string ProfileDocument::TextOf(std::size_t begin, std::size_t end, std::size_t lineBegin,
                                    std::size_t lineEnd) const {
  const std::string_view piece = std::string_view(raw_).substr(begin, end - begin);
  if (width_ == 2) return Utf16LeToUtf8(bigEndian_ ? SwappedUnits(piece) : std::string(piece));
  if (NeedsCodePage(begin, end, lineBegin, lineEnd)) return codePage_->ToUtf8(piece);
  return std::string(piece);
}

// A section's or key's name: lower case, without blanks around it.
std::string ProfileDocument::NameOf(std::size_t begin, std::size_t end, std::size_t lineBegin,
                                    std::size_t lineEnd) const {
  if (width_ == 1 && !NeedsCodePage(begin, end, lineBegin, lineEnd))
    return Lower(Trim(std::string_view(raw_).substr(begin, end - begin)));
  return Lower(Trim(TextOf(begin, end, lineBegin, lineEnd)));
}

// Only the section lines are looked at, found by their "[" on the bytes (a
// mark, a line end or a blank is the same byte or unit in every encoding read).
void ProfileDocument::FindSections() {
  std::vector<Header> headers;
  const std::string_view raw = raw_;
  const std::size_t end = End(), w = width_;
  for (std::size_t pos = bom_; pos < end;) {
    const void* found = std::memchr(raw.data() + pos, '[', end - pos);
    if (found == nullptr) break;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - raw.data());
    pos = at + 1;
    std::size_t bracket = at;
    if (w == 2) {  // the byte must be a unit's low byte
      const std::size_t offset = (at - bom_) % 2;
      if (offset != (bigEndian_ ? 1u : 0u)) continue;
      bracket = at - offset;
      if (UnitAt(bracket) != '[') continue;
    }
    std::size_t begin = bracket;
    while (begin > bom_ && IsBlank(UnitAt(begin - w))) begin -= w;
    if (begin > bom_ && !IsLineEnd(UnitAt(begin - w))) continue;  // not the line's first mark
    const std::size_t lineEnd = LineEnd(bracket, end);
    const std::size_t next = NextLine(lineEnd, end);
    pos = next;
    std::size_t close = bracket + w;
    while (close < lineEnd && UnitAt(close) != ']') close += w;
    if (close != lineEnd) headers.push_back({begin, lineEnd, next, end, bracket + w, close});
  }
  for (std::size_t i = 0; i + 1 < headers.size(); ++i) headers[i].bodyEnd = headers[i + 1].begin;
  headers_ = std::move(headers);
}

// Whether a section line names `lowerName`, an ASCII name, without decoding it.
bool ProfileDocument::NamesAscii(const Header& h, std::string_view lowerName) const {
  const std::size_t w = width_;
  std::size_t b = h.nameBegin, e = h.nameEnd;
  while (b < e && IsBlank(UnitAt(b))) b += w;
  while (e > b && IsBlank(UnitAt(e - w))) e -= w;
  if ((e - b) / w != lowerName.size()) return false;
  for (std::size_t i = 0; i < lowerName.size(); ++i) {
    const char32_t c = UnitAt(b + i * w);
    if (c >= 0x80 || AsciiLower(static_cast<char>(c)) != lowerName[i]) return false;
  }
  return true;
}

// The first section of a name in the file wins, whichever way it was named.
void ProfileDocument::AddSection(std::string name, const Header& header) const {
  auto [it, added] = sections_.try_emplace(std::move(name));
  Section& section = it->second;
  if (!added && section.bodyBegin < header.next) return;
  section.bodyBegin = section.insertAt = header.next;
  section.bodyEnd = header.bodyEnd;
}

// Sections are named when one is asked for, so that a file of many sections
// costs no memory of its own for each (a large file's memory is given back once
// it is closed). The first section of the name in the file is the one.
ProfileDocument::Section* ProfileDocument::FindSection(const std::string& lowerName) const {
  auto s = sections_.find(lowerName);
  if (s == sections_.end()) {
    const bool ascii = IsAscii(lowerName);
    for (const Header& h : headers_) {
      if (ascii ? !NamesAscii(h, lowerName)
                : NameOf(h.nameBegin, h.nameEnd, h.begin, h.end) != lowerName)
        continue;
      AddSection(lowerName, h);
      break;
    }
    s = sections_.find(lowerName);
    if (s == sections_.end()) return nullptr;
  }
  if (!s->second.indexed) IndexKeys(s->second);
  return &s->second;
}

void ProfileDocument::IndexKeys(Section& section) const {
  section.indexed = true;
  const std::size_t w = width_;
  ForEachLine(section.bodyBegin, section.bodyEnd, [&](std::size_t b, std::size_t e, std::size_t n) {
    std::size_t first = b;
    while (first < e && IsBlank(UnitAt(first))) first += w;
    if (first == e || UnitAt(first) == ';' || UnitAt(first) == '[') return;
    std::size_t eq = first;
    while (eq < e && UnitAt(eq) != '=') eq += w;
    if (eq == e) return;
    Entry entry;
    entry.lineBegin = b;
    entry.lineEnd = e;
    entry.valueBegin = eq + w;
    section.keys.try_emplace(NameOf(b, eq, b, e), entry);
    section.insertAt = n;
  });
}

// The file's encoding for new lines. An 8-bit file is in the legacy code page
// only when its lines that are not UTF-8 outnumber those that are UTF-8 and not
// ASCII: a UTF-8 file that another program gave a legacy line stays UTF-8.
TextEncoding ProfileDocument::Encoding() const {
  if (!decided_) {
    decided_ = true;
    balance_ = LegacyBalance();
    encoding_ = balance_ > 0 ? TextEncoding::Legacy : TextEncoding::Utf8;
  }
  return encoding_;
}

std::ptrdiff_t ProfileDocument::LegacyBalance() const {
  const std::string_view raw = raw_;
  std::ptrdiff_t balance = 0;
  ForEachLine(0, raw.size(), [&](std::size_t b, std::size_t e, std::size_t) {
    balance += Weight(raw.substr(b, e - b));
  });
  return balance;
}

std::optional<std::string> ProfileDocument::Find(std::string_view section,
                                                 std::string_view key) const {
  const Section* s = FindSection(Lower(section));
  if (s == nullptr) return std::nullopt;
  const auto e = s->keys.find(Lower(key));
  if (e == s->keys.end()) return std::nullopt;
  return ValueOf(e->second);
}

std::string ProfileDocument::ValueOf(const Entry& entry) const {
  if (entry.written) {
    const std::string& line = lines_[*entry.written].text;
    return Unquote(std::string_view(line).substr(line.find('=') + 1));
  }
  return Unquote(TextOf(entry.valueBegin, entry.lineEnd, entry.lineBegin, entry.lineEnd));
}

// Each value in quotes, which a read takes off with nothing else.
std::string ProfileDocument::SectionText(std::string_view section) const {
  const Section* s = FindSection(Lower(section));
  if (s == nullptr) return {};
  std::string text = "[" + std::string(section) + "]\r\n";
  for (const auto& [key, entry] : s->keys)
    text.append(key).append("=\"").append(ValueOf(entry)) += "\"\r\n";
  return text;
}

bool IsQuoted(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

std::string_view ReadRule(std::string_view raw) {
  const std::string_view v = TrimBlanks(raw);
  return IsQuoted(v) ? v.substr(1, v.size() - 2) : v;
}

std::string ValueAsRead(const std::optional<std::string>& found, std::string_view defaultValue) {
  if (found) return CutToValueLimit(*found);
  const auto last = defaultValue.find_last_not_of(kBlanks);
  return CutToValueLimit(defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

std::string ValueAsWritten(std::string_view value, const LegacyCodePage* codePage) {
  return Unquote(OneLine(AsText(value, codePage)));
}

std::string ProfileDocument::Read(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  return ValueAsRead(Find(section, key), defaultValue);
}

std::size_t ProfileDocument::AddLine(std::string text) {
  std::string withEnd = text + "\r\n";
  std::string bytes;
  if (width_ == 2) {
    bytes = Utf8ToUtf16Le(withEnd);
    if (bigEndian_) bytes = SwappedUnits(bytes);
  } else if (codePage_ != nullptr && Encoding() == TextEncoding::Legacy) {
    bytes = codePage_->FromUtf8(withEnd).value_or(withEnd);
  } else {
    bytes = std::move(withEnd);
  }
  lines_.push_back({std::move(text), std::move(bytes)});
  return lines_.size() - 1;
}

void ProfileDocument::Write(std::string_view section, std::string_view key, std::string_view value,
                            const LegacyCodePage* codePage) {
  if (codePage != nullptr) codePage_ = codePage;
  const std::string text = width_ == 1 ? AsText(value, codePage_) : std::string(value);
  const std::string entryLine = std::string(key) + "=" + OneLine(text);
  const std::string sectionLine = "[" + std::string(section) + "]";
  KeepOneEncoding(section, key, entryLine, sectionLine);
  Place(section, key, entryLine, sectionLine);
  Settle();
}

// The part in the encoding's decision of the line that a write of the key replaces.
std::ptrdiff_t ProfileDocument::WeightOfKey(const std::string& section,
                                            const std::string& key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return 0;
  const auto e = s->keys.find(key);
  if (e == s->keys.end()) return 0;
  const Entry& entry = e->second;
  if (entry.written) {
    const std::string& bytes = lines_[*entry.written].bytes;
    return Weight(std::string_view(bytes).substr(0, bytes.size() - 2));
  }
  return Weight(std::string_view(raw_).substr(entry.lineBegin, entry.lineEnd - entry.lineBegin));
}

// Never a file of two encodings, nor one that reads back otherwise: an 8-bit
// file becomes UTF-8 as a whole, every line with the text it had, where a new
// line cannot be held by the code page, would read back as UTF-8, or would
// turn the file's decision between the code page and UTF-8.
void ProfileDocument::KeepOneEncoding(std::string_view section, std::string_view key,
                                      const std::string& entryLine,
                                      const std::string& sectionLine) {
  if (width_ != 1 || bom_ != 0 || codePage_ == nullptr) return;
  const bool legacy = Encoding() == TextEncoding::Legacy;
  const auto bytes = [&](const std::string& line) {
    return legacy ? codePage_->FromUtf8(line) : std::optional<std::string>(line);
  };
  const std::optional<std::string> entry = bytes(entryLine), header = bytes(sectionLine);
  bool convert = !entry || !header || (legacy && (ReadsAsUtf8(*entry) || ReadsAsUtf8(*header)));
  std::ptrdiff_t balance = balance_;
  if (!convert) {
    const std::string sectionName = Lower(section);
    balance += Weight(*entry) - WeightOfKey(sectionName, Lower(key));
    if (FindSection(sectionName) == nullptr) balance += Weight(*header);
    convert = (balance > 0) != legacy;
  }
  if (convert)
    ConvertToUtf8();
  else
    balance_ = balance;
}

// The text of every line as UTF-8, with a BOM where these bytes would be
// taken for UTF-16.
void ProfileDocument::ConvertToUtf8() {
  std::string text = Assemble(true);
  if (LooksLikeUtf16Le(text)) text.insert(0, "\xEF\xBB\xBF");
  Load(std::move(text));
}

// The bytes, read again, must be taken for the width they were written in: a
// file without a BOM whose first bytes would say otherwise is given one (an
// 8-bit file in the code page becomes UTF-8 first).
void ProfileDocument::Settle() {
  if (bom_ != 0 || (width_ == 1 && !hasNul_)) return;
  if (LooksLikeUtf16Le(Assemble(false, kSniffBytes)) == (width_ == 2)) return;
  if (width_ == 2) {
    Load("\xFF\xFE" + Bytes());
  } else if (codePage_ != nullptr && Encoding() == TextEncoding::Legacy) {
    ConvertToUtf8();
  } else {
    Load("\xEF\xBB\xBF" + Bytes());
  }
}

void ProfileDocument::Place(std::string_view section, std::string_view key,
                            const std::string& entryLine, const std::string& sectionLine) {
  const std::string sectionName = Lower(section);
  Section* found = FindSection(sectionName);
  if (found == nullptr) {
    const std::size_t end = End();
    Section added;
    added.indexed = true;
    added.insertAt = end;
    auto& group = inserted_[end];
    group.push_back(AddLine(sectionLine));
    group.push_back(AddLine(entryLine));
    added.lastNew = group.back();
    added.keys[Lower(key)].written = group.back();
    sections_.emplace(sectionName, std::move(added));
    return;
  }
  const std::string keyName = Lower(key);
  const auto e = found->keys.find(keyName);
  if (e != found->keys.end()) {
    Entry& entry = e->second;
    if (entry.written) {
      const std::size_t fresh = AddLine(entryLine);
      lines_[*entry.written] = std::move(lines_[fresh]);
      lines_.pop_back();
    } else {
      entry.written = AddLine(entryLine);
      replaced_[entry.lineBegin] = {entry.lineEnd, *entry.written};
    }
    return;
  }
  auto& group = inserted_[found->insertAt];
  const auto after =
      found->lastNew ? std::find(group.begin(), group.end(), *found->lastNew) + 1 : group.begin();
  const std::size_t line = AddLine(entryLine);
  group.insert(after, line);
  found->lastNew = line;
  found->keys[keyName].written = line;
}

// The bytes, or as text (each line decoded, for an 8-bit file only) with
// every write in place.
std::string ProfileDocument::Assemble(bool asText, std::size_t limit) const {
  const std::size_t end = End(), w = width_;
  std::string out;
  out.reserve(std::min(limit, raw_.size() + 64 * lines_.size()));
  auto original = [&](std::size_t from, std::size_t to) {
    if (!asText) {
      out.append(raw_, from, std::min(to - from, limit - std::min(limit, out.size())));
      return;
    }
    ForEachLine(from, to, [&](std::size_t b, std::size_t e, std::size_t n) {
      out += TextOf(b, e, b, e);
      out.append(raw_, e, n - e);
    });
  };
  auto added = [&](const NewLine& line, bool withEnd) {
    if (asText)
      out.append(line.text).append(withEnd ? "\r\n" : "");
    else  // without their own line end, the line's bytes less two units
      out.append(line.bytes, 0, line.bytes.size() - (withEnd ? 0 : 2 * w));
  };
  if (!asText) out.append(raw_, 0, bom_);

  std::size_t pos = bom_;
  auto ins = inserted_.begin();
  auto rep = replaced_.begin();
  for (;;) {
    const std::size_t nextIns = ins == inserted_.end() ? end + 1 : ins->first;
    const std::size_t nextRep = rep == replaced_.end() ? end + 1 : rep->first;
    const std::size_t next = std::min({nextIns, nextRep, end});
    original(pos, next);
    if (out.size() >= limit) return out;
    pos = next;
    if (nextIns == pos) {
      // New lines follow a line that has its end; a last line without one gets it.
      if (pos > bom_ && !IsLineEnd(UnitAt(pos - w)))
        out.append(w == 1       ? std::string_view("\r\n")
                   : bigEndian_ ? std::string_view("\0\r\0\n", 4)
                                : std::string_view("\r\0\n\0", 4));
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
  if (!asText) out.append(raw_, end, OddByte());
  return out;
}

}  // namespace vantrel

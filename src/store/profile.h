// The settings file's profile (INI) format, kept by us so that a write changes
// only its own line and every other byte of the file stays as it was.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The longest value a read returns, in characters (the reading room holds
// 2048 with its NUL).
inline constexpr std::size_t kMaxValueLength = 2047;

// How a settings file's bytes stand for its text.
enum class TextEncoding { Utf8, Utf8Bom, Utf16Le, Legacy, Utf16Be, Utf16LeNoBom };

// The system's legacy 8-bit (ANSI) code page, in which older files were written.
class LegacyCodePage {
 public:
  virtual ~LegacyCodePage() = default;
  // The bytes as UTF-8 text (bytes that stand for nothing become a stand-in).
  virtual std::string ToUtf8(std::string_view bytes) const = 0;
  // The text in the code page; nothing when the code page cannot hold all of it.
  virtual std::optional<std::string> FromUtf8(std::string_view text) const = 0;
};

// One settings file: its section lines are found once, a section's keys when
// it is first asked for, and a value is decoded only when it is looked up, so
// that a large file costs little more than its reading. Writes are kept beside
// the original bytes until Bytes() puts them together.
// The file is UTF-16 (little-endian with a BOM or recognised by its shape,
// big-endian with a BOM) or 8-bit text: UTF-8 with or without a BOM, where a
// line that is not UTF-8 is in the legacy code page (taken as its bytes stand
// without a code page). The code page must outlive the document.
// What a write leaves reads back as written, in the encoding it was written
// in: the bytes read again give a document that reads and writes as this one
// does, so writes made one at a time give the bytes of the same writes made
// together.
class ProfileDocument {
 public:
  explicit ProfileDocument(std::string bytes, const LegacyCodePage* codePage = nullptr);

  // The encoding that new lines take.
  TextEncoding Encoding() const;
  // The value of the first matching key in the first matching section, after
  // the blank and quote rules; nothing when the section or key is absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // ReadValue's rule: the found value cut to 2047 characters, or the default
  // without its trailing blanks (also cut).
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view defaultValue) const;
  // The section's header and every key of it (the first of each, its name in
  // lower case) as UTF-8 lines that read back, without a code page, as Find
  // gives them here; nothing for a section that is absent.
  std::string SectionText(std::string_view section) const;
  // Replaces the first matching entry line, or adds one after the section's
  // last entry, or a new section at the end. Every other line keeps its bytes
  // and its place. An 8-bit file becomes UTF-8 as a whole where a new line
  // would not read back as written in its encoding, or would change which
  // encoding the file is taken to be in; a file without a BOM gets one where
  // its bytes would be taken for the other width. A code page given here is
  // the document's from then on.
  void Write(std::string_view section, std::string_view key, std::string_view value,
             const LegacyCodePage* codePage = nullptr);
  // The file's bytes with every write in place.
  std::string Bytes() const { return Assemble(false); }

 private:
  // Positions are byte offsets into raw_, on unit boundaries.
  struct Entry {
    std::size_t lineBegin = 0, lineEnd = 0, valueBegin = 0;  // while the line is original
    std::optional<std::size_t> written;  // the line in lines_ that stands for it now
  };
  struct Section {
    std::size_t bodyBegin = 0, bodyEnd = 0;  // the lines after its header
    std::size_t insertAt = 0;                // just past its last entry line
    std::optional<std::size_t> lastNew;      // the last line added at insertAt
    bool indexed = false;
    std::map<std::string, Entry> keys;  // by lower-case key; the first of each
  };
  // A section line: the line, its name, and the body that follows it.
  struct Header {
    std::size_t begin, end, next, bodyEnd, nameBegin, nameEnd;
  };
  struct NewLine {
    std::string text;   // without the line end
    std::string bytes;  // encoded, with its line end
  };

  void Load(std::string bytes);
  void FindSections();
  void AddSection(std::string name, const Header& header) const;
  Section* FindSection(const std::string& lowerName) const;
  bool NamesAscii(const Header& header, std::string_view lowerName) const;
  void IndexKeys(Section& section) const;
  char32_t UnitAt(std::size_t pos) const;
  std::size_t LineEnd(std::size_t pos, std::size_t limit) const;
  std::size_t NextLine(std::size_t end, std::size_t limit) const;
  template <class F>
  void ForEachLine(std::size_t from, std::size_t to, F&& f) const;
  bool NeedsCodePage(std::size_t begin, std::size_t end, std::size_t lineBegin,
                     std::size_t lineEnd) const;
  std::string TextOf(std::size_t begin, std::size_t end, std::size_t lineBegin,
                     std::size_t lineEnd) const;
  std::string NameOf(std::size_t begin, std::size_t end, std::size_t lineBegin,
                     std::size_t lineEnd) const;
  std::string ValueOf(const Entry& entry) const;
  std::ptrdiff_t LegacyBalance() const;
  std::ptrdiff_t WeightOfKey(const std::string& section, const std::string& key) const;
  void KeepOneEncoding(std::string_view section, std::string_view key, const std::string& entryLine,
                       const std::string& sectionLine);
  void ConvertToUtf8();
  void Settle();
  void Place(std::string_view section, std::string_view key, const std::string& entryLine,
             const std::string& sectionLine);
  std::size_t AddLine(std::string text);
  // At least the first `limit` bytes (or all of them) of the bytes or the text.
  std::string Assemble(bool asText, std::size_t limit = std::string::npos) const;
  // An odd last byte of a UTF-16 file: no unit, kept as the file's last byte.
  std::size_t OddByte() const { return width_ == 2 ? (raw_.size() - bom_) % 2 : 0; }
  std::size_t End() const { return raw_.size() - OddByte(); }

  std::string raw_;
  std::size_t bom_ = 0;
  std::size_t width_ = 1;  // bytes per unit
  bool bigEndian_ = false;
  mutable TextEncoding encoding_ = TextEncoding::Utf8;
  mutable bool decided_ = true;  // an 8-bit file without a BOM decides at its first need
  // Of an 8-bit file without a BOM, once decided: its lines not UTF-8 less its
  // lines that are UTF-8 and not ASCII; above 0, new lines take the code page.
  mutable std::ptrdiff_t balance_ = 0;
  bool hasNul_ = false;  // an 8-bit file with a NUL byte: its shape may look like UTF-16
  const LegacyCodePage* codePage_ = nullptr;
  mutable std::map<std::string, Section> sections_;  // by lower-case name; the first
  std::vector<Header> headers_;                      // every section line, in the file's order
  std::vector<NewLine> lines_;
  std::map<std::size_t, std::pair<std::size_t, std::size_t>> replaced_;  // begin -> end, line
  std::map<std::size_t, std::vector<std::size_t>> inserted_;  // position -> lines in order
};

// Whether a value stands in one pair of quotes (double or single), which a read drops.
bool IsQuoted(std::string_view value);
// What a read makes of a value as it stands in its line: the blanks around it
// and one pair of quotes around it dropped.
std::string_view ReadRule(std::string_view raw);

// What a read gives for a value found or not: ReadValue's rule.
std::string ValueAsRead(const std::optional<std::string>& found, std::string_view defaultValue);

// What Find gives for a value once it is written into an 8-bit file with this
// code page (a UTF-16 file gives the same for any UTF-8 text).
std::string ValueAsWritten(std::string_view value, const LegacyCodePage* codePage);

}  // namespace vantrel

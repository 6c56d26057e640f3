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
enum class TextEncoding { Utf8, Utf8Bom, Utf16Le, Legacy };

// The system's legacy 8-bit (ANSI) code page, in which older files were written.
class LegacyCodePage {
 public:
  virtual ~LegacyCodePage() = default;
  // The bytes as UTF-8 text (bytes that stand for nothing become a stand-in).
  virtual std::string ToUtf8(std::string_view bytes) const = 0;
  // The text in the code page; nothing when the code page cannot hold all of it.
  virtual std::optional<std::string> FromUtf8(std::string_view text) const = 0;
};

// One settings file, parsed once: lookups go through an index, and writes
// are kept beside the original bytes until Bytes() puts them together.
// The file is UTF-8 (with or without a BOM), UTF-16LE with its BOM, or, when
// its bytes are not UTF-8, in the legacy code page; without a code page given,
// such bytes are taken as they stand.
class ProfileDocument {
 public:
  explicit ProfileDocument(std::string bytes, const LegacyCodePage* codePage = nullptr);

  TextEncoding Encoding() const { return encoding_; }
  // The value of the first matching key in the first matching section, after
  // the blank and quote rules; nothing when the section or key is absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // ReadValue's rule: the found value cut to 2047 characters, or the default
  // without its trailing blanks (also cut).
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view defaultValue) const;
  // Replaces the first matching entry line, or adds one after the section's
  // last entry, or a new section at the end. Every other line keeps its bytes
  // and its place; a legacy file that cannot hold the value becomes UTF-8 as a
  // whole.
  void Write(std::string_view section, std::string_view key, std::string_view value,
             const LegacyCodePage* codePage = nullptr);
  // The file's bytes with every write in place.
  std::string Bytes() const { return Assemble(false); }
  // Gives up the bytes as they were read, so that their room can be used again.
  std::string TakeRead() && { return std::move(raw_); }

 private:
  // A line of a decoded file: its text and its bytes, both without the line end.
  struct Span {
    std::size_t textBegin, textEnd, rawBegin, rawEnd;
  };
  struct Entry {
    std::size_t valueBegin = 0, valueEnd = 0;  // in the text, while the line is original
    std::size_t lineBegin = 0, lineEnd = 0;
    std::optional<std::size_t> written;  // the line in lines_ that stands for it now
  };
  struct Section {
    std::size_t bodyBegin = 0, bodyEnd = 0;  // the lines after its header
    std::size_t insertAt = 0;                // just past its last entry line
    std::optional<std::size_t> lastNew;      // the last line added at insertAt
    bool indexed = false;
    std::map<std::string, Entry> keys;  // by lower-case key; the first of each
  };
  struct NewLine {
    std::string text;   // without the line end
    std::string bytes;  // encoded, with its line end
  };

  void Load(std::string bytes, const LegacyCodePage* codePage, bool forceUtf8);
  std::string_view Text() const;
  std::size_t RawAt(std::size_t textPos) const;
  void IndexKeys(Section& section) const;
  std::size_t AddLine(std::string text, const LegacyCodePage* codePage);
  std::string Assemble(bool asText) const;
  // An odd last byte of a UTF-16 file: no unit, kept as the file's last byte.
  std::size_t OddByte() const {
    return encoding_ == TextEncoding::Utf16Le ? (raw_.size() - bom_) % 2 : 0;
  }

  std::string raw_;
  std::size_t bom_ = 0;
  TextEncoding encoding_ = TextEncoding::Utf8;
  std::string decoded_;      // the text of a file that is not UTF-8
  std::vector<Span> spans_;  // its lines
  mutable std::map<std::string, Section> sections_;  // by lower-case name; the first
  std::vector<NewLine> lines_;
  std::map<std::size_t, std::pair<std::size_t, std::size_t>> replaced_;  // begin -> end, line
  std::map<std::size_t, std::vector<std::size_t>> inserted_;  // text position -> lines in order
};

// What a read gives for a value found or not: ReadValue's rule.
std::string ValueAsRead(const std::optional<std::string>& found, std::string_view defaultValue);

// The same on a file's bytes, for one look-up or one write.
std::optional<std::string> ProfileFind(std::string_view contents, std::string_view section,
                                       std::string_view key);
std::string ProfileRead(std::string_view contents, std::string_view section, std::string_view key,
                        std::string_view defaultValue);
std::string ProfileWrite(std::string_view contents, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace vantrel

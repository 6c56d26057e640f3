// Feeds arbitrary files to the settings-file reader and writer and checks what
// must hold for any file and any value (ASCII, Latin-1, Cyrillic, CJK, and
// bytes 0x80-0xFF that are no UTF-8):
// - without a code page: a written value reads back, a write leaves the values
//   of other sections alone, every line but the written one keeps its bytes,
//   and the file keeps its encoding (or gains a BOM that says which it is);
// - through a code page, on the bytes: what a save wrote reads back, in a fresh
//   reader, as the text it meant and in the encoding it was written in, other
//   values unchanged, and writes made one save at a time give the bytes of the
//   same writes made in one save.
// Some inputs are made UTF-16 (big-endian with a BOM, little-endian without one).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/utf8.h"
#include "store/profile.h"

namespace {

using vantrel::ProfileDocument;
using vantrel::TextEncoding;

void Check(bool ok) {
  if (!ok) std::abort();
}

// The two texts differ in one stretch that holds no line end of the first:
// at most one line's text was replaced, the rest only had lines put between.
bool OnlyOneLineChanged(std::string_view before, std::string_view after) {
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  return before.substr(head, before.size() - head - tail).find_first_of("\r\n") ==
         std::string_view::npos;
}

// Latin-1 as the legacy code page.
class Latin1 : public vantrel::LegacyCodePage {
 public:
  std::string ToUtf8(std::string_view bytes) const override {
    std::string out;
    for (char c : bytes) vantrel::AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
  }
  std::optional<std::string> FromUtf8(std::string_view text) const override {
    std::string out;
    const std::string units = vantrel::Utf8ToUtf16Le(text);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
      if (units[i + 1] != 0) return std::nullopt;
      out += units[i];
    }
    return out;
  }
};

std::string SwappedUnits(std::string bytes) {
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
  return bytes;
}

bool EightBit(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom ||
         encoding == TextEncoding::Legacy;
}

// Without a code page, UTF-8 and legacy are one family: new lines of either
// may go into the other.
TextEncoding Family(const std::string& file) {
  const TextEncoding encoding = ProfileDocument(file).Encoding();
  return encoding == TextEncoding::Legacy ? TextEncoding::Utf8 : encoding;
}

std::string Text(const std::string& file, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf16Le:
      return vantrel::Utf16LeToUtf8(file.substr(2));
    case TextEncoding::Utf16Be:
      return vantrel::Utf16LeToUtf8(SwappedUnits(file.substr(2)));
    case TextEncoding::Utf16LeNoBom:
      return vantrel::Utf16LeToUtf8(file);
    case TextEncoding::Utf8Bom:
      return file.substr(3);
    default:
      return file;
  }
}

// Compared as text where the file is UTF-16, whose units hold line-end bytes.
// A file keeps its encoding; one without a BOM may gain a BOM that says which.
bool EveryOtherLineKept(const std::string& before, const std::string& after) {
  const TextEncoding was = Family(before), is = Family(after);
  const bool gainedBom = (was == TextEncoding::Utf16LeNoBom && is == TextEncoding::Utf16Le) ||
                         (was == TextEncoding::Utf8 && is == TextEncoding::Utf8Bom);
  return (was == is || gainedBom) && OnlyOneLineChanged(Text(before, was), Text(after, is));
}

// Characters of several scripts, as UTF-8, Latin-1 most of them (whose
// code-page bytes may form UTF-8); after 0xF0, the next byte from 0x80 up
// stands alone, as no UTF-8.
std::string Token(const std::uint8_t* data, std::size_t size, std::size_t& at) {
  static const char* const kTokens[] = {
      "a",           "X",        "0",        " ",        "=",        ";",
      "\"",          "'",        "\\",       "/",        "[",        "]",
      "\xC3\xA9",    "\xC3\x83", "\xC3\x82", "\xC3\x8A", "\xC3\x91", "\xC3\x9F",
      "\xC3\xAF",    "\xC3\xA4", "\xC2\xA9", "\xC2\xA3", "\xC2\xB1", "\xC2\xBB",
      "\xC2\xBF",    "\xC2\xA0", "\xC2\x80", "\xD0\x96", "\xD1\x8F", "\xE4\xB8\xAD",
      "\xE5\xAD\x97"};
  const std::uint8_t b = data[at++];
  if (b >= 0xF0 && at < size) return std::string(1, static_cast<char>(data[at++] | 0x80));
  return kTokens[b % (sizeof kTokens / sizeof kTokens[0])];
}

struct Input {
  std::vector<std::pair<std::string, std::string>> writes;  // key, value
  std::string file;
};

// The first byte gives the number of writes and the file's shape; each write
// takes a byte for its key and length, then one byte per character.
Input Take(const std::uint8_t* data, std::size_t size) {
  Input in;
  const std::size_t count = 1 + data[0] % 5;
  std::size_t at = 1;
  for (std::size_t w = 0; w < count && at < size; ++w) {
    const std::uint8_t head = data[at++];
    std::string value = "v";
    for (std::size_t n = head % 16; n > 0 && at < size; --n) value += Token(data, size, at);
    in.writes.emplace_back("Key" + std::to_string(head / 16 % 3 + 1), value + "e");
  }
  in.file.assign(reinterpret_cast<const char*>(data) + at, size - at);
  switch (data[0] / 5 % 3) {
    case 1:
      in.file = "\xFE\xFF" + in.file;
      break;
    case 2: {  // each byte a unit of its own, so that the shape is UTF-16LE
      std::string units;
      for (char c : in.file) units.append({c, '\0'});
      in.file = units;
      break;
    }
  }
  return in;
}

// Without a code page: one write, as before.
void CheckOneWrite(const std::string& contents, const std::string& value) {
  const std::string before = ProfileDocument(contents).Read("Other", "Probe", "none");
  ProfileDocument document(contents);
  document.Write("Files", "Key1", value);
  const std::string written = document.Bytes();
  // Bytes that are no UTF-8 have no UTF-16 form.
  if (vantrel::IsValidUtf8(value) || EightBit(Family(contents)))
    Check(ProfileDocument(written).Read("Files", "Key1", "MISSING") == value);
  Check(ProfileDocument(written).Read("Other", "Probe", "none") == before);
  Check(EveryOtherLineKept(contents, written));
  ProfileDocument again(written);
  again.Write("Files", "Key1", value);  // writing the same value again changes nothing
  Check(again.Bytes() == written);
}

// Through a code page, on the bytes a save leaves.
void CheckSaves(const Input& in) {
  const Latin1 latin1;
  const ProfileDocument original(in.file, &latin1);
  const std::string probe = original.Read("Other", "Probe", "none");
  const TextEncoding was = original.Encoding();
  ProfileDocument together(in.file, &latin1);
  std::string oneByOne = in.file;
  std::map<std::string, std::string> last;
  for (const auto& [key, value] : in.writes) {
    together.Write("Files", key, value, &latin1);
    ProfileDocument save(oneByOne, &latin1);
    save.Write("Files", key, value, &latin1);
    oneByOne = save.Bytes();
    last[key] = value;
  }
  const std::string bytes = together.Bytes();
  const ProfileDocument fresh(bytes, &latin1);
  Check(fresh.Read("Other", "Probe", "none") == probe);
  for (const auto& [key, value] : last) {
    const std::optional<std::string> read = fresh.Find("Files", key);
    Check(read.has_value());
    if (vantrel::IsValidUtf8(value))
      Check(*read == value);
    else if (EightBit(fresh.Encoding()))
      Check(*read == latin1.ToUtf8(value));
  }
  Check(fresh.Encoding() == together.Encoding());
  Check(EightBit(fresh.Encoding()) == EightBit(was));
  Check(bytes == oneByOne);
  // A file in the code page either stays in it or becomes UTF-8 as a whole.
  if (was == TextEncoding::Legacy && fresh.Encoding() != TextEncoding::Legacy)
    Check(
        vantrel::IsValidUtf8(fresh.Encoding() == TextEncoding::Utf8Bom ? bytes.substr(3) : bytes));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const Input in = Take(data, size);
  if (in.writes.empty()) return 0;
  CheckOneWrite(in.file, in.writes.front().second);
  CheckSaves(in);
  return 0;
}

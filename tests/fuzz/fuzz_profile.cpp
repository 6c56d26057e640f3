// Feeds arbitrary files to the settings-file reader and writer and checks what
// must hold for any file: a written value reads back, a write leaves the values
// of other sections alone, every line but the written one keeps its bytes, and
// the file keeps its encoding, or becomes UTF-8 as a whole. Some inputs are
// made UTF-16 (big-endian with a BOM, little-endian without one).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/utf8.h"
#include "store/profile.h"

namespace {

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

// UTF-8 and legacy are one family: new lines of either may go into the other.
vantrel::TextEncoding Family(const std::string& file) {
  const auto encoding = vantrel::ProfileDocument(file).Encoding();
  return encoding == vantrel::TextEncoding::Legacy ? vantrel::TextEncoding::Utf8 : encoding;
}

// Compared as text where the file is UTF-16, whose units hold line-end bytes.
bool EveryOtherLineKept(const std::string& before, const std::string& after) {
  using vantrel::TextEncoding;
  const TextEncoding family = Family(before);
  if (family != Family(after)) return false;
  const auto text = [&](const std::string& file) {
    switch (family) {
      case TextEncoding::Utf16Le:
        return vantrel::Utf16LeToUtf8(file.substr(2));
      case TextEncoding::Utf16Be:
        return vantrel::Utf16LeToUtf8(SwappedUnits(file.substr(2)));
      case TextEncoding::Utf16LeNoBom:
        return vantrel::Utf16LeToUtf8(file);
      default:
        return file;
    }
  };
  return OnlyOneLineChanged(text(before), text(after));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first bytes make the value to write; the rest is the file.
  const std::size_t valueLength = data[0] % 40;
  const std::size_t take = valueLength < size - 1 ? valueLength : size - 1;
  static const char kAlphabet[] = "abcXYZ019 =;\"'\\:/.";
  std::string value = "v";
  for (std::size_t i = 0; i < take; ++i) value += kAlphabet[data[1 + i] % (sizeof kAlphabet - 1)];
  value += "e";
  std::string contents(reinterpret_cast<const char*>(data) + 1 + take, size - 1 - take);
  switch (data[0] / 40 % 3) {
    case 1:
      contents = "\xFE\xFF" + contents;
      break;
    case 2: {  // each byte a unit of its own, so that the shape is UTF-16LE
      std::string units;
      for (char c : contents) units.append({c, '\0'});
      contents = units;
      break;
    }
  }

  const std::string before = vantrel::ProfileRead(contents, "Other", "Probe", "none");
  (void)vantrel::ProfileRead(contents, "Files", "Desc1", "No Title Entered");

  const std::string written = vantrel::ProfileWrite(contents, "Files", "Key1", value);
  Check(vantrel::ProfileRead(written, "Files", "Key1", "MISSING") == value);
  Check(vantrel::ProfileRead(written, "Other", "Probe", "none") == before);
  Check(EveryOtherLineKept(contents, written));
  // Writing the same value again changes nothing.
  Check(vantrel::ProfileWrite(written, "Files", "Key1", value) == written);

  // Through a code page: 8-bit text reads as UTF-8, and a value that the code
  // page cannot hold makes a legacy file UTF-8 as a whole.
  const Latin1 latin1;
  vantrel::ProfileDocument document(contents, &latin1);
  const std::string probe = document.Read("Other", "Probe", "none");
  const auto encoding = document.Encoding();
  const bool eightBit = encoding == vantrel::TextEncoding::Utf8 ||
                        encoding == vantrel::TextEncoding::Utf8Bom ||
                        encoding == vantrel::TextEncoding::Legacy;
  Check(!eightBit || vantrel::IsValidUtf8(probe));
  const std::string outside = value + "\xD0\x96";
  document.Write("Files", "Key1", outside);
  Check(document.Read("Files", "Key1", "MISSING") == outside);
  Check(document.Read("Other", "Probe", "none") == probe);
  Check(encoding != vantrel::TextEncoding::Legacy || vantrel::IsValidUtf8(document.Bytes()));
  return 0;
}

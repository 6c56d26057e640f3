#include <gtest/gtest.h>

#include <map>

#include "platform/utf8.h"
#include "profile_text.h"
#include "store/profile.h"

namespace vantrel {
namespace {

// Latin-1 as the legacy code page: one byte, one character.
class Latin1 : public LegacyCodePage {
 public:
  std::string ToUtf8(std::string_view bytes) const override {
    std::string out;
    for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
  }
  std::optional<std::string> FromUtf8(std::string_view text) const override {
    std::string out;
    const std::string units = Utf8ToUtf16Le(text);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
      if (units[i + 1] != 0) return std::nullopt;
      out += units[i];
    }
    return out;
  }
};

const std::string kPrivet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";

std::string SwappedUnits(std::string bytes) {
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
  return bytes;
}

TEST(Profile, ReadsBlanksQuotesCaseAndDefaults) {
  const std::string file =
      "; a comment\r\n"
      "[other]\r\nKey=wrong section\r\n"
      "[ files ]\r\n"
      "  key1  =  padded value  \r\n"
      "Key2=\"quoted\"\r\n"
      "key3='single'\r\n"
      "key4=\"unbalanced'\r\n"
      "key5=\r\n"
      "key6=a=b;c\r\n"
      "KEY1=second duplicate\r\n"
      "[FILES]\r\nkey7=second section of the same name\r\n";
  EXPECT_EQ(ProfileRead(file, "Files", "KEY1", "d"), "padded value");
  EXPECT_EQ(ProfileRead(file, "FILES", "key2", "d"), "quoted");
  EXPECT_EQ(ProfileRead(file, "Files", "key3", "d"), "single");
  EXPECT_EQ(ProfileRead(file, "Files", "key4", "d"), "\"unbalanced'");
  EXPECT_EQ(ProfileRead(file, "Files", "key5", "d"), "");  // present but empty: not the default
  EXPECT_EQ(ProfileRead(file, "Files", "key6", "d"), "a=b;c");
  EXPECT_EQ(ProfileRead(file, "Files", "key7", "default  "), "default");
  EXPECT_EQ(ProfileRead(file, "Nope", "key1", "  lead kept"), "  lead kept");
  EXPECT_EQ(ProfileRead("", "Files", "key1", "Null"), "Null");
}

TEST(Profile, ReadsAnyLineEndsBomAndCutsLongValues) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string mixed = bom + "[S]\nA=1\r\nB=2\rC=3";  // LF, CRLF, lone CR, no final end
  EXPECT_EQ(ProfileRead(mixed, "S", "A", "-"), "1");
  EXPECT_EQ(ProfileRead(mixed, "S", "B", "-"), "2");
  EXPECT_EQ(ProfileRead(mixed, "S", "C", "-"), "3");

  const std::string longValue(3000, 'x');
  const std::string read = ProfileRead("[S]\r\nK=" + longValue + "\r\n", "S", "K", "");
  EXPECT_EQ(read.size(), kMaxValueLength);
  EXPECT_EQ(ProfileRead("[S]\r\nK=ab" + std::string(1, '\0') + "cd\r\n", "S", "K", ""), "ab");
}

TEST(Profile, WriteKeepsEveryOtherByteInPlace) {
  const std::string before =
      "; keep me\r\n\r\n[Files]\r\nDesc1=Old\r\n\r\n; trailing comment\r\n[Other]\r\nx=1\r\n";
  EXPECT_EQ(
      ProfileWrite(before, "files", "DESC1", "New"),
      "; keep me\r\n\r\n[Files]\r\nDESC1=New\r\n\r\n; trailing comment\r\n[Other]\r\nx=1\r\n");
  // A new key goes after the section's last entry, before blank and comment lines.
  EXPECT_EQ(ProfileWrite(before, "Files", "Desc2", "Two"),
            "; keep me\r\n\r\n[Files]\r\nDesc1=Old\r\nDesc2=Two\r\n\r\n; trailing comment\r\n"
            "[Other]\r\nx=1\r\n");
  // A new section goes at the end.
  EXPECT_EQ(ProfileWrite(before, "SSaver", "Name", "C:\\a.scr"),
            before + "[SSaver]\r\nName=C:\\a.scr\r\n");
  EXPECT_EQ(ProfileWrite("", "Files", "Desc1", "x"), "[Files]\r\nDesc1=x\r\n");
}

TEST(Profile, WriteHandlesOddFilesSafely) {
  // No final line end: the new line starts on a line of its own.
  EXPECT_EQ(ProfileWrite("[S]\r\nA=1", "S", "B", "2"), "[S]\r\nA=1\r\nB=2\r\n");
  EXPECT_EQ(ProfileWrite("[S]\nA=1\n", "S", "A", "9"), "[S]\nA=9\n");  // LF kept
  // A section with no entries gets its first one right below its header.
  EXPECT_EQ(ProfileWrite("[S]\r\n\r\n[T]\r\n", "S", "A", "1"), "[S]\r\nA=1\r\n\r\n[T]\r\n");
  // A BOM stays first.
  EXPECT_EQ(ProfileWrite("\xEF\xBB\xBF", "S", "A", "1"), "\xEF\xBB\xBF[S]\r\nA=1\r\n");
  // Line breaks in a value cannot smuggle in new lines or sections.
  const std::string written = ProfileWrite("", "S", "A", "x\r\n[Evil]\r\nB=1");
  EXPECT_EQ(ProfileRead(written, "Evil", "B", "absent"), "absent");
  EXPECT_EQ(ProfileRead(written, "S", "A", ""), "x  [Evil]  B=1");
}

TEST(Profile, NewLinesAtTheEndKeepTheirSectionsApart) {
  ProfileDocument doc("[A]\r\nk=1");  // no final line end
  doc.Write("A", "k2", "2");
  doc.Write("C", "x", "3");
  doc.Write("A", "k3", "4");
  doc.Write("C", "y", "5");
  doc.Write("a", "K2", "6");
  EXPECT_EQ(doc.Bytes(), "[A]\r\nk=1\r\nK2=6\r\nk3=4\r\n[C]\r\nx=3\r\ny=5\r\n");
  EXPECT_EQ(doc.Read("c", "Y", ""), "5");

  // UTF-16 units that are no text stay as they were.
  const std::string tail("\x00\xD8\x41", 3);  // a lone surrogate, then an odd last byte
  const std::string bom = "\xFF\xFE";
  EXPECT_EQ(ProfileWrite(bom + Utf8ToUtf16Le("[S]\r\nA=1\r\n;") + tail, "S", "A", "2"),
            bom + Utf8ToUtf16Le("[S]\r\nA=2\r\n;") + tail);
}

// Each line of an 8-bit file reads as UTF-8 when it is UTF-8 and through the
// code page when it is not; new lines take the encoding most lines have.
TEST(Profile, MixedFilesReadEachLineInItsOwnEncoding) {
  const Latin1 latin1;
  // A UTF-8 file that another program gave one legacy line.
  const std::string utf8 = "; caf\xE9\r\n[Files]\r\nDesc1=" + kPrivet + "\r\nDesc2=th\xC3\xA9\r\n";
  ProfileDocument mostlyUtf8(utf8, &latin1);
  EXPECT_EQ(mostlyUtf8.Read("Files", "Desc1", ""), kPrivet);
  EXPECT_EQ(mostlyUtf8.Read("Files", "Desc2", ""), "th\xC3\xA9");
  mostlyUtf8.Write("Files", "Desc3", "na\xC3\xAFve", &latin1);
  EXPECT_EQ(mostlyUtf8.Encoding(), TextEncoding::Utf8);
  EXPECT_EQ(mostlyUtf8.Bytes(), utf8 + "Desc3=na\xC3\xAFve\r\n");

  // A legacy file that holds a UTF-8 line: converted, that line is not encoded twice.
  const std::string legacy = "; caf\xE9\r\n[Files]\r\nDesc1=na\xEFve\r\nDesc2=th\xC3\xA9\r\n";
  ProfileDocument mostlyLegacy(legacy, &latin1);
  EXPECT_EQ(mostlyLegacy.Read("Files", "Desc1", ""), "na\xC3\xAFve");
  EXPECT_EQ(mostlyLegacy.Read("Files", "Desc2", ""), "th\xC3\xA9");
  mostlyLegacy.Write("Files", "Desc3", "\xC3\xA4", &latin1);
  EXPECT_EQ(mostlyLegacy.Bytes(), legacy + "Desc3=\xE4\r\n");
  mostlyLegacy.Write("Files", "Desc4", kPrivet, &latin1);
  EXPECT_EQ(
      mostlyLegacy.Bytes(),
      "; caf\xC3\xA9\r\n[Files]\r\nDesc1=na\xC3\xAFve\r\nDesc2=th\xC3\xA9\r\nDesc3=\xC3\xA4\r\n"
      "Desc4=" +
          kPrivet + "\r\n");
  // A section named in the code page is found by its name as text.
  EXPECT_EQ(ProfileDocument("[Caf\xE9]\r\nk=1\r\n", &latin1).Read("CAF\xC3\xA9", "k", ""), "1");
}

// UTF-16 big-endian with its BOM, and little-endian without one (an odd last
// byte kept), stay in their byte order; a file of NUL bytes is no UTF-16.
TEST(Profile, Utf16FilesKeepTheirByteOrderAndBom) {
  const std::string text = "[S]\r\nA=1\r\n;x";
  const std::string after = "[S]\r\nA=" + kPrivet + "\r\n;x\r\n[T]\r\nB=2\r\n";
  const std::string le = Utf8ToUtf16Le(text), leAfter = Utf8ToUtf16Le(after);
  struct Case {
    const char *name, *prefix;
    std::string before, written, suffix;
    TextEncoding encoding;
  };
  for (const Case& c :
       {Case{"BE", "\xFE\xFF", SwappedUnits(le), SwappedUnits(leAfter), "", TextEncoding::Utf16Be},
        Case{"LE without BOM", "", le, leAfter, "\x07", TextEncoding::Utf16LeNoBom}}) {
    SCOPED_TRACE(c.name);
    ProfileDocument doc(c.prefix + c.before + c.suffix);
    EXPECT_EQ(doc.Encoding(), c.encoding);
    EXPECT_EQ(doc.Read("s", "a", ""), "1");
    doc.Write("S", "A", kPrivet);
    doc.Write("T", "B", "2");
    EXPECT_EQ(doc.Bytes(), c.prefix + c.written + c.suffix);
  }
  const std::string nul(8, '\0');
  EXPECT_EQ(ProfileWrite(nul, "S", "A", "1"), nul + "\r\n[S]\r\nA=1\r\n");
}

// What is written reads back as written, from the bytes, in the encoding it
// was written in, and writes made one save at a time give the bytes of the
// same writes made in one.
TEST(Profile, WhatIsWrittenReadsBackInTheEncodingItWasWrittenIn) {
  const Latin1 latin1;
  const std::string nulRun(40, '\0');
  const std::string cyrillicLe =
      Utf8ToUtf16Le("; " + kPrivet + kPrivet + kPrivet + "\r\n[Files]\r\nDesc1=a\r\n");
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::pair<std::string, std::string>> writes;
    TextEncoding encoding;  // of the bytes written, read again
  };
  const std::vector<Case> cases = {
      // A legacy line whose bytes are UTF-8 would read as "\xC3\xA9".
      {"legacy",
       "[Files]\r\nDesc1=caf\xE9\r\n",
       {{"Desc2", "\xC3\x83\xC2\xA9"}},
       TextEncoding::Utf8},
      {"UTF-16LE without BOM, first line not ASCII",
       cyrillicLe,
       {{"Desc2", kPrivet}, {"Desc1", "b"}},
       TextEncoding::Utf16LeNoBom},
      // Once UTF-8, its first line would have the shape of UTF-16 units.
      {"8-bit with NUL bytes",
       "\xE9" + std::string("a\0b\0c\0d\0", 8) + "\r\n[Files]\r\nDesc1=caf\xE9\r\n" + nulRun +
           "\r\n",
       {{"Desc2", kPrivet},
        {"Desc3", "three"},
        {"Desc1", "\xC3\xA9"},
        {"Desc4", "4"},
        {"Desc5", "5"}},
       TextEncoding::Utf8},
      // Its one UTF-8 line replaced, the file would be taken for legacy.
      {"UTF-8 with a legacy line",
       "; \xE9\r\n[Files]\r\nDesc1=" + kPrivet + "\r\n",
       {{"Desc1", "plain"}, {"Desc2", "\xC3\xA9"}},
       TextEncoding::Utf8},
      // Bytes that are no UTF-8 are text as such a line reads.
      {"lone bytes", "[Files]\r\n", {{"Desc1", "a\xE9\xFF"}}, TextEncoding::Utf8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileDocument together(c.file, &latin1);
    std::string oneByOne = c.file;
    for (const auto& [key, value] : c.writes) {
      together.Write("Files", key, value, &latin1);
      ProfileDocument once(oneByOne, &latin1);
      once.Write("Files", key, value, &latin1);
      oneByOne = once.Bytes();
    }
    EXPECT_EQ(together.Bytes(), oneByOne);
    const ProfileDocument again(oneByOne, &latin1);
    EXPECT_EQ(again.Encoding(), c.encoding);
    std::map<std::string, std::string> last;
    for (const auto& [key, value] : c.writes)
      last[key] = IsValidUtf8(value) ? value : latin1.ToUtf8(value);
    for (const auto& [key, value] : last) EXPECT_EQ(again.Find("files", key), value) << key;
  }
}

TEST(Profile, WrittenValuesReadBack) {
  std::string file = "garbage\r\n\x01\x02=\xff\r\n";
  for (int i = 0; i < 50; ++i)
    file = ProfileWrite(file, "Files", "Set" + std::to_string(i), "v" + std::to_string(i * 7));
  file = ProfileWrite(file, "Files", "Set10", "a=b");
  for (int i = 0; i < 50; ++i)
    EXPECT_EQ(ProfileRead(file, "Files", "Set" + std::to_string(i), ""),
              i == 10 ? "a=b" : "v" + std::to_string(i * 7));
  EXPECT_EQ(file.rfind("garbage\r\n", 0), 0u);
}

}  // namespace
}  // namespace vantrel

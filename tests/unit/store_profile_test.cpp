#include <gtest/gtest.h>

#include "platform/utf8.h"
#include "store/profile.h"

namespace vantrel {
namespace {

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

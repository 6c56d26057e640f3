#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "store/settings.h"
#include "tray/launcher.h"

namespace vantrel {
namespace {

struct LauncherTest : ::testing::Test {
  FakePlatform p;
  void SetUp() override { SetUpDataFolder(p); }
  std::vector<std::string> Opened() {
    std::vector<std::string> files;
    for (const auto& call : p.shellCalls) files.push_back(call.file);
    return files;
  }
};

TEST_F(LauncherTest, OpensEverySlotInOrderAndNeverWrites) {
  p.MakeDirectory("C:\\Docs");
  p.WriteFile("C:\\Docs\\a long name.txt", "x");
  p.shortPaths["C:\\Docs\\a long name.txt"] = "C:\\Docs\\ALONGN~1.TXT";
  const std::string ini =
      "[Files]\r\nSet771=C:\\Docs\\a long name.txt\r\nSet775=www.Http-site.org/q?a=b\r\n"
      "Set7715=hTTp://late.example\r\nSet776=Null\r\n";
  p.WriteFile(SettingsPath(), ini);
  LaunchTitle(p, "7");
  ASSERT_EQ(p.shellCalls.size(), 3u);
  EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\Docs\\ALONGN~1.TXT", "www.Http-site.org/q?a=b",
                                                "hTTp://late.example"}));
  for (const auto& call : p.shellCalls) {
    EXPECT_EQ(call.verb, "open");
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, "");
    EXPECT_EQ(call.show, 1);
  }
  EXPECT_TRUE(p.boxes.empty());
  EXPECT_EQ(p.ReadFile(SettingsPath()), ini);
  EXPECT_EQ(p.writes, 0);
}

TEST_F(LauncherTest, EmptyFirstSlotMeansNoEntries) {
  p.WriteFile(SettingsPath(), "[Files]\r\nSet332=two\r\nSet333=three\r\n");
  LaunchTitle(p, "3");
  LaunchTitle(p, "4");  // never saved at all
  EXPECT_TRUE(p.shellCalls.empty());
  ASSERT_EQ(p.boxes.size(), 2u);
  EXPECT_EQ(p.boxes[0].kind, BoxKind::Information);
  EXPECT_EQ(p.boxes[0].text, kNoProgramsText);
}

TEST_F(LauncherTest, EachFailureIsReportedAndTheNextEntryStillOpens) {
  p.WriteFile("C:\\one.txt", "1");
  p.WriteFile("C:\\three.txt", "3");
  p.WriteFile(SettingsPath(),
              "[Files]\r\nSet111=C:\\one.txt\r\nSet112=C:\\missing.txt\r\nSet113=C:\\three.txt\r\n");
  p.shellResults[""] = 2;  // the shell cannot open the empty text
  std::vector<std::size_t> callsWhenBoxShown;
  p.onBox = [&](const ShownBox&) { callsWhenBoxShown.push_back(p.shellCalls.size()); };
  LaunchTitle(p, "1");
  EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\one.txt", "", "C:\\three.txt"}));
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].text, kCannotRunText);
  EXPECT_EQ(callsWhenBoxShown, std::vector<std::size_t>{2});  // after the second, before the third
}

TEST_F(LauncherTest, LongAndOddEntriesPassWhole) {
  const std::string longUrl = "http://example.org/" + std::string(3000, 'q');
  p.WriteFile(SettingsPath(), "[Files]\r\nSet20201=\"  http://quoted  \"\r\nSet20202=" + longUrl +
                                  "\r\nSet20203=\r\n");
  p.shellResults[""] = 2;
  LaunchTitle(p, "20");
  ASSERT_EQ(p.shellCalls.size(), 3u);
  EXPECT_EQ(p.shellCalls[0].file, "  http://quoted  ");
  EXPECT_EQ(p.shellCalls[1].file, longUrl.substr(0, 2047));  // a read gives at most 2047
  EXPECT_EQ(p.shellCalls[2].file, "");  // an empty entry is no empty slot
  EXPECT_EQ(p.boxes.size(), 1u);
}

TEST(WebEntry, HttpAnywhereInAnyCase) {
  EXPECT_TRUE(IsWebEntry("http://a"));
  EXPECT_TRUE(IsWebEntry("C:\\HtTp stuff\\x.txt"));
  EXPECT_FALSE(IsWebEntry("www.example.org"));
  EXPECT_FALSE(IsWebEntry("htp://"));
}

}  // namespace
}  // namespace vantrel

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "platform/windows_rules/windows_shell.h"
#include "store/settings.h"
#include "store/titles.h"
#include "tray/launcher.h"

namespace vantrel {
namespace {

struct LauncherTest : ::testing::Test {
  FakePlatform p;
  Launcher launcher{p, p.clock, p, p.shell};
  void SetUp() override { SetUpDataFolder(p, p); }
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
  launcher.LaunchTitle("7");
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
  launcher.LaunchTitle("3");
  launcher.LaunchTitle("4");  // never saved at all
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
  launcher.LaunchTitle("1");
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
  launcher.LaunchTitle("20");
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

namespace vantrel {
namespace {

struct OptionsLauncherTest : LauncherTest {
  // Writes the programs as files, so that they have a short form to start by.
  void Prepare(const std::string& ini, std::initializer_list<const char*> files) {
    p.MakeDirectory("C:\\Tools");
    for (const char* file : files) p.WriteFile(file, "MZ");
    p.WriteFile(SettingsPath(), "[Files]\r\n" + ini);
  }
};

TEST_F(OptionsLauncherTest, OptionsReachTheShellAndARunningProgramComesToTheFront) {
  p.MakeDirectory("C:\\Work");
  Prepare(
      "Set771=C:\\Tools\\args.exe\r\nSet771Args=--in \"two words\"\r\nSet771Folder=C:\\Work\r\n"
      "Set771Entry=C:\\Tools\\args.exe\r\n"
      "Set772=C:\\Tools\\front.exe\r\nSet772Front=1\r\n"
      "Set773=C:\\Tools\\idle.exe\r\nSet773Front=1\r\n"
      "Set774=C:\\Tools\\hidden.exe\r\nSet774Front=1\r\n"
      "Set775=C:\\Tools\\notes.txt\r\nSet775Front=1\r\n"
      "Set776=C:\\PROGRA~1\\short.exe\r\nSet776Front=1\r\n"
      "Set777=C:\\Tools\\admin.exe\r\nSet777Admin=1\r\n"
      "Set778=C:\\Tools\\moved.exe\r\nSet778Args=-old\r\nSet778Entry=C:\\Tools\\other.exe\r\n",
      {"C:\\Tools\\args.exe", "C:\\Tools\\front.exe", "C:\\Tools\\idle.exe",
       "C:\\Tools\\hidden.exe", "C:\\Tools\\notes.txt", "C:\\Tools\\admin.exe",
       "C:\\Tools\\moved.exe"});
  p.shortPaths["C:\\PROGRA~1\\short.exe"] = "C:\\PROGRA~1\\short.exe";
  p.shortPaths["C:\\Program Files\\short.exe"] = "C:\\PROGRA~1\\short.exe";
  p.running = {{p.processId, "C:\\Tools\\idle.exe"},  // this program itself never counts
               {71, "c:/tools/FRONT.EXE"},           {72, "C:\\Tools\\notes.txt"},
               {73, "C:\\Tools\\hidden.exe"},        {74, "C:\\Tools\\hidden.exe"},
               {75, "C:\\Program Files\\short.exe"}};
  p.processWindows = {p.processId, 71, 72, 74, 75};
  launcher.LaunchTitle("7");

  EXPECT_EQ(p.broughtToFront, (std::vector<std::uint32_t>{71, 74, 75}));
  ASSERT_EQ(p.shellCalls.size(), 5u);
  EXPECT_EQ(p.shellCalls[0].file, "C:\\Tools\\args.exe");
  EXPECT_EQ(p.shellCalls[0].parameters, "--in \"two words\"");
  EXPECT_EQ(p.shellCalls[0].directory, "C:\\Work");
  EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\Tools\\args.exe", "C:\\Tools\\idle.exe",
                                                "C:\\Tools\\notes.txt", "C:\\Tools\\admin.exe",
                                                "C:\\Tools\\moved.exe"}));
  EXPECT_EQ(p.shellCalls[3].verb, "runas");
  // Options left at a slot whose entry has changed belong to none.
  EXPECT_EQ(p.shellCalls[4].parameters, "");
  for (std::size_t i : {0, 1, 2, 4}) EXPECT_EQ(p.shellCalls[i].verb, "open");
  EXPECT_TRUE(p.boxes.empty());
}

TEST_F(OptionsLauncherTest, ARefusedPromptAndAMissingFolderAreSaidAsSuchAndTheNextOpens) {
  Prepare(
      "Set111=C:\\Tools\\admin.exe\r\nSet111Admin=1\r\n"
      "Set112=C:\\Tools\\lost.exe\r\nSet112Folder=C:\\Nowhere\r\n"
      "Set113=C:\\Tools\\last.exe\r\nSet113Admin=1\r\n",
      {"C:\\Tools\\admin.exe", "C:\\Tools\\lost.exe", "C:\\Tools\\last.exe"});
  p.refuseElevation = true;
  launcher.LaunchTitle("1");
  EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\Tools\\admin.exe", "C:\\Tools\\last.exe"}));
  ASSERT_EQ(p.boxes.size(), 3u);
  EXPECT_EQ(p.boxes[0].text,
            "\"C:\\Tools\\admin.exe\" was not started: the request to run it as administrator was "
            "refused.");
  EXPECT_EQ(p.boxes[1].text, NoFolderText("C:\\Tools\\lost.exe", "C:\\Nowhere"));
  EXPECT_EQ(p.boxes[2].text, ElevationRefusedText("C:\\Tools\\last.exe"));
  for (const auto& box : p.boxes) EXPECT_NE(box.text, kCannotRunText);
}

// "Bring to the front" never stands for a start that did not happen: a program
// that runs with no window to bring forward (one waiting in the tray) is
// started, and the outcome says which entries were started and which brought.
TEST_F(OptionsLauncherTest, ARunningProgramWithNoWindowToBringForwardIsStarted) {
  Prepare(
      "Set111=C:\\Tools\\tray.exe\r\nSet111Front=1\r\nSet112=C:\\Tools\\front.exe\r\n"
      "Set112Front=1\r\n",
      {"C:\\Tools\\tray.exe", "C:\\Tools\\front.exe"});
  p.running = {{81, "C:\\Tools\\tray.exe"}, {82, "C:\\Tools\\front.exe"}};
  p.processWindows = {82};
  LaunchOutcome outcome = launcher.LaunchTitle("1");
  EXPECT_EQ(Opened(), std::vector<std::string>{"C:\\Tools\\tray.exe"});
  EXPECT_EQ(p.broughtToFront, std::vector<std::uint32_t>{82});
  EXPECT_EQ(outcome.started, 1);
  EXPECT_EQ(outcome.broughtForward, 1);
  EXPECT_EQ(outcome.failed, 0);

  p.shellResults["C:\\Tools\\tray.exe"] = 2;
  outcome = launcher.LaunchTitle("1");
  EXPECT_EQ(outcome.started, 0);
  EXPECT_EQ(outcome.failed, 1);
  EXPECT_EQ(p.boxes.size(), 1u);
}

// Entries saved with blanks or quotes at their ends open the file they name,
// with their options.
TEST_F(OptionsLauncherTest, EntriesWithBlanksOrQuotesOpenWithTheirOptions) {
  Prepare("", {"C:\\Tools\\a b.exe", "C:\\Tools\\c.exe"});
  TitleData data;
  Lines names, entries;
  LoadTitles(p, p.clock, data, names, entries);
  for (const char* entry : {"\"C:\\Tools\\a b.exe\"", "C:\\Tools\\c.exe ", " http://x.test/ "}) {
    AddShownEntry(data, entries, entry);
    ShownEntryOptions(data, entries, entries.size() - 1).arguments = "-v";
  }
  SaveTitles(p, p.clock, data, names, entries);
  launcher.LaunchTitle("1");
  EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\Tools\\a b.exe", "C:\\Tools\\c.exe",
                                                " http://x.test/ "}));
  for (const auto& call : p.shellCalls) EXPECT_EQ(call.parameters, "-v") << call.file;
  EXPECT_TRUE(p.boxes.empty());
}

TEST(ProgramEntry, OnlyExeAndComFilesHaveAProcess) {
  EXPECT_TRUE(IsProgramEntry("C:\\A\\b.EXE"));
  EXPECT_TRUE(IsProgramEntry("c:/x/edit.com"));
  EXPECT_FALSE(IsProgramEntry("C:\\a.exe\\notes.txt"));
  EXPECT_FALSE(IsProgramEntry("C:\\dir.exe\\file"));
  EXPECT_FALSE(IsProgramEntry("http://example.org/setup.exe"));
  EXPECT_FALSE(IsProgramEntry("C:\\link.lnk"));
  EXPECT_TRUE(SamePath("C:/Tools/A.exe", "c:\\tools\\a.EXE"));
  EXPECT_FALSE(SamePath("C:\\Tools\\a.exe", "C:\\Tools\\a.exe2"));
}

}  // namespace
}  // namespace vantrel

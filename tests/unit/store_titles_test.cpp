#include <gtest/gtest.h>

#include <set>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "profile_text.h"
#include "store/profile.h"
#include "store/settings.h"
#include "store/titles.h"

namespace vantrel {
namespace {

struct TitlesTest : ::testing::Test {
  FakePlatform p;
  TitleData data;
  Lines titles, entries;
  void SetUp() override { SetUpDataFolder(p, p); }
  std::string File() { return p.ReadFile(SettingsPath()); }
};

TEST(TitleKeys, SchemeIsUnambiguous) {
  EXPECT_EQ(TitleKey(12), "Desc12");
  EXPECT_EQ(EntryKey(1, 1), "Set111");
  EXPECT_EQ(EntryKey(1, 10), "Set1110");
  EXPECT_EQ(EntryKey(12, 3), "Set12123");
  EXPECT_EQ(EntryKey(20, 10), "Set202010");
  EXPECT_EQ(EntryKey("7", 20), "Set7720");
  std::set<std::string> keys;
  for (int t = 1; t <= 20; ++t)
    for (int i = 1; i <= 20; ++i) EXPECT_TRUE(keys.insert(EntryKey(t, i)).second) << t << "/" << i;
}

TEST_F(TitlesTest, FirstRunWritesThe220KeysInOrder) {
  StartUpTitles(p, p.clock, data, titles, entries);
  ASSERT_EQ(titles.size(), 20u);
  EXPECT_EQ(titles[0], "No Title Entered 1");
  EXPECT_EQ(titles[19], "No Title Entered 20");
  EXPECT_EQ(data.CurrentTitle, 1);
  EXPECT_TRUE(entries.empty());

  std::string expected = "[Files]\r\n";
  for (int t = 1; t <= 20; ++t) {
    expected += "Desc" + std::to_string(t) + "=No Title Entered " + std::to_string(t) + "\r\n";
    for (int i = 1; i <= 10; ++i) expected += EntryKey(t, i) + "=Null\r\n";
  }
  EXPECT_EQ(File(), expected);
}

TEST_F(TitlesTest, LoadFallsBackAndClosesGapsOnlyInTheDisplay) {
  p.WriteFile(SettingsPath(),
              "[Files]\r\nDesc1=Work\r\nSet112=two\r\nSet115=five\r\nSet113=Null\r\nSet114=null\r\n"
              "Desc3=\r\nSet331=\r\nSet3311=eleven\r\n");
  StartUpTitles(p, p.clock, data, titles, entries);
  EXPECT_EQ(titles[0], "Work");
  EXPECT_EQ(titles[1], "No Title Entered");  // missing key: the fallback, no number
  EXPECT_EQ(titles[2], "");
  EXPECT_EQ(entries, (std::vector<std::string>{"two", "null", "five"}));
  EXPECT_EQ(data.TitleTable[0][0], "Null");  // the row keeps its gaps until stored
  EXPECT_EQ(data.TitleTable[2][0], "");      // present but empty is an entry

  // Storing packs the row: entries to slots 1..n, "Null" after.
  StoreEntryList(data, entries);
  EXPECT_EQ(data.TitleTable[0][0], "two");
  EXPECT_EQ(data.TitleTable[0][2], "five");
  EXPECT_EQ(data.TitleTable[0][3], "Null");
  entries.clear();
  ShowEntryList(data, 3, entries);
  EXPECT_EQ(entries, std::vector<std::string>{""});
}

TEST_F(TitlesTest, SaveWritesNamesThenEntriesAndNeverDeletesKeys) {
  p.WriteFile(SettingsPath(),
              "[Files]\r\nSet111=a\r\nSet1115=by hand\r\n[SSaver]\r\nName=x.scr\r\n");
  StartUpTitles(p, p.clock, data, titles, entries);
  titles[4] = "";
  entries = {"c:\\one.txt", "http://two"};
  SaveTitles(p, p.clock, data, titles, entries);
  const std::string file = File();
  EXPECT_EQ(ProfileRead(file, "Files", "Desc5", "missing"), "");
  EXPECT_EQ(ProfileRead(file, "Files", "Set112", ""), "http://two");
  EXPECT_EQ(ProfileRead(file, "Files", "Set1115", ""), "by hand");
  EXPECT_EQ(ProfileRead(file, "SSaver", "Name", ""), "x.scr");
  EXPECT_LT(file.find("Desc20="), file.find("Set113="));  // names first
}

TEST_F(TitlesTest, FailedSaveStopsAtTheKeyAndTheNextSaveWritesAll) {
  StartUpTitles(p, p.clock, data, titles, entries);
  p.SetReadOnly(SettingsPath(), true);
  const int writes = p.writes;
  SaveTitles(p, p.clock, data, titles, entries);  // nothing changed: nothing written, nothing told
  EXPECT_EQ(p.writes, writes);
  entries = {"kept in memory"};
  EXPECT_THROW(SaveTitles(p, p.clock, data, titles, entries), VantrelError);
  EXPECT_EQ(data.TitleTable[0][0], "kept in memory");
  p.SetReadOnly(SettingsPath(), false);
  SaveTitles(p, p.clock, data, titles, entries);
  EXPECT_EQ(ProfileRead(File(), "Files", "Set111", ""), "kept in memory");
}

// A file that cannot be read now is never taken for a first run's.
TEST_F(TitlesTest, AStartThatCannotReadTheFileChangesNothing) {
  p.WriteFile(SettingsPath(), "[Files]\r\nDesc1=Work\r\n");
  p.readAnswer = FileAnswer::NetworkGone;
  p.readAnswers = -1;
  EXPECT_THROW(StartUpTitles(p, p.clock, data, titles, entries), SettingsBusyError);
  EXPECT_TRUE(titles.empty());
  EXPECT_EQ(File(), "[Files]\r\nDesc1=Work\r\n");
}

// Two running copies, or a hand edit, never have their saved titles undone by
// another copy's Ok: it writes what it changed, and all of it into no file.
TEST_F(TitlesTest, SaveKeepsWhatAnotherCopyOrAHandEditSavedMeanwhile) {
  StartUpTitles(p, p.clock, data, titles, entries);
  TitleData other;
  Lines otherTitles, otherEntries;
  StartUpTitles(p, p.clock, other, otherTitles, otherEntries);
  otherTitles[1] = "Other copy";
  SaveTitles(p, p.clock, other, otherTitles, otherEntries);
  {
    SettingsFile byHand(p, p.clock, SettingsPath());
    byHand.WriteValue("Files", "Set771", "by hand");
    byHand.Release();
  }
  titles[0] = "Mine";
  SaveTitles(p, p.clock, data, titles, entries);
  SaveTitles(p, p.clock, other, otherTitles, otherEntries);  // nothing changed there since
  EXPECT_EQ(ProfileRead(File(), "Files", "Desc1", ""), "Mine");
  EXPECT_EQ(ProfileRead(File(), "Files", "Desc2", ""), "Other copy");
  EXPECT_EQ(ProfileRead(File(), "Files", "Set771", ""), "by hand");

  p.DeleteFile(SettingsPath());
  SaveTitles(p, p.clock, data, titles, entries);
  EXPECT_EQ(ProfileRead(File(), "Files", "Desc20", ""), "No Title Entered 20");
  EXPECT_EQ(ProfileRead(File(), "Files", "Set202010", ""), "Null");
}

// Options sit at their entry's slot: removing, adding and packing entries must
// move them along, clear what a slot no longer has, and never hand them on.
TEST_F(TitlesTest, OptionsTravelWithTheirEntryAndGoWithIt) {
  p.WriteFile(SettingsPath(),
              "[Files]\r\nSet111=a\r\nSet112=b\r\nSet112Args=-x\r\nSet112Entry=b\r\n"
              "Set113=c\r\nSet113Admin=1\r\nSet114=e\r\nSet114Folder=C:\\stale\r\n"
              "Set114Entry=moved by an older version\r\nSet221=z\r\nSet221Front=1\r\n");
  StartUpTitles(p, p.clock, data, titles, entries);
  const EntryOptions args{"-x", "", false, false}, admin{"", "", true, false};
  EXPECT_EQ(data.ShownOptions, (std::vector<EntryOptions>{{}, args, admin, {}}));

  RemoveShownEntry(data, entries, 0);
  AddShownEntry(data, entries, "d");
  ShownEntryOptions(data, entries, 2).bringToFront = true;  // e, now at slot 3
  EXPECT_EQ(entries, (Lines{"b", "c", "e", "d"}));
  // Another title shown and back: stored packed, shown again with its options.
  StoreEntryList(data, entries);
  data.CurrentTitle = 2;
  entries.clear();
  ShowEntryList(data, 2, entries);
  EXPECT_TRUE(data.ShownOptions.at(0).bringToFront);
  StoreEntryList(data, entries);
  data.CurrentTitle = 1;
  entries.clear();
  ShowEntryList(data, 1, entries);
  SaveTitles(p, p.clock, data, titles, entries);

  TitleData again;
  Lines againTitles, againEntries;
  LoadTitles(p, p.clock, again, againTitles, againEntries);
  EXPECT_EQ(againEntries, (Lines{"b", "c", "e", "d"}));
  EXPECT_EQ(again.ShownOptions,
            (std::vector<EntryOptions>{args, admin, {"", "", false, true}, {}}));
  const std::string file = File();
  EXPECT_EQ(ProfileRead(file, "Files", "Set114Folder", "<missing>"), "");  // cleared, not moved
  EXPECT_EQ(ProfileRead(file, "Files", "Set113Entry", ""), "e");
  EXPECT_EQ(ProfileRead(file, "Files", "Set221Front", ""), "1");
  for (const char* word : {"Args", "Folder", "Admin", "Front", "Entry"})
    EXPECT_EQ(file.find(std::string("Set115") + word), std::string::npos) << word;
}

TEST_F(TitlesTest, AFileWithoutOptionsIsReadAndSavedAsBefore) {
  StartUpTitles(p, p.clock, data, titles, entries);  // the first run's file: no option keys
  const std::string before = File();
  TitleData again;
  Lines againTitles, againEntries;
  LoadTitles(p, p.clock, again, againTitles, againEntries);
  for (const auto& row : again.OptionTable)
    for (const EntryOptions& options : row) EXPECT_TRUE(options.Empty());
  SaveTitles(p, p.clock, again, againTitles, againEntries);
  EXPECT_EQ(File(), before);

  AddShownEntry(again, againEntries, "C:\\plain.exe");
  RemoveShownEntry(again, againEntries, 5);  // no such line: nothing happens
  SaveTitles(p, p.clock, again, againTitles, againEntries);
  const std::string file = File();
  EXPECT_EQ(ProfileRead(file, "Files", "Set111", ""), "C:\\plain.exe");
  for (const char* word : {"Args", "Folder", "Admin", "Front", "Entry"})
    EXPECT_EQ(file.find(std::string(word) + "="), std::string::npos) << word;
}

// Whatever the edit window holds reads back as it was, with its options; an
// older file, whose slots lost their blanks and quotes at the read while
// "Entry" kept them, still gives each entry its options.
TEST_F(TitlesTest, EveryEntryTextKeepsItsOptionsAndAnOlderEntryKeyStillReads) {
  StartUpTitles(p, p.clock, data, titles, entries);
  const Lines odd = {"https://example.org/a b ", "\"C:\\Program Files\\x.exe\"", " 'quoted' ",
                     "C:\\\xD0\x94\xD0\xBC\\\xE6\x96\x87.txt",
                     "C:\\" + std::string(300, 'l') + ".exe"};
  const EntryOptions options{"-a \"b c\"", "C:\\", true, true};
  for (const std::string& entry : odd) {
    AddShownEntry(data, entries, entry);
    ShownEntryOptions(data, entries, entries.size() - 1) = options;
  }
  SaveTitles(p, p.clock, data, titles, entries);
  TitleData again;
  Lines againTitles, againEntries;
  LoadTitles(p, p.clock, again, againTitles, againEntries);
  EXPECT_EQ(againEntries, odd);
  EXPECT_EQ(again.ShownOptions, std::vector<EntryOptions>(odd.size(), options));

  p.WriteFile(SettingsPath(),
              "[Files]\r\nSet111=https://example.org/a \r\nSet111Args=-x\r\n"
              "Set111Entry=\"https://example.org/a \"\r\nSet112=\"C:\\x.exe\"\r\nSet112Front=1\r\n"
              "Set112Entry=\"\"C:\\x.exe\"\"\r\nSet113=C:\\y.exe\r\nSet113Args=-y\r\n"
              "Set113Entry=\" C:\\other.exe\"\r\n");
  againEntries.clear();
  LoadTitles(p, p.clock, again, againTitles, againEntries);
  EXPECT_EQ(againEntries, (Lines{"https://example.org/a", "C:\\x.exe", "C:\\y.exe"}));
  EXPECT_EQ(again.ShownOptions,
            (std::vector<EntryOptions>{{"-x", "", false, false}, {"", "", false, true}, {}}));
}

// The workspace keys travel with their entry as the other options do, keep a
// value the program cannot use as it was written, and count only for the
// entry they were set for.
TEST_F(TitlesTest, WorkspaceKeysTravelWithTheirEntryAndAnUnusableValueStaysAsWritten) {
  const std::string place = "maximised,10,20,800,600,96,0,0,1920,1080,\\.\\DISPLAY1";
  p.WriteFile(SettingsPath(), "[Files]\r\nSet111=a.exe\r\nSet112=b.exe\r\nSet112Place=" + place +
                                  "\r\nSet112Wait=  soon \r\nSet112WaitWindow=1\r\nSet112Stay=1\r\n"
                                  "Set113=c.exe\r\nSet113Place=normal,1,2,3,4,96,0,0,9,9,X\r\n"
                                  "Set113Entry=moved.exe\r\n");
  StartUpTitles(p, p.clock, data, titles, entries);
  EntryOptions b;
  b.place = place;
  b.waitSeconds = "soon";
  b.waitForWindow = b.leaveRunning = true;
  EXPECT_EQ(data.ShownOptions, (std::vector<EntryOptions>{{}, b, {}}));
  EXPECT_FALSE(WaitSeconds(b.waitSeconds));

  RemoveShownEntry(data, entries, 0);  // b.exe to slot 1, c.exe to slot 2
  ShownEntryOptions(data, entries, 1).waitSeconds = WaitText(120);
  SaveTitles(p, p.clock, data, titles, entries);
  const std::string file = File();
  EXPECT_EQ(ProfileRead(file, "Files", "Set111Place", ""), place);
  EXPECT_NE(file.find("Set111Wait=soon\r\n"), std::string::npos);
  EXPECT_EQ(ProfileRead(file, "Files", "Set111Entry", ""), "b.exe");
  EXPECT_EQ(ProfileRead(file, "Files", "Set112Place", "<missing>"), "");  // moved.exe's: cleared
  EXPECT_EQ(ProfileRead(file, "Files", "Set112Wait", ""), "120");
  EXPECT_EQ(ProfileRead(file, "Files", "Set112Entry", ""), "c.exe");
  for (const char* word : {"Place", "Wait", "WaitWindow", "Stay", "Entry"})
    EXPECT_EQ(ProfileRead(file, "Files", std::string("Set113") + word, ""), "") << word;

  TitleData again;
  Lines againTitles, againEntries;
  LoadTitles(p, p.clock, again, againTitles, againEntries);
  EXPECT_EQ(again.ShownOptions.at(0), b);
}

// A place saved from the command line goes only to the entry it was taken
// for, and says so when that entry changed meanwhile.
TEST_F(TitlesTest, PlacesAreSavedOnlyBesideTheEntryTheyWereTakenFor) {
  const std::string place = "normal,1,2,300,200,96,0,0,1024,768,\\\\.\\DISPLAY1";
  p.WriteFile(SettingsPath(), "[Files]\r\nSet111=new.exe\r\nSet112=b.exe\r\nSet112Args=-x\r\n");
  EXPECT_EQ(SavePlaces(p, p.clock, {{"Set111", "old.exe", place}, {"Set112", "b.exe", place}}), 1u);
  const std::string file = File();
  EXPECT_EQ(ProfileRead(file, "Files", "Set111Place", "<missing>"), "<missing>");
  EXPECT_EQ(ProfileRead(file, "Files", "Set112Place", ""), place);
  EXPECT_EQ(ProfileRead(file, "Files", "Set112Args", ""), "-x");
  EXPECT_EQ(ProfileRead(file, "Files", "Set112Entry", ""), "b.exe");
}

TEST(EntryWaits, OnlyPlainWholeSecondsUpToTheLimitAreUsed) {
  EXPECT_EQ(WaitSeconds(""), 0);
  EXPECT_EQ(WaitSeconds("0"), 0);
  EXPECT_EQ(WaitSeconds("1"), 1);
  EXPECT_EQ(WaitSeconds("120"), 120);
  for (const char* text : {"00", "007", "121", "1000", "-1", "+5", "1.5", " 5", "5s"})
    EXPECT_FALSE(WaitSeconds(text)) << text;
  for (int seconds : {0, 1, 59, 120}) EXPECT_EQ(WaitSeconds(WaitText(seconds)), seconds);
}

TEST(Titles, FirstRunWithoutAFolderStillFillsTheTable) {
  FakePlatform p;
  TitleData data;
  Lines titles, entries;
  p.WriteFile("C:\\Users\\tester\\AppData\\Roaming\\Vantrel", "blocking file");
  SetUpDataFolder(p, p);
  EXPECT_THROW(StartUpTitles(p, p.clock, data, titles, entries), VantrelError);
  EXPECT_EQ(titles.size(), 20u);
  EXPECT_EQ(data.CurrentTitle, 1);
  EXPECT_EQ(data.TitleTable[19][9], "Null");
}

}  // namespace
}  // namespace vantrel

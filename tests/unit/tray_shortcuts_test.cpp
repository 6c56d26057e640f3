// Opening a title without the menu: the command line and the titles' keys.
#include <gtest/gtest.h>

#include <regex>

#include "editor/edit_window.h"
#include "platform/fake/fake_platform.h"
#include "platform/utf8.h"
#include "store/settings.h"
#include "tray/application.h"
#include "tray/command_line.h"
#include "tray/launcher.h"
#include "tray/tray_window.h"

namespace vantrel {
namespace {

using Strings = std::vector<std::string>;

const char kIni[] =
    "[Files]\r\nDesc1=Work\r\nSet111=C:\\one.txt\r\nSet112=C:\\two.txt\r\n"
    "Desc2=\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0 "
    "\xC3\x89t\xC3\xA9\r\nSet221=https://mail.test\r\n"
    "Desc3=No Title Entered 3\r\nSet331=C:\\three.txt\r\nDesc4=7\r\nSet441=C:\\four.txt\r\n"
    "Desc5=Work\r\nSet551=C:\\five.txt\r\n";

// A run with arguments, as main makes it.
int RunWith(FakePlatform& p, const std::string& line) {
  p.commandLine = "\"C:\\Program Files\\Vantrel\\vantrel.exe\" " + line;
  return RunCommand(p, p, p, p.clock, p.shell, p.desktop,
                    ParseArguments(SplitCommandLine(p.CommandLineText())));
}

TEST(CommandLine, SplitsAsWindowsDoesAndTellsWhatIsWrong) {
  EXPECT_EQ(SplitCommandLine("\"C:\\a b\\vantrel.exe\"  --open \"My \"\"big\"\" work\" x\\\\\\\"y "
                             "\"c:\\dir\\\\\" a\\b"),
            (Strings{"--open", "My \"big\" work", "x\\\"y", "c:\\dir\\", "a\\b"}));
  EXPECT_EQ(SplitCommandLine("C:\\vantrel.exe"), Strings{});
  EXPECT_EQ(SplitCommandLine("vantrel.exe \"\" \"open"), (Strings{"", "open"}));

  using Action = Command::Action;
  EXPECT_EQ(ParseArguments({}).action, Action::Tray);
  const Command open = ParseArguments({"--OPEN", " Work "});
  EXPECT_EQ(open.action, Action::Open);
  EXPECT_EQ(open.title, "Work");
  EXPECT_EQ(ParseArguments({"/?"}).action, Action::Help);
  EXPECT_EQ(ParseArguments({"--List"}).action, Action::List);
  EXPECT_EQ(ParseArguments({"--VERSION"}).action, Action::Version);
  for (const Strings& wrong :
       {Strings{"--open"}, Strings{"--open", "  "}, Strings{"--open", "a", "b"},
        Strings{"--list", "x"}, Strings{"--version", "x"}, Strings{"open"}, Strings{"-x"},
        Strings{""}})
    EXPECT_EQ(ParseArguments(wrong).action, Action::Wrong) << wrong[0];
  EXPECT_EQ(ParseArguments({"--frobnicate"}).title, "Unknown argument: --frobnicate");
}

TEST(CommandLine, TitlesByNumberThenByNameInAnyCase) {
  FakePlatform p;
  LocateDataFolder(p);
  p.MakeDirectory(DataFolder());
  p.WriteFile(SettingsPath(), kIni);
  EXPECT_EQ(FindTitle(p, p.clock, "3"), 3);
  EXPECT_EQ(FindTitle(p, p.clock, "07"), 7);  // a number first, though title 4 is named "7"
  EXPECT_EQ(FindTitle(p, p.clock, "20"), 20);
  EXPECT_EQ(FindTitle(p, p.clock, "wORK"), 1);  // the lowest of two titles of that name
  EXPECT_EQ(FindTitle(p, p.clock, "\xD0\xBF\xD0\x9E\xD0\xA7\xD0\xA2\xD0\x90 \xC3\xA9T\xC3\x89"), 2);
  for (const char* none : {"21", "0", "No Title Entered 3", "Wor", "", "100"})
    EXPECT_EQ(FindTitle(p, p.clock, none), 0) << none;
  EXPECT_EQ(FoldCase("\xC5\xB8\xC4\xB0X\xCE\xA3"), "\xC3\xBF\xC4\xB0x\xCF\x83");
}

TEST(CommandLine, ExitStatusesOutputAndNothingOfTheTrayProgram) {
  FakePlatform p;
  LocateDataFolder(p);
  p.MakeDirectory(DataFolder());
  p.WriteFile(SettingsPath(), kIni);
  p.shellResults[""] = 2;  // C:\two.txt does not exist: its short form is empty
  p.WriteFile("C:\\one.txt", "1");

  EXPECT_EQ(RunWith(p, "--open 1"), kExitNotOpened);  // one of two entries failed
  EXPECT_EQ(p.shellCalls.size(), 2u);
  EXPECT_EQ(p.boxes.size(), 1u);  // the launcher's own report
  EXPECT_EQ(RunWith(p, "--open \"\xD0\xBF\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0 \xC3\xA9t\xC3\xA9\""),
            kExitOpened);
  EXPECT_EQ(p.shellCalls.back().file, "https://mail.test");
  EXPECT_EQ(RunWith(p, "--open 9"), kExitNotOpened);  // no entries
  EXPECT_EQ(p.boxes.back().text, kNoProgramsText);
  const std::size_t calls = p.shellCalls.size(), boxes = p.boxes.size();
  EXPECT_EQ(RunWith(p, "--open Nobody"), kExitWrongUsage);
  EXPECT_EQ(RunWith(p, "--bogus"), kExitWrongUsage);
  EXPECT_EQ(p.shellCalls.size(), calls);
  EXPECT_EQ(p.boxes.size(), boxes);  // told on the console
  EXPECT_NE(p.output.find("No title is numbered or named \"Nobody\""), std::string::npos);
  EXPECT_NE(p.output.find(std::string("Unknown argument: --bogus\r\n\r\n") + kUsageText),
            std::string::npos);

  p.output.clear();
  EXPECT_EQ(RunWith(p, "--list"), kExitOpened);
  EXPECT_EQ(
      p.output.substr(0, p.output.find(" 6 ")),
      " 1  Work  (2 entries)\r\n 2  \xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0 \xC3\x89t\xC3\xA9  "
      "(1 entry)\r\n 3  (1 entry)\r\n 4  7  (1 entry)\r\n 5  Work  (1 entry)\r\n");
  EXPECT_NE(p.output.find("\r\n20  (0 entries)\r\n"), std::string::npos);

  // Started from a shortcut: no console, so one box with the usage.
  p.standardOutput = OutputKind::None;
  EXPECT_EQ(RunWith(p, "/open 1"), kExitWrongUsage);
  ASSERT_EQ(p.boxes.size(), boxes + 1);
  EXPECT_NE(p.boxes.back().text.find(kUsageText), std::string::npos);
  EXPECT_EQ(RunWith(p, "--help"), kExitOpened);
  EXPECT_EQ(p.boxes.back().text, kUsageText);
  EXPECT_EQ(RunWith(p, "--version"), kExitOpened);
  EXPECT_EQ(p.boxes.back().text, kVersionText);
  p.standardOutput = OutputKind::Pipe;
  p.output.clear();
  EXPECT_EQ(RunWith(p, "--version"), kExitOpened);
  EXPECT_EQ(p.output, kVersionText);
  EXPECT_TRUE(std::regex_match(
      p.output,
      std::regex(
          "Vantrel [0-9]+\\.[0-9]+\\.[0-9]+ \\(commit ([0-9a-f]{12}(-modified)?|unknown)\\)\r\n")))
      << p.output;

  EXPECT_EQ(p.iconAdds, 0);
  EXPECT_FALSE(p.RegGet(kRunKey, kRunValue));
  EXPECT_EQ(p.writes, 0);
  EXPECT_EQ(p.ReadFile(SettingsPath()), kIni);
}

// Text goes wherever the output was sent, NUL and other devices included, else
// to the console of the program that started this one: a box, which would hold
// up a script, only without either.
TEST(CommandLine, OutputGoesWhereverItWasSentAndABoxOnlyWithoutIt) {
  struct Case {
    OutputKind given;
    bool parentConsole, box;
  };
  for (const Case& c : {Case{OutputKind::Disk, false, false},
                        {OutputKind::Pipe, false, false},
                        {OutputKind::Console, false, false},
                        {OutputKind::Device, false, false},
                        {OutputKind::None, true, false},
                        {OutputKind::None, false, true}}) {
    FakePlatform p;
    p.standardOutput = c.given;
    p.parentConsole = c.parentConsole;
    EXPECT_EQ(RunWith(p, "--open Nobody"), kExitWrongUsage);
    const auto kind = static_cast<int>(c.given);
    EXPECT_EQ(p.boxes.size(), c.box ? 1u : 0u) << kind;
    EXPECT_EQ(p.output.find("\"Nobody\"") != std::string::npos, !c.box) << kind;
  }
}

// Every letter that has a case matches its other case: accented capitals, the
// final sigma, Ukrainian Ge and the letters of other cased scripts.
TEST(CommandLine, NamesMatchInAnyCaseInEveryScript) {
  FakePlatform p;
  LocateDataFolder(p);
  p.MakeDirectory(DataFolder());
  p.WriteFile(
      SettingsPath(),
      "[Files]\r\nDesc1=\xCE\x88\xCE\xB3\xCE\xB3\xCF\x81\xCE\xB1\xCF\x86\xCE\xB1\r\n"
      "Desc2=\xCE\xA6\xCF\x89\xCF\x82\r\nDesc3=\xD2\x90\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xBA\r\n");
  EXPECT_EQ(FindTitle(p, p.clock, "\xCE\xAD\xCE\xB3\xCE\xB3\xCF\x81\xCE\xB1\xCF\x86\xCE\xB1"), 1);
  EXPECT_EQ(FindTitle(p, p.clock, "\xCE\xA6\xCE\xA9\xCE\xA3"), 2);
  EXPECT_EQ(FindTitle(p, p.clock, "\xD2\x91\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xBA"), 3);
  const std::pair<const char*, const char*> same[] = {
      {"\xD4\xB2\xD5\xA1\xD6\x80\xD5\xA5\xD6\x82", "\xD5\xA2\xD4\xB1\xD5\x90\xD4\xB5\xD5\x92"},
      {"\xE1\xB2\xA5\xE1\xB2\x90\xE1\xB2\xA0", "\xE1\x83\xA5\xE1\x83\x90\xE1\x83\xA0"},
      {"\xE1\x8F\xA3\xE1\x8E\xB3\xE1\x8E\xA9", "\xEA\xAE\xB3\xEA\xAE\x83\xEA\xAD\xB9"},
      {"\xF0\x90\x90\x94\xF0\x90\x90\xAF", "\xF0\x90\x90\xBC\xF0\x90\x90\x87"},
      {"\xE1\xBA\x9E\xC7\x84\xC7\x85\xE2\x84\xAA", "\xC3\x9F\xC7\x86\xC7\x86k"}};
  for (const auto& [one, other] : same) EXPECT_EQ(FoldCase(one), FoldCase(other)) << one;
  // Full folding's expansions are no simple case: they stay as they are.
  EXPECT_NE(FoldCase("\xC4\xB0"), FoldCase("i"));
  EXPECT_NE(FoldCase("\xC3\x9F"), FoldCase("ss"));
}

TEST(KeyCombos, TextRoundTripsAndOddTextIsNoKey) {
  for (const char* text : {"Ctrl+Alt+1", "Shift+Win+F12", "Ctrl+Num +", "Alt+Page Down",
                           "Ctrl+Shift+\\", "Ctrl+#7", "F24"}) {
    const auto combo = ParseKeyCombo(text);
    ASSERT_TRUE(combo) << text;
    EXPECT_EQ(KeyComboText(*combo), text);
  }
  EXPECT_EQ(ParseKeyCombo(" alt+CTRL+q "), (KeyCombo{'Q', kKeyAlt | kKeyControl}));
  EXPECT_EQ(ParseKeyCombo(""), KeyCombo{});
  for (const char* odd : {"Ctrl+", "Ctrl+Alt+", "Hyper+1", "F25", "#0", "Ctrl+AB"})
    EXPECT_FALSE(ParseKeyCombo(odd)) << odd;
  // A shortcut key needs Ctrl, Alt or Win; Shift alone is not enough.
  for (const char* key : {"Ctrl+1", "Alt+Space", "Win+F5", "Shift+Win+A", "Ctrl+Shift+Enter"})
    EXPECT_TRUE(IsShortcutKey(*ParseKeyCombo(key))) << key;
  for (const char* key : {"Space", "Shift+A", "Enter", "F5", ""})
    EXPECT_FALSE(IsShortcutKey(*ParseKeyCombo(key))) << key;
}

struct HotKeyTest : ::testing::Test {
  FakePlatform p;
  Application app{p.All()};
  void Prepare(const std::string& ini) {
    LocateDataFolder(p);
    p.MakeDirectory(DataFolder());
    p.WriteFile(SettingsPath(), ini);
  }
  void SetKeyOfTitle(int line, KeyCombo combo) { OkInRenameDialog(line, combo); }
  // The rename dialog of the title on `line`, the key pressed unless none is
  // given, and both windows' Ok.
  void OkInRenameDialog(int line, std::optional<KeyCombo> combo) {
    p.Script("TFrmedit", [line](FakeFormDriver& d) {
      d.Select("Listtitles", line);
      d.Click("Button1");
      d.Click("BitBtn1");
    });
    p.Script("TFrmtitlechg", [combo](FakeFormDriver& d) {
      if (combo) d.PressKeys("HotKey1", *combo);
      d.Click("Button1");
    });
    p.ShowModal(app.Editor(), nullptr);
  }
};

TEST_F(HotKeyTest, KeysAreSavedTakenAfterEachSaveFreedAndOpenTheirTitle) {
  Prepare(
      "[Files]\r\nDesc3=Mail\r\nSet331=https://mail.test\r\nHotkey3=ctrl+alt+m\r\n"
      "Hotkey4=nonsense\r\n");
  app.Start();
  EXPECT_EQ(p.hotKeys, (std::map<int, KeyCombo>{{3, {'M', kKeyControl | kKeyAlt}}}));
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].text,
            "The shortcut key \"nonsense\" of title 4 is not a key Vantrel knows, so it does not "
            "open this title. You can choose another key with \"Change Title Names\" in \"Edit "
            "Your List\".");
  p.HotKey(3);
  ASSERT_EQ(p.shellCalls.size(), 1u);
  EXPECT_EQ(p.shellCalls[0].file, "https://mail.test");

  // Renaming without touching the key keeps its text as the file had it.
  SetKeyOfTitle(2, {'M', kKeyControl | kKeyAlt});
  const std::string kept = p.ReadFile(SettingsPath());
  EXPECT_NE(kept.find("Hotkey3=ctrl+alt+m\r\n"), std::string::npos);
  EXPECT_NE(kept.find("Hotkey4=nonsense\r\n"), std::string::npos);
  EXPECT_EQ(kept.find("Hotkey1="), std::string::npos);  // titles without keys get no line

  SetKeyOfTitle(0, {'1', kKeyControl | kKeyAlt});
  EXPECT_NE(p.ReadFile(SettingsPath()).find("Hotkey1=Ctrl+Alt+1\r\n"), std::string::npos);
  EXPECT_EQ(p.hotKeys.size(), 2u);
  EXPECT_EQ(p.hotKeys[1], (KeyCombo{'1', kKeyControl | kKeyAlt}));

  // Title 3 asks for title 1's key: title 1 keeps it, title 3 is told and holds none.
  SetKeyOfTitle(2, {'1', kKeyControl | kKeyAlt});
  EXPECT_EQ(p.hotKeys, (std::map<int, KeyCombo>{{1, {'1', kKeyControl | kKeyAlt}}}));
  // Title 1 lets it go for the key title 3 had: in the same save title 3 gets it.
  SetKeyOfTitle(0, {'M', kKeyControl | kKeyAlt});
  EXPECT_EQ(p.hotKeys, (std::map<int, KeyCombo>{{1, {'M', kKeyControl | kKeyAlt}},
                                                {3, {'1', kKeyControl | kKeyAlt}}}));
  SetKeyOfTitle(2, {});
  EXPECT_NE(p.ReadFile(SettingsPath()).find("Hotkey3=\r\n"), std::string::npos);
  EXPECT_EQ(p.hotKeys, (std::map<int, KeyCombo>{{1, {'M', kKeyControl | kKeyAlt}}}));
  ASSERT_EQ(p.boxes.size(), 2u);
  EXPECT_NE(p.boxes[1].text.find("Ctrl+Alt+1 of title 3, \"Mail\" is already taken by title 1"),
            std::string::npos);
}

TEST_F(HotKeyTest, LinesThatAreNoShortcutKeyAreKeptNeverTakenAndToldOnce) {
  const std::string ini =
      "[Files]\r\nDesc1=Work\r\nHotkey1=Space\r\nHotkey2=Shift+A\r\nHotkey3= \"Enter\" \r\n"
      "Hotkey4=Ctrl+Hyper+4\r\nHotkey5=win+f5\r\n";
  Prepare(ini);
  app.Start();
  EXPECT_EQ(p.hotKeys, (std::map<int, KeyCombo>{{5, {0x74, kKeyWin}}}));
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].text,
            "These shortcut keys do not open their titles:\n- \"Space\" of title 1, \"Work\" has "
            "neither Ctrl, Alt nor Win\n- \"Shift+A\" of title 2 has neither Ctrl, Alt nor Win\n- "
            "\"Enter\" of title 3 has neither Ctrl, Alt nor Win\n- \"Ctrl+Hyper+4\" of title 4 is "
            "not a key Vantrel knows\nYou can choose another key with \"Change Title Names\" in "
            "\"Edit Your List\".");
  // Ok with the keys as shown: every line stays as written, and nothing is told again.
  OkInRenameDialog(0, std::nullopt);
  OkInRenameDialog(4, std::nullopt);
  EXPECT_EQ(p.ReadFile(SettingsPath()).substr(0, ini.size()), ini);
  EXPECT_EQ(p.hotKeys.size(), 1u);
  EXPECT_EQ(p.boxes.size(), 1u);
  // A key pressed without Ctrl, Alt or Win is saved and taken with Ctrl+Alt.
  SetKeyOfTitle(1, {'B', kKeyShift});
  EXPECT_NE(p.ReadFile(SettingsPath()).find("Hotkey2=Ctrl+Alt+B\r\n"), std::string::npos);
  EXPECT_EQ(p.hotKeys,
            (std::map<int, KeyCombo>{{2, {'B', kKeyControl | kKeyAlt}}, {5, {0x74, kKeyWin}}}));
  // A line changed by hand to another key that breaks the rule is told again, once.
  p.WriteFile(SettingsPath(), "[Files]\r\nHotkey1=Tab\r\nHotkey5=win+f5\r\n");
  app.MainForm().RegisterHotKeys();
  app.MainForm().RegisterHotKeys();
  ASSERT_EQ(p.boxes.size(), 2u);
  EXPECT_NE(p.boxes[1].text.find("\"Tab\" of title 1 has neither"), std::string::npos);
  EXPECT_EQ(p.hotKeys, (std::map<int, KeyCombo>{{5, {0x74, kKeyWin}}}));
}

TEST_F(HotKeyTest, AKeyAnotherProgramHoldsIsReportedOnceAndTheRestWork) {
  Prepare("[Files]\r\nDesc2=Music\r\nHotkey2=Ctrl+Alt+9\r\nHotkey5=Win+F5\r\n");
  p.keysHeldElsewhere.push_back({'9', kKeyControl | kKeyAlt});
  app.Start();
  EXPECT_TRUE(p.iconShown);
  EXPECT_EQ(p.hotKeys, (std::map<int, KeyCombo>{{5, {0x74, kKeyWin}}}));
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(
      p.boxes[0].text,
      "The shortcut key Ctrl+Alt+9 of title 2, \"Music\" is already taken by another program, "
      "so it does not open this title. You can choose another key with \"Change Title "
      "Names\" in \"Edit Your List\".");
  app.MainForm().RegisterHotKeys();  // as after a save: tried again, not told again
  EXPECT_EQ(p.boxes.size(), 1u);
  // A second running copy finds every key taken: one box tells of them all.
  FakePlatform second;
  second.MakeDirectory(DataFolder());
  second.WriteFile(SettingsPath(), p.ReadFile(SettingsPath()));
  second.keysHeldElsewhere = {{'9', kKeyControl | kKeyAlt}, {0x74, kKeyWin}};
  Application copy(second.All());
  copy.Start();
  ASSERT_EQ(second.boxes.size(), 1u);
  EXPECT_EQ(second.boxes[0].text,
            "These shortcut keys do not open their titles:\n- Ctrl+Alt+9 of title 2, \"Music\" is "
            "already taken by another program\n- Win+F5 of title 5 is already taken by another "
            "program\nYou can choose another key with \"Change Title Names\" in \"Edit Your "
            "List\".");
  p.keysHeldElsewhere.clear();
  app.MainForm().RegisterHotKeys();
  EXPECT_EQ(p.hotKeys.size(), 2u);
}

}  // namespace
}  // namespace vantrel

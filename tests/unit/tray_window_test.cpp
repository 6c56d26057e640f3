#include <gtest/gtest.h>

#include <algorithm>

#include "editor/edit_window.h"
#include "platform/fake/fake_platform.h"
#include "platform/windows_rules/desktop_key_screen_saver.h"
#include "platform/windows_rules/run_key_autostart.h"
#include "store/settings.h"
#include "tray/accelerators.h"
#include "tray/application.h"
#include "tray/launcher.h"
#include "tray/maker_site.h"
#include "tray/tray_window.h"

namespace vantrel {
namespace {

std::vector<std::string> Plain(const std::vector<std::string>& captions) {
  std::vector<std::string> out;
  for (const auto& c : captions) out.push_back(WithoutMarks(c));
  return out;
}

// The main window alone, on every capability of `p`.
TForm1 MainWindow(FakePlatform& p) {
  return TForm1(p, p.clock, p, p.shell, p, p, p.autostart, p.screenSaver, p.desktop);
}

std::string RunData(const FakePlatform& p) {
  auto v = p.RegGet(kRunKey, kRunValue);
  return v ? v->data : "<absent>";
}

TEST(StartUp, MainWindowFolderDirectoriesRunValueAndIcon) {
  FakePlatform p;
  Application app(p.All());
  app.Start();
  EXPECT_EQ(p.mainClass, "TForm1");
  EXPECT_EQ(p.mainCaption, "Vantrel !");
  EXPECT_EQ(p.GetPathKind(DataFolder()), PathKind::Directory);
  EXPECT_EQ(ScreenSaverFolders(p)[0], "C:\\Windows");
  EXPECT_EQ(ScreenSaverFolders(p)[1], "C:\\Windows\\System32");
  // The path holds a blank, so it is quoted (with the NUL a string value keeps).
  EXPECT_EQ(RunData(p), std::string("\"C:\\Program Files\\Vantrel\\vantrel.exe\"") + '\0');
  EXPECT_TRUE(p.iconShown);
  EXPECT_EQ(p.iconTip, kTrayTip);
  EXPECT_EQ(p.openKeys, 0);
  EXPECT_TRUE(p.boxes.empty());
  EXPECT_TRUE(p.errorBoxes.empty());

  p.TaskbarCreated();  // the shell came back: the icon is added again
  EXPECT_TRUE(p.iconShown);
  EXPECT_EQ(p.iconAdds, 2);
}

TEST(StartUp, ExistingRunValueAndFallbacks) {
  FakePlatform p;
  p.MakeDirectory("D:\\old");
  p.WriteFile("D:\\old\\place.exe", "MZ");  // another copy the user chose
  p.RegPutString(kRunKey, "zbriskoexe", "D:\\old\\place.exe");
  p.windowsDir = "";
  p.systemDir = "";
  p.programPath = "C:\\Vantrel\\vantrel.exe";
  TForm1 form = MainWindow(p);
  form.FormCreate();
  EXPECT_EQ(RunData(p), std::string("D:\\old\\place.exe") + '\0');
  EXPECT_EQ(ScreenSaverFolders(p)[0], "c:\\windows");
  EXPECT_EQ(ScreenSaverFolders(p)[1], "c:\\windows\\system");

  FakePlatform q;
  q.programPath = "C:\\Vantrel\\vantrel.exe";
  q.RegRemoveKey(kRunKey);  // no Run key: nothing written, nothing shown
  TForm1 other = MainWindow(q);
  other.FormCreate();
  EXPECT_FALSE(q.RegGet(kRunKey, kRunValue));
  EXPECT_EQ(RunValueData("C:\\Vantrel\\vantrel.exe"), "C:\\Vantrel\\vantrel.exe");
  EXPECT_TRUE(q.boxes.empty());
}

// The Run value follows the program only where the system says its file is not there.
TEST(StartUp, RunValueNamingAMissingFileIsRewrittenAndAnyOtherKept) {
  FakePlatform p;
  p.MakeDirectory("C:\\Tools\\My Apps");
  p.WriteFile("C:\\Tools\\My Apps\\run.exe", "MZ");
  std::filesystem::create_directory_symlink("loop", p.Real("C:\\loop"));
  const std::string ours = "\"C:\\Program Files\\Vantrel\\vantrel.exe\"";
  const auto startWith = [&p](const std::string& data) {
    p.RegPutString(kRunKey, kRunValue, data);
    MainWindow(p).FormCreate();
    return RunData(p).substr(0, RunData(p).size() - 1);
  };
  for (const char* moved :
       {"C:\\Old Place\\vantrel.exe", "\"C:\\Old\\vantrel.exe\" --x", "D:\\vantrel"})
    EXPECT_EQ(startWith(moved), ours) << moved;
  for (const char* kept : {"C:\\Tools\\My Apps\\run.exe", "\"C:\\Tools\\My Apps\\run.exe\" --tray",
                           "C:\\Tools\\My Apps\\run --tray", "C:\\loop\\vantrel.exe", "vantrel.exe",
                           "%LOCALAPPDATA%\\vantrel.exe", "\\\\server\\share\\vantrel.exe", ""})
    EXPECT_EQ(startWith(kept), kept) << kept;
  p.programPath = "C:\\Vantrel\\vantrel.exe";  // written in the same format: unquoted
  EXPECT_EQ(startWith("C:\\gone.exe"), p.programPath);
}

// While another program holds the file, presses give what the last complete
// read held, every title of it; with no such read they say the file is busy
// and open nothing, and the edit window loads when it is next shown.
TEST(StartUp, AHeldFileIsNeverTakenForDefaults) {
  FakePlatform p;
  const std::string file =
      std::string(1 << 20, ';') + "\n[Files]\r\nDesc1=Home\r\nSet111=C:\\h.txt\r\n";
  p.WriteFile("C:\\h.txt", "h");
  LocateDataFolder(p);
  p.MakeDirectory(DataFolder());
  p.WriteFile(SettingsPath(), file);
  p.readAnswer = FileAnswer::NetworkGone;
  p.readAnswers = -1;
  Application app(p.All());
  app.Start();
  const auto edit = [&p] {
    p.menuChoices.push_back([](const std::vector<std::string>& captions) {
      return static_cast<int>(std::find(captions.begin(), captions.end(), "&Edit Your List") -
                              captions.begin());
    });
    p.TrayCallback(kRightButtonDown);
  };
  p.errorBoxes.clear();
  p.TrayCallback(kLeftButtonDown);
  edit();
  EXPECT_EQ(p.menus.size(), 1u);  // the right menu alone
  EXPECT_TRUE(p.shownForms.empty());
  ASSERT_EQ(p.errorBoxes.size(), 2u);
  EXPECT_EQ(p.errorBoxes[0], SettingsBusyError(SettingsPath()).what() + std::string("."));

  p.readAnswers = 0;
  p.TrayCallback(kLeftButtonDown);
  EXPECT_EQ(WithoutMarks(p.menus.back()[19]), "Home");
  p.WriteFile(SettingsPath(), file + ";");
  p.readAnswers = -1;
  p.menuChoices.push_back([](const std::vector<std::string>&) { return 19; });
  p.TrayCallback(kLeftButtonDown);
  ASSERT_EQ(p.shellCalls.size(), 1u);
  EXPECT_EQ(p.shellCalls[0].file, "C:\\h.txt");
  edit();
  ASSERT_EQ(p.shownForms.size(), 1u);
  EXPECT_EQ(app.Editor()["Listtitles"].items[0], "Home");
  EXPECT_EQ(p.errorBoxes.size(), 2u);
  EXPECT_TRUE(p.boxes.empty());
}

struct TrayTest : ::testing::Test {
  FakePlatform p;
  Application app{p.All()};
  void SetUp() override { app.Start(); }
  void Choose(const std::string& caption) {
    p.menuChoices.push_back([caption](const std::vector<std::string>& captions) {
      for (std::size_t i = 0; i < captions.size(); ++i)
        if (WithoutMarks(captions[i]) == caption) return static_cast<int>(i);
      ADD_FAILURE() << "no item " << caption;
      return -1;
    });
  }
  void ChooseIndex(int index) {
    p.menuChoices.push_back([index](const std::vector<std::string>&) { return index; });
  }
};

TEST_F(TrayTest, MenusHoldTheirItemsInOrder) {
  p.TrayCallback(kRightButtonDown);
  ASSERT_EQ(p.menus.size(), 1u);
  EXPECT_EQ(Plain(p.menus[0]),
            (std::vector<std::string>{"Disable Vantrel", "Help Faq ", "More Software Downloads", "",
                                      "Edit Your List", "Select a Screensaver", "Close a Title"}));
  ASSERT_EQ(p.submenus[0].size(), 7u);
  EXPECT_EQ(Plain(p.submenus[0][6]), std::vector<std::string>(20, ""));  // no title named yet
  for (std::size_t i = 0; i < 6; ++i) EXPECT_TRUE(p.submenus[0][i].empty()) << i;
  p.TrayCallback(kLeftButtonDown);
  ASSERT_EQ(p.menus.size(), 2u);
  const auto left = Plain(p.menus[1]);
  ASSERT_EQ(left.size(), 24u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(left[static_cast<std::size_t>(i)], "") << i;  // first run
  EXPECT_EQ(left[20], "Edit Your List");
  EXPECT_EQ(left[21], "Disable Screensaver");
  EXPECT_EQ(left[23], "Activate Screensaver");
  EXPECT_EQ(p.menuPoints[1].x, p.cursor.x);
}

TEST_F(TrayTest, TitleCaptionsAreReadAfreshAtEveryLeftPress) {
  p.WriteFile(SettingsPath(),
              "[Files]\r\nDesc20=Top\r\nDesc1=Bottom\r\nDesc2=My No Title Entered list\r\n"
              "Desc3=my no title entered list\r\nSet20201=C:\\x.txt\r\n");
  p.TrayCallback(kLeftButtonDown);
  auto left = Plain(p.menus.back());
  EXPECT_EQ(left[0], "Top");
  EXPECT_EQ(left[19], "Bottom");
  EXPECT_EQ(left[18], "");                          // holds the words: shown empty
  EXPECT_EQ(left[17], "my no title entered list");  // the test minds case
  EXPECT_EQ(left[5], "");                           // missing key

  p.TrayCallback(kRightButtonDown);  // its titles to close, named as the left menu names them
  EXPECT_EQ(Plain(p.submenus.back()[popupmenu2::CloseTitle]),
            std::vector<std::string>(left.begin(), left.begin() + 20));

  p.WriteFile(SettingsPath(), "[Files]\r\nDesc20=Renamed\r\n");
  p.TrayCallback(kLeftButtonDown);
  EXPECT_EQ(WithoutMarks(p.menus.back()[0]), "Renamed");
}

TEST_F(TrayTest, ChoosingTopAndBottomTitlesLaunchesTwentyAndOne) {
  p.WriteFile("C:\\twenty.txt", "20");
  p.WriteFile("C:\\one.txt", "1");
  p.WriteFile(SettingsPath(), "[Files]\r\nSet20201=C:\\twenty.txt\r\nSet111=C:\\one.txt\r\n");
  ChooseIndex(0);
  p.TrayCallback(kLeftButtonDown);
  ChooseIndex(19);
  p.TrayCallback(kLeftButtonDown);
  ASSERT_EQ(p.shellCalls.size(), 2u);
  EXPECT_EQ(p.shellCalls[0].file, "C:\\twenty.txt");
  EXPECT_EQ(p.shellCalls[1].file, "C:\\one.txt");

  ChooseIndex(10);  // an empty caption is still a title
  p.TrayCallback(kLeftButtonDown);
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].text, kNoProgramsText);
}

TEST_F(TrayTest, OtherMouseMessagesOnlyBringTheWindowForward) {
  for (long message : {512L, 514L, 515L, 517L, 518L, 0L}) p.TrayCallback(message);
  EXPECT_TRUE(p.menus.empty());
  EXPECT_EQ(p.foregroundCalls, 6);
}

TEST_F(TrayTest, DownloadCommandAndItsFailure) {
  Choose("More Software Downloads");
  p.TrayCallback(kRightButtonDown);
  ASSERT_EQ(p.shellCalls.size(), 1u);
  EXPECT_EQ(p.shellCalls[0].file, kMakerSite);
  EXPECT_EQ(p.shellCalls[0].show, 3);
  EXPECT_TRUE(p.boxes.empty());

  p.shellResults[kMakerSite] = 5;
  Choose("More Software Downloads");
  p.TrayCallback(kRightButtonDown);
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].kind, BoxKind::Plain);
  EXPECT_EQ(p.boxes[0].text, std::string(kDownloadFailedText) + kMakerSite);
}

TEST_F(TrayTest, DisableAnswers) {
  const std::string registered = RunData(p);
  // No, then No: nothing changes.
  p.boxAnswers = {BoxResult::No, BoxResult::No};
  Choose("Disable Vantrel");
  p.TrayCallback(kRightButtonDown);
  EXPECT_EQ(RunData(p), registered);
  EXPECT_TRUE(p.iconShown);
  EXPECT_FALSE(p.mainClosed);
  ASSERT_EQ(p.boxes.size(), 2u);
  EXPECT_EQ(p.boxes[0].text, kAskRemoveStartup);
  EXPECT_EQ(p.boxes[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(p.boxes[1].text, kAskRemoveIcon);

  // Yes, then No: the value goes, the icon stays.
  p.boxes.clear();
  p.boxAnswers = {BoxResult::Yes, BoxResult::No};
  Choose("Disable Vantrel");
  p.TrayCallback(kRightButtonDown);
  EXPECT_EQ(RunData(p), "<absent>");
  ASSERT_EQ(p.boxes.size(), 3u);
  EXPECT_EQ(p.boxes[1].kind, BoxKind::Information);
  EXPECT_EQ(p.boxes[1].text, kRemovedFromStartup);
  EXPECT_TRUE(p.iconShown);

  // Yes again with the value gone still says it was removed; then Yes ends.
  p.boxes.clear();
  p.boxAnswers = {BoxResult::Yes, BoxResult::Yes};
  Choose("Disable Vantrel");
  p.TrayCallback(kRightButtonDown);
  EXPECT_EQ(p.boxes[1].text, kRemovedFromStartup);
  EXPECT_FALSE(p.iconShown);
  EXPECT_TRUE(p.mainClosed);
  EXPECT_EQ(p.openKeys, 0);
}

TEST_F(TrayTest, DisableWhenTheValueCannotBeDeleted) {
  p.regDeletesFail = true;
  p.boxAnswers = {BoxResult::Yes, BoxResult::No};
  Choose("Disable Vantrel");
  p.TrayCallback(kRightButtonDown);
  ASSERT_GE(p.boxes.size(), 2u);
  EXPECT_EQ(p.boxes[1].text, kNotRemovedFromStartup);
  EXPECT_NE(RunData(p), "<absent>");
}

TEST_F(TrayTest, EditYourListWhileTheEditorIsOpenIsReported) {
  // While the editor is shown, the icon is pressed again and "Edit Your List" chosen.
  p.Script("TFrmedit", [&](FakeFormDriver&) {
    Choose("Edit Your List");
    p.TrayCallback(kLeftButtonDown);
  });
  Choose("Edit Your List");
  p.TrayCallback(kRightButtonDown);
  ASSERT_EQ(p.shownForms.size(), 1u);
  EXPECT_EQ(p.shownForms[0].className, "TFrmedit");
  EXPECT_EQ(p.errorBoxes, std::vector<std::string>{"Cannot make a visible window modal."});
}

}  // namespace
}  // namespace vantrel

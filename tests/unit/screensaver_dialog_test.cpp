#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/fake/fake_platform.h"
#include "screensaver/screensaver_dialog.h"
#include "store/settings.h"

namespace vantrel {
namespace {

const std::string kNoneFound =
    "There were no screensavers found in your windows or windows system directory.";
const std::string kMissing =
    "The screensaver selected no longer exists. Please right click on the icon in the system "
    "tray, and select an existing screensaver.";
const std::string kCouldNotRun =
    "The screensaver could not be run. It may be an invalid or corrupt screensaver. Please right "
    "click on the icon in the system tray and select a different screensaver.";

// Stands in for the main window: its timer ticks run Timer1Timer, errors reported.
class TimerOwner : public TrayEvents {
 public:
  TimerOwner(FakePlatform& platform, ActivationState& state) : platform_(platform), state_(state) {}
  void OnTrayCallback(long) override {}
  void OnTimer() override {
    RunGuarded(platform_, [this] {
      Timer1Timer(platform_, platform_, platform_.clock, platform_, platform_.screenSaver, state_);
    });
  }

 private:
  FakePlatform& platform_;
  ActivationState& state_;
};

class ScreensaverChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUpDataFolder(platform, platform);
    platform.mainClass = "TForm1";
    platform.SetEvents(&owner);
  }

  std::string Stored() {
    SettingsFile settings(platform, platform.clock, SettingsPath());
    return settings.ReadValue("SSaver", "Name", "Null");
  }
  void Store(const std::string& value) {
    SettingsFile settings(platform, platform.clock, SettingsPath());
    settings.WriteValue("SSaver", "Name", value);
    settings.Release();
  }
  void Select() {
    SelectScreensaver1Click(platform, platform.clock, platform, platform.screenSaver, dialog);
  }
  // Runs the dialog with a script and records what it showed when it opened.
  void SelectWith(std::function<void(FakeFormDriver&)> script) {
    platform.Script("TFrmscrsel", [this, script](FakeFormDriver& d) {
      shownItems = d.form()["ListBox1"].items;
      shownSelection = d.form()["ListBox1"].selected;
      shownLabel = d.form()["Lblscrsel"].caption;
      script(d);
    });
    Select();
  }
  void Saver(const std::string& path) { platform.WriteFile(path, "MZ"); }

  FakePlatform platform;
  TFrmscrsel dialog{platform, platform.clock};
  ActivationState state;
  TimerOwner owner{platform, state};
  std::vector<std::string> shownItems;
  int shownSelection = -2;
  std::string shownLabel = "<not shown>";
};

TEST_F(ScreensaverChoice, DesignIsAsDrawn) {
  EXPECT_EQ(dialog.className, "TFrmscrsel");
  EXPECT_EQ(dialog.caption, "Choose Screensaver");
  EXPECT_EQ(dialog.border, BorderStyle::None);
  EXPECT_FALSE(dialog.systemMenu);
  EXPECT_EQ(dialog.position, FormPosition::ScreenCenter);
  EXPECT_EQ(dialog.clientWidth, 427);
  EXPECT_EQ(dialog.clientHeight, 311);
  EXPECT_EQ(dialog.color, 15263976u);
  EXPECT_EQ(dialog.font.face, "MS Sans Serif");
  EXPECT_EQ(dialog.font.height, -11);

  std::set<int> tabs, ids;
  for (const Control& c : dialog.Controls()) {
    SCOPED_TRACE(c.name);
    EXPECT_GE(c.rect.left, 0);
    EXPECT_GE(c.rect.top, 0);
    EXPECT_GT(c.rect.width, 0);
    EXPECT_GT(c.rect.height, 0);
    EXPECT_LE(c.rect.left + c.rect.width, dialog.clientWidth);
    EXPECT_LE(c.rect.top + c.rect.height, dialog.clientHeight);
    EXPECT_EQ(c.font.face, "Arial");
    EXPECT_EQ(c.font.height, -11);
    if (c.tabOrder >= 0) {
      EXPECT_TRUE(tabs.insert(c.tabOrder).second) << "tab order reused";
    }
    EXPECT_TRUE(ids.insert(c.id).second) << "id reused";
  }
  EXPECT_EQ(dialog.Controls().size(), 6u);

  // Captions and the keyboard path: list, then OK, then Cancel.
  EXPECT_EQ(dialog["Label3"].caption, "Current Selection:");
  EXPECT_EQ(dialog["Lblscrsel"].caption, "");
  EXPECT_EQ(dialog["BitBtn1"].caption, "OK");
  EXPECT_EQ(dialog["BitBtn2"].caption, "Cancel");
  EXPECT_EQ(dialog["ListBox1"].tabOrder, 0);
  EXPECT_EQ(dialog["BitBtn1"].tabOrder, 1);
  EXPECT_EQ(dialog["BitBtn2"].tabOrder, 2);
  EXPECT_EQ(tabs.size(), 3u);  // the labels take no focus
  // Cancel stands above OK without overlapping it.
  EXPECT_LE(dialog["BitBtn2"].rect.top + dialog["BitBtn2"].rect.height, dialog["BitBtn1"].rect.top);
  EXPECT_EQ(dialog["Label1"].caption,
            "Click and highlight a screensaver below, then click OK. This is the screensaver "
            "which will activate only when you select it from the icon in the system tray. (This "
            "allows you to select a different screensaver than your normal system screensaver).");
  EXPECT_TRUE(dialog["Label1"].wordWrap);
  EXPECT_EQ(dialog["ListBox1"].itemHeight, 14);

  const Control& ok = dialog["BitBtn1"];
  const Control& cancel = dialog["BitBtn2"];
  EXPECT_TRUE(ok.isDefault);
  EXPECT_FALSE(ok.isCancel);
  EXPECT_EQ(ok.modalResult, kModalOk);
  EXPECT_EQ(ok.glyph, Glyph::Ok);
  EXPECT_TRUE(cancel.isCancel);
  EXPECT_FALSE(cancel.isDefault);
  EXPECT_EQ(cancel.modalResult, kModalCancel);
  EXPECT_EQ(cancel.glyph, Glyph::Cancel);
}

TEST_F(ScreensaverChoice, ListsBothFoldersInTheSystemsOrderWithDuplicates) {
  // The fake lists a folder in the order its files were made, as a system may.
  Saver("C:\\Windows\\b.scr");
  Saver("C:\\Windows\\same.scr");
  Saver("C:\\Windows\\Upper.SCR");
  Saver("C:\\Windows\\notes.txt");
  Saver("C:\\Windows\\almost.scr.txt");
  Saver("C:\\Windows\\System32\\same.scr");
  Saver("C:\\Windows\\System32\\a.scr");
  platform.MakeDirectory("C:\\Windows\\System32\\folder.scr");  // any attributes are listed

  SelectWith([](FakeFormDriver& d) { d.Click("BitBtn2"); });
  // Each folder as the system gives it, the Windows folder first: neither the
  // folders nor the whole list are sorted.
  EXPECT_EQ(shownItems, (std::vector<std::string>{
                            "C:\\Windows\\b.scr", "C:\\Windows\\same.scr", "C:\\Windows\\Upper.SCR",
                            "C:\\Windows\\System32\\same.scr", "C:\\Windows\\System32\\a.scr",
                            "C:\\Windows\\System32\\folder.scr"}));
  EXPECT_EQ(shownSelection, 0);
  EXPECT_EQ(shownLabel, "");  // nothing chosen yet
  ASSERT_EQ(platform.shownForms.size(), 1u);
  EXPECT_EQ(platform.shownForms[0].className, "TFrmscrsel");
  EXPECT_EQ(platform.shownForms[0].ownerClass, "TForm1");
  EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ScreensaverChoice, OkStoresTheHighlightedEntryAndEachShowingStartsAtTheTop) {
  Saver("C:\\Windows\\one.scr");
  Saver("C:\\Windows\\two.scr");
  Saver("C:\\Windows\\System32\\three.scr");

  // OK at once takes the first entry.
  SelectWith([](FakeFormDriver& d) { d.Click("BitBtn1"); });
  EXPECT_EQ(Stored(), "C:\\Windows\\one.scr");

  // A chosen line is stored; the label shows the choice of the time.
  SelectWith([](FakeFormDriver& d) {
    d.Select("ListBox1", 2);
    d.Click("BitBtn1");
  });
  EXPECT_EQ(shownLabel, "C:\\Windows\\one.scr");
  EXPECT_EQ(Stored(), "C:\\Windows\\System32\\three.scr");

  // The next showing starts on the first line again, not on the choice; Enter is OK.
  SelectWith([](FakeFormDriver& d) { d.PressEnter(); });
  EXPECT_EQ(shownSelection, 0);
  EXPECT_EQ(shownLabel, "C:\\Windows\\System32\\three.scr");
  EXPECT_EQ(Stored(), "C:\\Windows\\one.scr");

  // The list is filled afresh each time.
  std::filesystem::remove(platform.Real("C:\\Windows\\one.scr"));
  SelectWith([](FakeFormDriver& d) { d.Click("BitBtn1"); });
  EXPECT_EQ(shownItems,
            (std::vector<std::string>{"C:\\Windows\\two.scr", "C:\\Windows\\System32\\three.scr"}));
  EXPECT_EQ(Stored(), "C:\\Windows\\two.scr");
  EXPECT_TRUE(platform.errorBoxes.empty());
}

TEST_F(ScreensaverChoice, CancelEscapeAndCloseLeaveTheChoiceAlone) {
  Saver("C:\\Windows\\one.scr");
  Saver("C:\\Windows\\two.scr");
  Store("C:\\Windows\\two.scr");
  const int writes = platform.writes;
  SelectWith([](FakeFormDriver& d) {
    d.Select("ListBox1", 0);
    d.Click("BitBtn2");
    EXPECT_TRUE(d.Closed());
  });
  SelectWith([](FakeFormDriver& d) {
    d.PressEscape();
    EXPECT_TRUE(d.Closed());
  });
  SelectWith([](FakeFormDriver& d) { d.CloseBox(); });
  EXPECT_EQ(Stored(), "C:\\Windows\\two.scr");
  EXPECT_EQ(platform.writes, writes);
  EXPECT_EQ(platform.shownForms.size(), 3u);
}

TEST_F(ScreensaverChoice, NothingFoundShowsInformationInsteadOfTheDialog) {
  Saver("C:\\Windows\\gone.scr");
  SelectWith([](FakeFormDriver& d) { d.Click("BitBtn1"); });
  ASSERT_EQ(Stored(), "C:\\Windows\\gone.scr");

  std::filesystem::remove(platform.Real("C:\\Windows\\gone.scr"));
  Saver("C:\\Windows\\readme.txt");
  Select();
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].kind, BoxKind::Information);
  EXPECT_EQ(platform.boxes[0].buttons, BoxButtons::Ok);
  EXPECT_EQ(platform.boxes[0].text, kNoneFound);
  EXPECT_EQ(platform.shownForms.size(), 1u);  // only the first showing
  EXPECT_TRUE(dialog["ListBox1"].items.empty());
  EXPECT_EQ(dialog["Lblscrsel"].caption, "C:\\Windows\\gone.scr");
  EXPECT_EQ(Stored(), "C:\\Windows\\gone.scr");
}

TEST_F(ScreensaverChoice, FailedWriteIsReportedAndTheDialogStillCloses) {
  Saver("C:\\Windows\\one.scr");
  Store("C:\\Windows\\old.scr");
  bool closed = false;
  SelectWith([&](FakeFormDriver& d) {
    platform.diskFull = true;
    d.Click("BitBtn1");
    closed = d.Closed();
  });
  platform.diskFull = false;
  EXPECT_TRUE(closed);
  EXPECT_FALSE(dialog.Showing());
  EXPECT_EQ(platform.errorBoxes,
            std::vector<std::string>{"Unable to write to " + SettingsPath() + "."});
  EXPECT_EQ(Stored(), "C:\\Windows\\old.scr");

  // The dialog can be shown again afterwards.
  SelectWith([](FakeFormDriver& d) { d.Click("BitBtn1"); });
  EXPECT_EQ(Stored(), "C:\\Windows\\one.scr");
}

TEST_F(ScreensaverChoice, ActivationStartsTheScreensaverOnTheSecondTickOnce) {
  Saver("C:\\Windows\\System32\\mystify.scr");
  Store("C:\\Windows\\System32\\mystify.scr");

  ActivateScreensaver1Click(platform, state);
  EXPECT_TRUE(platform.timerEnabled);
  platform.Tick();
  EXPECT_TRUE(platform.shellCalls.empty());
  EXPECT_TRUE(platform.timerEnabled);
  platform.Tick();
  ASSERT_EQ(platform.shellCalls.size(), 1u);
  const ShellCall& call = platform.shellCalls[0];
  EXPECT_EQ(call.verb, "open");
  EXPECT_EQ(call.file, "C:\\Windows\\System32\\mystify.scr");
  EXPECT_EQ(call.parameters, "/S");
  EXPECT_EQ(call.directory, "");
  EXPECT_EQ(call.show, 5);
  EXPECT_FALSE(platform.timerEnabled);
  for (int i = 0; i < 5; ++i) platform.Tick();
  EXPECT_EQ(platform.shellCalls.size(), 1u);
  EXPECT_TRUE(platform.boxes.empty());

  // A second command before the first tick changes nothing.
  ActivateScreensaver1Click(platform, state);
  ActivateScreensaver1Click(platform, state);
  platform.Tick();
  EXPECT_EQ(platform.shellCalls.size(), 1u);
  platform.Tick();
  EXPECT_EQ(platform.shellCalls.size(), 2u);
  EXPECT_FALSE(platform.timerEnabled);
  EXPECT_EQ(platform.timerStarts, 2);

  // After the first tick it moves the launch one tick later, without restarting the timer.
  ActivateScreensaver1Click(platform, state);
  platform.Tick();
  ActivateScreensaver1Click(platform, state);
  platform.Tick();
  EXPECT_EQ(platform.shellCalls.size(), 2u);
  EXPECT_TRUE(platform.timerEnabled);
  platform.Tick();
  EXPECT_EQ(platform.shellCalls.size(), 3u);
  EXPECT_FALSE(platform.timerEnabled);
  EXPECT_EQ(platform.timerStarts, 3);
  platform.Tick();
  EXPECT_EQ(platform.shellCalls.size(), 3u);
  EXPECT_TRUE(platform.errorBoxes.empty());
}

TEST_F(ScreensaverChoice, MissingScreensaverWarnsAndNeverStartsAnything) {
  auto activate = [this] {
    platform.boxes.clear();
    ActivateScreensaver1Click(platform, state);
    platform.Tick();
    platform.Tick();
    EXPECT_FALSE(platform.timerEnabled);
    EXPECT_TRUE(platform.shellCalls.empty());
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].kind, BoxKind::Warning);
    EXPECT_EQ(platform.boxes[0].text, kMissing);
  };
  // Never chosen: even a file called "Null" in the current folder is not started.
  platform.WriteFile("Null", "MZ");
  ASSERT_EQ(platform.GetPathKind("Null"), PathKind::File);
  activate();

  // Chosen, then deleted: the stored value stays.
  Saver("C:\\Windows\\gone.scr");
  Store("C:\\Windows\\gone.scr");
  std::filesystem::remove(platform.Real("C:\\Windows\\gone.scr"));
  activate();
  EXPECT_EQ(Stored(), "C:\\Windows\\gone.scr");

  // A folder is not a screensaver.
  platform.MakeDirectory("C:\\Windows\\folder.scr");
  Store("C:\\Windows\\folder.scr");
  activate();
}

TEST_F(ScreensaverChoice, ShellFailureIsReportedAndLongPathsGoWhole) {
  Saver("C:\\Windows\\bad.scr");
  Store("C:\\Windows\\bad.scr");
  for (std::uintptr_t result : {0u, 2u, 31u, 32u, 33u, 42u}) {
    SCOPED_TRACE(result);
    platform.boxes.clear();
    platform.shellResults["C:\\Windows\\bad.scr"] = result;
    ActivateScreensaver1Click(platform, state);
    platform.Tick();
    platform.Tick();
    EXPECT_FALSE(platform.timerEnabled);
    if (result <= 32) {
      ASSERT_EQ(platform.boxes.size(), 1u);
      EXPECT_EQ(platform.boxes[0].kind, BoxKind::Information);
      EXPECT_EQ(platform.boxes[0].text, kCouldNotRun);
    } else {
      EXPECT_TRUE(platform.boxes.empty());
    }
  }
  EXPECT_EQ(platform.shellCalls.size(), 6u);

  // Far beyond 255 characters: handed to the shell exactly as stored.
  std::string dir = "C:\\Savers";
  for (int i = 0; i < 5; ++i) dir += "\\" + std::string(60, static_cast<char>('a' + i));
  platform.MakeDirectory(dir);
  const std::string longPath = dir + "\\deep.scr";
  ASSERT_GT(longPath.size(), 300u);
  Saver(longPath);
  Store(longPath);
  platform.shellCalls.clear();
  platform.boxes.clear();
  ActivateScreensaver1Click(platform, state);
  platform.Tick();
  platform.Tick();
  ASSERT_EQ(platform.shellCalls.size(), 1u);
  EXPECT_EQ(platform.shellCalls[0].file, longPath);
  EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace vantrel

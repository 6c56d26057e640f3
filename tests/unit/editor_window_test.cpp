#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/add_file_dialog.h"
#include "editor/add_web_page_dialog.h"
#include "editor/edit_window.h"
#include "editor/entry_options_dialog.h"
#include "platform/fake/fake_platform.h"
#include "store/settings.h"
#include "workspace/place_capture.h"

namespace vantrel {
namespace {

using Lines = std::vector<std::string>;

const std::string kFileCancelled = "You selected \"Cancel\". Nothing added to list";
const std::string kWebCancelled = "You selected \"Cancel\". No webpage address added to list";
const std::string kLimit =
    "Only 10 applications are allowed per title name. You can remove an application to add "
    "another one, or use a different title name to add this application.";
const std::string kAdded =
    "This was successfully added to your list. Click \"Add\" again if you wish to add more to "
    "this list.";
const std::string kRemoveEmpty =
    "You must first add some applications to the list before you can remove them!  Use the "
    "buttons below to add the applications you would like to open.";

// The start-up order of the real program: the editor, then its two dialogs.
struct EditorTest : ::testing::Test {
  FakePlatform p;
  std::unique_ptr<TFrmedit> editor;
  std::unique_ptr<TFrmedadd> addFile;
  std::unique_ptr<TFrmwebpage> webPage;

  void SetUp() override {
    SetUpDataFolder(p, p);
    p.CreateMainWindow("TForm1", "Vantrel");
  }
  void Start(const std::string& ini = "") {
    if (!ini.empty()) p.WriteFile(SettingsPath(), ini);
    editor = std::make_unique<TFrmedit>(p, p.clock, p, p.desktop, p.shell);
    addFile = std::make_unique<TFrmedadd>(p);
    webPage = std::make_unique<TFrmwebpage>(p, "http://example.test/");
    editor->SetDialogs(addFile.get(), webPage.get());
  }
  int Edit(FakePlatform::FormScript script) {
    p.Script("TFrmedit", std::move(script));
    return p.ShowModal(*editor, nullptr);
  }
  // Queues what the next showing of each dialog does.
  void ChooseFile(const std::string& path) {
    p.fileChoices.push_back(path);
    p.Script("TFrmedadd", [](FakeFormDriver& d) { d.Click("Cmdselect"); });
  }
  void TypeAddress(const std::string& text) {
    p.Script("TFrmwebpage", [text](FakeFormDriver& d) {
      d.Type("Edit1", text);
      d.Click("BitBtn1");
    });
  }
  void Rename(const std::string& text) {
    p.Script("TFrmtitlechg", [text](FakeFormDriver& d) {
      d.Type("Edit1", text);
      d.Click("Button1");
    });
  }
  Control& Entries() { return (*editor)["Listapps"]; }
  Control& Titles() { return (*editor)["Listtitles"]; }
  std::string Saved(const std::string& key) {
    SettingsFile file(p, p.clock, SettingsPath());
    return file.ReadValue("Files", key, "<missing>");
  }
  Lines BoxTexts() {
    Lines texts;
    for (const auto& box : p.boxes) texts.push_back(box.text);
    return texts;
  }
};

TEST_F(EditorTest, EditingRoundTripWritesEveryKey) {
  Start();
  Rename("Music");
  ChooseFile("C:\\Music\\play.exe");
  TypeAddress("  www.example.com/?a=b  ");
  ChooseFile("C:\\gone.mp3");
  const int result = Edit([&](FakeFormDriver& d) {
    d.Select("Listtitles", 2);
    d.Click("Button1");
    d.Click("Cmdany");
    d.Click("BitBtn4");
    d.Click("Cmdany");
    EXPECT_EQ(Entries().items,
              (Lines{"C:\\Music\\play.exe", "  www.example.com/?a=b  ", "C:\\gone.mp3"}));
    d.Select("Listapps", 2);
    d.Click("Cmddel");
    d.Click("BitBtn1");
  });
  EXPECT_EQ(result, kModalOk);
  EXPECT_FALSE(editor->Showing());
  EXPECT_EQ(BoxTexts(), (Lines{kAdded, kAdded}));
  for (const auto& box : p.boxes) EXPECT_EQ(box.kind, BoxKind::Plain);
  for (const auto& shown : p.shownForms) {
    if (shown.className != "TFrmedit") {
      EXPECT_EQ(shown.ownerClass, "TFrmedit") << shown.className;
    }
  }

  const std::string file = p.ReadFile(SettingsPath());
  EXPECT_NE(file.find("\r\nDesc3=Music\r\n"), std::string::npos);
  EXPECT_NE(file.find("\r\nSet331=C:\\Music\\play.exe\r\n"), std::string::npos);
  // Quoted, so that it reads back with its blanks, as older versions read it too.
  EXPECT_NE(file.find("\r\nSet332=\"  www.example.com/?a=b  \"\r\n"), std::string::npos);
  EXPECT_EQ(Saved("Set332"), "  www.example.com/?a=b  ");
  EXPECT_EQ(Saved("Set333"), "Null");
  EXPECT_EQ(Saved("Desc1"), "No Title Entered 1");
  for (int t = 1; t <= 20; ++t)
    for (int i = 1; i <= 10; ++i) EXPECT_NE(Saved(EntryKey(t, i)), "<missing>");
}

TEST_F(EditorTest, CancelledDialogsAddNothing) {
  Start();
  p.Script("TFrmedadd", [](FakeFormDriver& d) { d.PressEscape(); });
  p.Script("TFrmedadd", [](FakeFormDriver& d) {
    d.Click("Cmdselect");  // the chooser is cancelled: no file queued
    d.Click("BitBtn2");
  });
  p.Script("TFrmwebpage", [](FakeFormDriver& d) { d.Click("BitBtn3"); });
  p.Script("TFrmwebpage", [](FakeFormDriver& d) {
    d.Type("Edit1", "  ");
    d.Click("BitBtn1");  // refused; closing afterwards still counts as a cancel
    d.CloseBox();
  });
  Edit([](FakeFormDriver& d) {
    d.Click("Cmdany");
    d.Click("Cmdany");
    d.Click("BitBtn4");
    d.Click("BitBtn4");
  });
  EXPECT_TRUE(Entries().items.empty());
  ASSERT_EQ(p.boxes.size(), 5u);
  EXPECT_EQ(p.boxes[0].text, kFileCancelled);
  EXPECT_EQ(p.boxes[1].text, kFileCancelled);
  EXPECT_EQ(p.boxes[2].text, kWebCancelled);
  EXPECT_EQ(p.boxes[4].text, kWebCancelled);
  for (int i : {0, 1, 2, 4}) EXPECT_EQ(p.boxes[i].kind, BoxKind::Information);
}

TEST_F(EditorTest, TenEntriesAreTheLimitButTheDialogsStillOpen) {
  std::string ini = "[Files]\r\n";
  for (int i = 1; i <= 9; ++i) ini += EntryKey(1, i) + "=e" + std::to_string(i) + "\r\n";
  Start(ini);
  ChooseFile("C:\\tenth.txt");
  ChooseFile("C:\\eleventh.txt");
  TypeAddress("www.eleventh.org");
  Edit([](FakeFormDriver& d) {
    d.Click("Cmdany");
    d.Click("Cmdany");
    d.Click("BitBtn4");
    d.Click("BitBtn1");
  });
  EXPECT_EQ(p.fileChooserStarts.size(), 2u);
  EXPECT_EQ(p.shownForms.back().className, "TFrmwebpage");
  EXPECT_EQ(BoxTexts(), (Lines{kAdded, kLimit, kLimit}));
  ASSERT_EQ(Entries().items.size(), 10u);
  EXPECT_EQ(Saved("Set1110"), "C:\\tenth.txt");
}

TEST_F(EditorTest, AddAndRemoveLeaveTheFirstLineSelected) {
  Start("[Files]\r\nSet111=a\r\nSet112=b\r\n");
  EXPECT_EQ(Titles().selected, 0);  // start-up shows title 1 with its first entry
  EXPECT_EQ(Entries().selected, 0);
  ChooseFile("c");
  TypeAddress("www.d.org");
  Edit([&](FakeFormDriver& d) {
    d.Select("Listapps", 1);
    d.Click("Cmdany");
    EXPECT_EQ(Entries().selected, 0);
    d.Select("Listapps", 2);
    d.Click("BitBtn4");
    EXPECT_EQ(Entries().selected, 0);
    EXPECT_EQ(Entries().items, (Lines{"a", "b", "c", "www.d.org"}));
    d.Select("Listapps", 3);
    d.Click("Cmddel");
    d.Select("Listapps", 1);
    d.Click("Cmddel");
    EXPECT_EQ(Entries().items, (Lines{"a", "c"}));
    EXPECT_EQ(Entries().selected, 0);
    Entries().selected = -1;  // nothing selected: nothing removed
    d.Click("Cmddel");
    EXPECT_EQ(Entries().items, (Lines{"a", "c"}));
    EXPECT_EQ(Entries().selected, 0);
    d.Click("Cmddel");
    d.Click("Cmddel");
    EXPECT_TRUE(Entries().items.empty());
    EXPECT_EQ(Entries().selected, -1);
    d.Click("Cmddel");
  });
  EXPECT_EQ(BoxTexts(), (Lines{kAdded, kRemoveEmpty}));
  EXPECT_EQ(p.boxes.back().kind, BoxKind::Warning);
  EXPECT_EQ(Saved("Set111"), "a");  // closed without Ok: the file is as it was
}

TEST_F(EditorTest, TitleClickStoresTheListAndReshowsWithoutGaps) {
  Start("[Files]\r\nDesc1=One\r\nSet112=two\r\nSet115=five\r\nSet221=x\r\n");
  ASSERT_EQ(Entries().items, (Lines{"two", "five"}));
  TypeAddress("www.y.org");
  Edit([&](FakeFormDriver& d) {
    d.Select("Listtitles", 1);
    EXPECT_EQ(editor->Titles().CurrentTitle, 2);
    EXPECT_EQ(Entries().items, (Lines{"x"}));
    d.Click("BitBtn4");
    d.Select("Listtitles", 0);
    EXPECT_EQ(Entries().items, (Lines{"two", "five"}));
    d.Select("Listtitles", 0);  // the same name again: stored packed, shown again
    EXPECT_EQ(editor->Titles().TitleTable[0][0], "two");
    EXPECT_EQ(editor->Titles().TitleTable[0][1], "five");
    EXPECT_EQ(Entries().selected, 0);
    d.Select("Listtitles", 19);
    EXPECT_TRUE(Entries().items.empty());
    EXPECT_EQ(Entries().selected, -1);
    d.PressEnter();  // the default button saves
  });
  EXPECT_EQ(Saved("Set111"), "two");
  EXPECT_EQ(Saved("Set112"), "five");
  EXPECT_EQ(Saved("Set115"), "Null");
  EXPECT_EQ(Saved("Set222"), "www.y.org");
}

TEST_F(EditorTest, RenameAlwaysTakesTheBoxText) {
  const std::string longName(40, 'L');
  Start("[Files]\r\nDesc1=" + longName + "\r\nDesc2=Old\r\n");
  p.Script("TFrmtitlechg", [&](FakeFormDriver& d) {
    EXPECT_EQ(d.Text("Edit1"), longName);  // longer than typing allows, offered whole
    d.Click("Button1");
  });
  Rename("");
  p.Script("TFrmtitlechg", [](FakeFormDriver& d) {
    d.Type("Edit1", "By the close box");
    d.CloseBox();
  });
  Edit([](FakeFormDriver& d) {
    d.Click("Button1");
    d.Select("Listtitles", 1);
    d.Click("Button1");
    d.Select("Listtitles", 2);
    d.Click("Button1");
    d.Click("BitBtn1");
  });
  EXPECT_EQ(Titles().items.size(), 20u);
  EXPECT_EQ(Titles().selected, 2);
  EXPECT_EQ(editor->Titles().CurrentTitle, 3);
  EXPECT_EQ(Saved("Desc1"), longName);
  EXPECT_NE(p.ReadFile(SettingsPath()).find("\r\nDesc2=\r\n"), std::string::npos);
  EXPECT_EQ(Saved("Desc3"), "By the close box");
}

TEST_F(EditorTest, CloseBoxKeepsEditsForTheNextOk) {
  Start();
  const std::string firstRun = p.ReadFile(SettingsPath());
  Rename("Work");
  ChooseFile("C:\\w.doc");
  Edit([](FakeFormDriver& d) {
    d.Click("Button1");
    d.Click("Cmdany");
    d.CloseBox();
  });
  EXPECT_EQ(p.ReadFile(SettingsPath()), firstRun);
  Edit([&](FakeFormDriver& d) {
    EXPECT_EQ(Titles().items[0], "Work");
    EXPECT_EQ(Entries().items, (Lines{"C:\\w.doc"}));
    d.Click("BitBtn1");
  });
  EXPECT_EQ(Saved("Desc1"), "Work");
  EXPECT_EQ(Saved("Set111"), "C:\\w.doc");
}

TEST_F(EditorTest, FailedSaveStillClosesAndTheNextOkWritesAgain) {
  Start();
  p.SetReadOnly(SettingsPath(), true);
  ChooseFile("C:\\kept.exe");
  const int result = Edit([](FakeFormDriver& d) {
    d.Click("Cmdany");
    d.Click("BitBtn1");
  });
  EXPECT_EQ(result, kModalOk);
  EXPECT_EQ(p.errorBoxes, (Lines{"Unable to write to " + SettingsPath() + "."}));
  EXPECT_EQ(Saved("Set111"), "Null");

  p.SetReadOnly(SettingsPath(), false);
  Edit([](FakeFormDriver& d) { d.Click("BitBtn1"); });
  EXPECT_EQ(p.errorBoxes.size(), 1u);
  EXPECT_EQ(Saved("Set111"), "C:\\kept.exe");
}

TEST_F(EditorTest, FirstRunWriteFailureIsReportedAndStartUpGoesOn) {
  p.diskFull = true;
  Start();
  EXPECT_EQ(p.errorBoxes, (Lines{"Unable to write to " + SettingsPath() + "."}));
  ASSERT_EQ(Titles().items.size(), 20u);
  EXPECT_EQ(Titles().selected, 0);
  EXPECT_EQ(editor->Titles().TitleTable[19][9], "Null");
}

TEST_F(EditorTest, EntryOptionsByDoubleClickAndAltEnterAreSavedByOk) {
  Start("[Files]\r\nSet111=C:\\a.exe\r\nSet112=http://b.example\r\n");
  p.Script("TFrmentryopt", [](FakeFormDriver& d) {
    EXPECT_EQ(d.Text("EditArgs"), "");
    d.Type("EditArgs", "\"C:\\My Files\\a b.txt\"");  // quotes a read would drop
    d.Type("EditFolder", "C:\\Work");
    d.Click("CheckAdmin");
    d.Click("BitBtnOk");
  });
  p.Script("TFrmentryopt", [](FakeFormDriver& d) {
    d.Type("EditArgs", "dropped");
    d.Click("CheckFront");
    d.PressEscape();
  });
  p.Script("TFrmentryopt", [](FakeFormDriver& d) {
    EXPECT_EQ(d.Text("EditArgs"), "");
    EXPECT_FALSE(d.form()["CheckFront"].checked);  // the cancelled showing left nothing
    d.Click("CheckFront");
    d.PressEnter();  // in the arguments box: the default button
  });
  Edit([&](FakeFormDriver& d) {
    d.DoubleClick("Listapps", 0);
    d.Focus("Listapps");
    Entries().selected = 1;
    d.PressAltEnter();
    d.PressAltEnter();
    d.Focus("Listtitles");
    d.PressAltEnter();  // the title list opens nothing
    d.Select("Listtitles", 1);
    d.Select("Listtitles", 0);
    d.Click("BitBtn1");
  });
  EXPECT_EQ(p.shownForms.size(), 4u);
  EXPECT_EQ(p.shownForms[1].ownerClass, "TFrmedit");
  EXPECT_EQ(Saved("Set111Args"), "\"C:\\My Files\\a b.txt\"");
  EXPECT_EQ(Saved("Set111Folder"), "C:\\Work");
  EXPECT_EQ(Saved("Set111Admin"), "1");
  EXPECT_EQ(Saved("Set111Front"), "<missing>");
  EXPECT_EQ(Saved("Set112Front"), "1");
  EXPECT_EQ(Saved("Set112Args"), "<missing>");
  EXPECT_EQ(Saved("Set112Entry"), "http://b.example");
}

// A place goes into its line's options, seen by the options dialog, and only
// the edit window's Ok saves it, beside the entry it belongs to.
TEST_F(EditorTest, RememberedPlacesGoIntoTheLinesOptionsForOk) {
  Start(
      "[Files]\r\nSet111=C:\\Apps\\Edit.exe\r\nSet111Args=-x\r\nSet112=http://b.example\r\n"
      "Set113=C:\\Gone.exe\r\nSet221=C:\\Apps\\Edit.exe\r\n");
  p.desktop.monitors = {{"\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96}};
  p.desktop.Add(11, 7, "C:\\Apps\\Edit.exe", {100, 120, 400, 300});
  const std::string place = "normal,100,120,400,300,96,0,0,1920,1080,\\\\.\\DISPLAY1";
  Edit([](FakeFormDriver& d) {
    d.Click("Button2");
    d.CloseBox();
  });
  EXPECT_EQ(BoxTexts(), (Lines{std::string(kCaptureIntro) + "\n\n\"C:\\Apps\\Edit.exe\": " +
                               kCapturedLine + "\n\"C:\\Gone.exe\": " + kNotRunningLine}));
  EXPECT_EQ(Saved("Set111Place"), "<missing>");
  p.Script("TFrmentryopt", [](FakeFormDriver& d) {
    EXPECT_EQ(d.form()["LabelPlace"].caption,
              "Window place: 400 x 300 at 100, 120, normal, on \\\\.\\DISPLAY1");
    d.PressEscape();
  });
  Edit([](FakeFormDriver& d) {
    d.DoubleClick("Listapps", 0);
    d.Click("BitBtn1");
  });
  EXPECT_EQ(p.shownForms.size(), 3u);
  EXPECT_EQ(Saved("Set111Place"), place);
  EXPECT_EQ(Saved("Set111Entry"), "C:\\Apps\\Edit.exe");
  EXPECT_EQ(Saved("Set111Args"), "-x");
  EXPECT_EQ(Saved("Set113Place"), "<missing>");
  EXPECT_EQ(Saved("Set221Place"), "<missing>");  // another title's
}

// Forget and the waits: a place the program cannot use is kept until
// forgotten; Ok takes only a usable wait, and Cancel drops a forget.
TEST_F(EditorTest, OptionsDialogForgetsAPlaceAndTakesOnlyAUsableWait) {
  const std::string place = "maximised,10,20,800,600,96,0,0,1920,1080,\\\\.\\DISPLAY1";
  Start("[Files]\r\nSet111=C:\\a.exe\r\nSet111Place=" + place +
        "\r\nSet111Wait=7\r\nSet112=C:\\b.exe\r\nSet112Place=10,20\r\nSet112Wait=007\r\n");
  p.Script("TFrmentryopt", [](FakeFormDriver& d) {
    EXPECT_EQ(d.form()["LabelPlace"].caption,
              "Window place: 800 x 600 at 10, 20, maximised, on \\\\.\\DISPLAY1");
    EXPECT_EQ(d.Text("EditWait"), "7");
    d.Click("ButtonForget");
    EXPECT_EQ(d.form()["LabelPlace"].caption, kNoPlaceText);
    EXPECT_THROW(d.Click("ButtonForget"), std::logic_error);  // disabled with no place
    for (const char* wrong : {"121", "-1", "5s", "1.5"}) {
      d.Type("EditWait", wrong);
      d.Click("BitBtnOk");
      EXPECT_FALSE(d.Closed()) << wrong;
    }
    d.Type("EditWait", " 15 ");
    d.Click("CheckWaitWindow");
    d.Click("CheckStay");
    d.PressEnter();
  });
  p.Script("TFrmentryopt", [](FakeFormDriver& d) {
    EXPECT_EQ(d.form()["LabelPlace"].caption, kUnusablePlaceText);
    d.Click("ButtonForget");
    d.PressEscape();
  });
  p.Script("TFrmentryopt", [](FakeFormDriver& d) {
    EXPECT_TRUE(d.form()["ButtonForget"].enabled);
    d.Type("EditArgs", "-y");
    d.Click("BitBtnOk");  // the file's wait "007", not typed into, is kept
  });
  Edit([](FakeFormDriver& d) {
    d.DoubleClick("Listapps", 0);
    d.DoubleClick("Listapps", 1);
    d.DoubleClick("Listapps", 1);
    d.Click("BitBtn1");
  });
  EXPECT_EQ(BoxTexts(), Lines(4, kWaitInvalidText));
  EXPECT_EQ(Saved("Set111Place"), "");
  EXPECT_EQ(Saved("Set111Wait"), "15");
  EXPECT_EQ(Saved("Set111WaitWindow"), "1");
  EXPECT_EQ(Saved("Set111Stay"), "1");
  EXPECT_EQ(Saved("Set112Place"), "10,20");
  EXPECT_EQ(Saved("Set112Wait"), "007");
  EXPECT_EQ(Saved("Set112Args"), "-y");
}

TEST_F(EditorTest, HelpOpensOwnedByTheEditorWhichStaysAsItWas) {
  Start("[Files]\r\nSet111=a\r\n");
  Edit([&](FakeFormDriver& d) {
    d.Click("BitBtn2");
    EXPECT_FALSE(d.Closed());
    EXPECT_EQ(Entries().items, (Lines{"a"}));
  });
  ASSERT_EQ(p.shownForms.size(), 2u);
  EXPECT_EQ(p.shownForms[1].className, "TFrmhelp");
  EXPECT_EQ(p.shownForms[1].ownerClass, "TFrmedit");
}

}  // namespace
}  // namespace vantrel

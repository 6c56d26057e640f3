#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/add_file_dialog.h"
#include "editor/add_web_page_dialog.h"
#include "editor/title_name_dialog.h"
#include "platform/fake/fake_platform.h"

namespace vantrel {
namespace {

const std::string kNoAddress =
    "You must enter a webpage address in the box, then click the add button.  Note that you can "
    "paste the webpage directly into the box if you right-click the box, then select paste from "
    "the menu that appears.";
const std::string kBlankPath =
    "Cancel was selected, nothing was done. If you wish to add applications to your list, do not "
    "select cancel. Click the \"Add\" button to try again.";

TEST(WebPageDialog, RefusesOnlyBlankOrBareSchemeAndKeepsTheTextAsTyped) {
  FakePlatform p;
  TFrmwebpage dialog(p, "http://example.test/");
  const std::vector<std::string> refused = {"http://", "", "    ", "  http://   ",
                                            "\t\r\nhttp://\x01"};
  const std::vector<std::string> accepted = {"HTTP://", "  www.x.org/a b  ", "\xA0", "ftp://"};
  p.Script("TFrmwebpage", [&](FakeFormDriver& d) {
    EXPECT_EQ(d.Text("Edit1"), "http://");  // the first showing's text
    for (const auto& text : refused) {
      d.Type("Edit1", text);
      d.Click("BitBtn1");
      EXPECT_FALSE(d.Closed()) << text;
    }
    // No default and no cancel button: Enter in the box and Escape click
    // nothing (no box above); Enter on a focused button clicks that button.
    d.PressEnter();
    d.PressEscape();
    EXPECT_FALSE(d.Closed());
    d.Focus("BitBtn3");
    d.PressEnter();
    EXPECT_TRUE(d.Closed());
  });
  AddWebCancelled = true;
  EXPECT_EQ(p.ShowModal(dialog, nullptr), kModalCancel);
  EXPECT_TRUE(AddWebCancelled);
  ASSERT_EQ(p.boxes.size(), refused.size());
  for (const auto& box : p.boxes) {
    EXPECT_EQ(box.kind, BoxKind::Plain);
    EXPECT_EQ(box.text, kNoAddress);
  }

  for (const auto& text : accepted) {
    p.Script("TFrmwebpage", [&](FakeFormDriver& d) {
      d.Type("Edit1", text);
      d.Click("BitBtn1");
      EXPECT_TRUE(d.Closed()) << text;
    });
    AddWebCancelled = true;
    EXPECT_EQ(p.ShowModal(dialog, nullptr), kModalOk);
    EXPECT_FALSE(AddWebCancelled) << text;
    EXPECT_EQ(dialog["Edit1"].text, text);
  }
  EXPECT_EQ(p.boxes.size(), refused.size());
}

TEST(WebPageDialog, ExampleFillsTheBoxAndTextSurvivesBetweenShowings) {
  FakePlatform p;
  const std::string site = "https://example.test/maker";  // as the program's start passes it
  TFrmwebpage dialog(p, site);
  p.Script("TFrmwebpage", [](FakeFormDriver& d) {
    d.Type("Edit1", "left behind");
    d.Click("BitBtn3");
  });
  p.Script("TFrmwebpage", [&](FakeFormDriver& d) {
    EXPECT_EQ(d.Text("Edit1"), "left behind");
    d.Click("BitBtn2");
    EXPECT_FALSE(d.Closed());
    EXPECT_EQ(d.Text("Edit1"), site);
    d.Click("BitBtn1");
  });
  AddWebCancelled = true;
  EXPECT_EQ(p.ShowModal(dialog, nullptr), kModalCancel);
  EXPECT_TRUE(AddWebCancelled);
  EXPECT_EQ(p.ShowModal(dialog, nullptr), kModalOk);
  EXPECT_FALSE(AddWebCancelled);

  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].kind, BoxKind::Plain);
  const std::string start =
      std::string(
          "Simply type in the webpage address into the box. For example, if you wish to "
          "open ") +
      site;
  EXPECT_EQ(p.boxes[0].text.substr(0, start.size()), start);
  EXPECT_GT(p.boxes[0].text.size(), start.size() + 40);  // the two sentences after it

  p.Script("TFrmwebpage", [&](FakeFormDriver& d) { EXPECT_EQ(d.Text("Edit1"), site); });
  p.ShowModal(dialog, nullptr);
}

TEST(AddFileDialog, ChooserCancelAndBlankPathKeepItOpenAndTheLastPathIsOffered) {
  FakePlatform p;
  AddFileCancelled = false;
  TFrmedadd dialog(p);
  EXPECT_TRUE(AddFileCancelled);
  EXPECT_EQ(dialog.caption, "");

  p.fileChoices = {std::nullopt, std::string(" \t "), std::string("C:\\My Files\\a.exe")};
  p.Script("TFrmedadd", [](FakeFormDriver& d) {
    d.Click("Cmdselect");
    EXPECT_FALSE(d.Closed());
    EXPECT_TRUE(AddFileCancelled);
    d.Click("Cmdselect");
    EXPECT_FALSE(d.Closed());
    EXPECT_TRUE(AddFileCancelled);
    d.Click("Cmdselect");
  });
  EXPECT_EQ(p.ShowModal(dialog, nullptr), kModalOk);
  EXPECT_FALSE(AddFileCancelled);
  EXPECT_EQ(dialog["Edit1"].text, "C:\\My Files\\a.exe");
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].kind, BoxKind::Plain);
  EXPECT_EQ(p.boxes[0].text, kBlankPath);

  // Next use: the chooser starts at the last path; Escape cancels.
  AddFileCancelled = true;
  p.Script("TFrmedadd", [](FakeFormDriver& d) {
    d.Click("Cmdselect");
    d.PressEscape();
  });
  EXPECT_EQ(p.ShowModal(dialog, nullptr), kModalCancel);
  EXPECT_TRUE(AddFileCancelled);
  EXPECT_EQ(p.fileChooserStarts, (std::vector<std::string>{"", "", " \t ", "C:\\My Files\\a.exe"}));
}

TEST(RenameDialog, TypingStopsAtTwentyFiveCharactersAndOkCloses) {
  FakePlatform p;
  TFrmtitlechg dialog;
  p.Script("TFrmtitlechg", [](FakeFormDriver& d) {
    d.Type("Edit1", "abcdefghijklmnopqrstuvwxyz0123");
    EXPECT_EQ(d.Text("Edit1"), "abcdefghijklmnopqrstuvwxy");
    // Characters, not bytes: 25 Cyrillic letters are 50 bytes.
    d.Type("Edit1", "Очень длинное имя для меню и ещё");
    EXPECT_EQ(d.Text("Edit1"), "Очень длинное имя для мен");
    d.Click("Button1");
    EXPECT_TRUE(d.Closed());
  });
  p.ShowModal(dialog, nullptr);
}

TEST(RenameDialog, AKeyShownStaysAsItWasAndAKeyPressedNeedsCtrlAltOrWin) {
  FakePlatform p;
  const std::vector<std::pair<KeyCombo, KeyCombo>> pressed = {
      {{' ', 0}, {' ', kKeyControl | kKeyAlt}},
      {{'A', kKeyShift}, {'A', kKeyControl | kKeyAlt}},
      {{'K', kKeyWin}, {'K', kKeyWin}},
      {{'K', kKeyShift | kKeyAlt}, {'K', kKeyShift | kKeyAlt}},
      {{}, {}}};
  for (const KeyCombo shown : {KeyCombo{0x0D, 0}, KeyCombo{0x74, kKeyWin}}) {
    TFrmtitlechg dialog;
    dialog.ShowKey(shown);
    p.ShowModal(dialog, nullptr);
    EXPECT_FALSE(dialog.ChangedKey()) << KeyComboText(shown);
    for (const auto& [press, becomes] : pressed) {
      p.Script("TFrmtitlechg",
               [press = press](FakeFormDriver& d) { d.PressKeys("HotKey1", press); });
      p.ShowModal(dialog, nullptr);
      EXPECT_EQ(dialog.ChangedKey(), std::optional<KeyCombo>(becomes)) << KeyComboText(press);
    }
  }
}

}  // namespace
}  // namespace vantrel

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "help/help_window.h"
#include "platform/fake/fake_platform.h"

namespace vantrel {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

TEST(HelpText, LinesInOrderWithExactQuotedLinesAndSeparators) {
  const TFrmhelp help;
  const std::string text = help["Memo1"].text;
  // Every line break is CR LF: a bare LF would show as one long line.
  for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
    ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at " << i;

  const auto lines = SplitLines(text);
  const std::vector<std::string> head = {
      "",
      "Vantrel v3.1",
      "",
      "SOFTWARE DESCRIPTION:",
      "",
      "This software allows you to:",
      "1) Open many websites simultaneously directly from your system tray.",
      "2) Open a program or document directly from your system tray.",
      "3) Open many programs or documents simultaneously with one mouse click.",
      "4) Disable or enable your screensaver from your system tray.",
      "5) Disable or enable screensaver password from system tray.",
      "6) Activate the screensaver from your system tray.",
      "7) Open applications with documents already pre-loaded.",
      "8) Assign your own names to your applications you wish to open.",
      "9) Pop open webpages directly from your system tray icon.",
      "10) Runs on all Windows systems.",
      ""};
  ASSERT_GT(lines.size(), head.size() + 14);
  for (std::size_t i = 0; i < head.size(); ++i) EXPECT_EQ(lines[i], head[i]) << "line " << i + 1;

  std::size_t n = head.size();
  EXPECT_EQ(lines[n].substr(0, 5), "NOTE:");
  for (std::size_t i = n; i < n + 6; ++i) EXPECT_FALSE(lines[i].empty()) << "note line " << i;
  n += 6;
  EXPECT_EQ(lines[n++], "");
  for (std::size_t i = n; i < n + 4; ++i) EXPECT_FALSE(lines[i].empty()) << "paragraph line " << i;
  n += 4;
  EXPECT_EQ(lines[n++], "");
  EXPECT_EQ(lines[n++], "HELP FAQ");
  const std::string separator(122, '-');
  EXPECT_EQ(lines[n++], separator);

  struct Block {
    std::string question, onlyAnswer;  // onlyAnswer: the exact one-line answer, if quoted
  };
  const std::vector<Block> blocks = {
      {"How do I add one or more applications?", ""},
      {"How do I select a screensaver?", ""},
      {"What is a title name?", ""},
      {"Can I still add a program if it isn't listed on one of the buttons?",
       "Yes. Simply use the \"Add Any Application\" button."},
      {"How do I select several programs to open or run?", ""},
      {"How do I preload a document in my application?", ""},
      {"Can I add any application to the system tray.",
       "Yes, you can select any application or file of any type on your pc."},
  };
  for (const auto& block : blocks) {
    ASSERT_LT(n + 4, lines.size()) << block.question;
    EXPECT_EQ(lines[n++], block.question);
    EXPECT_EQ(lines[n++], "");
    std::size_t answerLines = 0;
    while (n < lines.size() && !lines[n].empty()) {
      if (!block.onlyAnswer.empty()) {
        EXPECT_EQ(lines[n], block.onlyAnswer);
      }
      ++n, ++answerLines;
    }
    EXPECT_GE(answerLines, 1u) << block.question;
    EXPECT_LE(answerLines, block.onlyAnswer.empty() ? 5u : 1u) << block.question;
    ASSERT_LT(n + 1, lines.size());
    EXPECT_EQ(lines[n++], "");
    EXPECT_EQ(lines[n++], separator) << "after " << block.question;
  }
  EXPECT_EQ(n, lines.size()) << "the text ends with the last separator";
}

TEST(HelpWindow, EveryShowingIsAFreshWindowOwnedByItsCaller) {
  FakePlatform p;
  p.CreateMainWindow("TForm1", "Vantrel");
  const std::string original = TFrmhelp()["Memo1"].text;
  p.Script("TFrmhelp", [&](FakeFormDriver& d) {
    EXPECT_EQ(d.Text("Memo1"), original);
    d.Type("Memo1", "scribbled over");
    // A second help window (from the tray) while this one is open.
    p.Script("TFrmhelp", [](FakeFormDriver& inner) { inner.Click("BitBtn1"); });
    ShowHelpWindow(p, &d.form());
    d.Click("BitBtn1");
    EXPECT_TRUE(d.Closed());
  });
  ShowHelpWindow(p, nullptr);
  EXPECT_TRUE(p.errorBoxes.empty());

  TFrmhelp owner;
  owner.className = "TFrmedit";
  p.Script("TFrmhelp", [&](FakeFormDriver& d) {
    EXPECT_EQ(d.Text("Memo1"), original);
    // The text box has the focus: Enter makes a new line there, at the caret.
    d.PressEnter();
    EXPECT_FALSE(d.Closed());
    EXPECT_EQ(d.Text("Memo1"), "\r\n" + original);
    d.Type("Memo1", "typed");
    d.PressEnter();
    EXPECT_EQ(d.Text("Memo1"), "typed\r\n");
    EXPECT_FALSE(d.Closed());
    d.Focus("BitBtn1");
    d.PressEnter();
    EXPECT_TRUE(d.Closed());
  });
  ShowHelpWindow(p, &owner);

  ASSERT_EQ(p.shownForms.size(), 3u);
  EXPECT_EQ(p.shownForms[0].ownerClass, "TForm1");
  EXPECT_EQ(p.shownForms[1].ownerClass, "TFrmhelp");
  EXPECT_EQ(p.shownForms[2].ownerClass, "TFrmedit");
  for (const auto& shown : p.shownForms) EXPECT_EQ(shown.caption, "Help FAQ");
}

}  // namespace
}  // namespace vantrel

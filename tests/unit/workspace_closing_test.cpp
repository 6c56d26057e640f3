#include <gtest/gtest.h>

#include "workspace/title_closing.h"
#include "workspace_fixture.h"

namespace vantrel {
namespace {

struct ClosingTest : DesktopTest {
  // Programs that close when asked: their window goes at once.
  std::set<WindowId> obeying;
  ClosingTest() {
    desktop.onClose = [this](WindowId id) {
      if (obeying.count(id) != 0) desktop.Remove(id);
    };
  }
};

TEST_F(ClosingTest, EachEnabledWindowOfTheTitlesProgramsIsAskedAndThoseStillOpenAreTold) {
  shortForms["C:\\PROGRA~1\\D.exe"] = shortForms["C:\\Program Files\\D.exe"] =
      "C:\\PROGRA~1\\D.EXE";
  desktop.Add(1, 10, "C:\\A.exe", {});
  desktop.Add(2, 11, "c:/a.EXE", {}).enabled = false;  // behind its save question
  desktop.Add(3, 11, "C:\\A.exe", {}).owned = true;    // the question
  desktop.Add(4, 20, "C:\\B.exe", {});                 // left running
  desktop.Add(5, 30, "C:\\Notepad.exe", {});           // holds the title's document
  desktop.Add(6, 40, "C:\\C.exe", {});                 // will not close
  desktop.Add(7, 50, "C:\\Program Files\\D.exe", {});
  obeying = {1, 3, 7};
  TitleClosing closing(desktop, clock,
                       {{"C:\\A.exe"},
                        {"C:\\B.exe", true},
                        {"C:\\notes.txt"},
                        {"http://example.org"},
                        {"C:\\C.exe"},
                        {"C:\\A.exe"},
                        {"C:\\PROGRA~1\\D.exe"}},
                       shell);
  Run(closing);
  EXPECT_EQ(desktop.closeRequests, (std::vector<WindowId>{1, 3, 6, 7}));
  EXPECT_EQ(clock.now, kCloseLimitMs);
  EXPECT_EQ(closing.StillOpen(), (std::vector<std::string>{"C:\\A.exe", "C:\\C.exe"}));
  EXPECT_EQ(closing.ReportText(),
            std::string(kStillOpenIntro) + "\n\n\"C:\\A.exe\"\n\"C:\\C.exe\"");
  EXPECT_EQ(desktop.windows.size(), 4u);  // nothing ended by force
}

TEST_F(ClosingTest, EndsAsSoonAsEveryProgramHasClosedOrWhenThereIsNothingToClose) {
  desktop.Add(1, 10, "C:\\A.exe", {});
  obeying = {1};
  TitleClosing closing(desktop, clock, {{"C:\\A.exe"}}, shell);
  Run(closing);
  EXPECT_EQ(clock.now, kCloseLookMs);
  EXPECT_TRUE(closing.Done());
  EXPECT_EQ(closing.ReportText(), "");
  TitleClosing none(desktop, clock, {{"C:\\doc.txt"}, {"C:\\B.exe", true}}, shell);
  EXPECT_TRUE(none.Done());
  EXPECT_FALSE(none.NextWake());
}

}  // namespace
}  // namespace vantrel

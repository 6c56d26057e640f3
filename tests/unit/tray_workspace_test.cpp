// Titles opened as workspaces and closed from the tray and the command line,
// through the fake platform and its wake timer.
#include <gtest/gtest.h>

#include "store/settings.h"
#include "tray/application.h"
#include "tray/command_line.h"
#include "tray/tray_window.h"
#include "workspace/window_place.h"
#include "workspace_fixture.h"

namespace vantrel {
namespace {

const WindowPlace kPlace{
    {ShowState::Normal, {100, 120, 800, 600}}, "\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96};

struct TrayWorkspaceTest : ::testing::Test {
  FakePlatform p;
  Application app{p.All()};
  std::vector<std::pair<std::string, std::int64_t>> starts;  // file, time
  std::set<std::string> windowless;                          // programs that show none
  WindowId nextWindow = 1;

  TrayWorkspaceTest() {
    TwoMonitors(p.desktop);
    for (const char* file : {"C:\\A.exe", "C:\\Late.exe", "C:\\notes.txt", "C:\\Plain.exe"})
      p.WriteFile(file, "x");
    p.onShell = [this](const ShellCall& call) {
      starts.emplace_back(call.file, p.clock.now);
      if (windowless.count(call.file) == 0)
        p.desktop.Add(nextWindow, 100 + static_cast<std::uint32_t>(nextWindow), call.file,
                      {0, 0, 300, 200});
      ++nextWindow;
    };
    p.desktop.onClose = [this](WindowId id) {
      if (p.desktop.Find(id)->program != "C:\\Stubborn.exe") p.desktop.Remove(id);
    };
    app.Start();
  }
  void Choose(int index) {
    p.menuChoices.push_back([index](const std::vector<std::string>&) { return index; });
  }
  // The wake timer's ticks, the clock moving to each, until it is stopped.
  void RunTimer() {
    for (int ticks = 0; p.wakeDelay && ticks < 10000; ++ticks) {
      p.clock.now += std::max(*p.wakeDelay, 1);
      p.Wake();
    }
  }
};

TEST_F(TrayWorkspaceTest, ATitleWithPlacesAndWaitsOpensOnceByTheTimerAndReportsInOneBox) {
  p.WriteFile(SettingsPath(),
              "[Files]\r\nSet111=C:\\A.exe\r\nSet111Place=" + PlaceText(kPlace) +
                  "\r\nSet111Wait=2\r\nSet112=C:\\Late.exe\r\nSet112Place=" + PlaceText(kPlace) +
                  "\r\nSet113=C:\\notes.txt\r\n"
                  "Set221=C:\\Plain.exe\r\nSet221Place=hand-edited\r\n");
  windowless = {"C:\\Late.exe"};
  const std::int64_t t0 = p.clock.now;
  Choose(popupmenu1::Popupname(1));
  p.TrayCallback(kLeftButtonDown);
  ASSERT_EQ(starts.size(), 1u);  // the rest wait their 2 s
  ASSERT_TRUE(p.wakeDelay);
  app.MainForm().OnHotKey(1);  // again while it opens: no second pass
  Choose(popupmenu1::Popupname(1));
  p.TrayCallback(kLeftButtonDown);
  RunTimer();
  EXPECT_EQ(starts,
            (std::vector<std::pair<std::string, std::int64_t>>{
                {"C:\\A.exe", t0}, {"C:\\Late.exe", t0 + 2000}, {"C:\\notes.txt", t0 + 2000}}));
  ASSERT_FALSE(p.desktop.placed.empty());
  EXPECT_EQ(p.desktop.placed[0].window, 1u);
  EXPECT_TRUE(SameRect(p.desktop.placed[0].placement.normal, kPlace.placement.normal));
  ASSERT_EQ(p.boxes.size(), 1u);  // at the end, the window that never came
  EXPECT_NE(p.boxes[0].text.find("\"C:\\Late.exe\": " + std::string(kNoWindowAppearedLine)),
            std::string::npos);
  EXPECT_FALSE(p.wakeDelay);

  const int sets = p.wakeSets;  // an unusable place: a plain launch, no timer
  Choose(popupmenu1::Popupname(2));
  p.TrayCallback(kLeftButtonDown);
  EXPECT_EQ(starts.back().first, "C:\\Plain.exe");
  EXPECT_EQ(p.wakeSets, sets);
}

TEST_F(TrayWorkspaceTest, CloseATitleFromTheSubmenuTellsOnlyOfProgramsStillOpen) {
  p.WriteFile(SettingsPath(),
              "[Files]\r\nSet221=C:\\A.exe\r\nSet222=C:\\Stubborn.exe\r\nSet223=C:\\Stay.exe\r\n"
              "Set223Stay=1\r\nSet224=C:\\notes.txt\r\nSet331=C:\\A.exe\r\n");
  p.desktop.Add(1, 10, "C:\\A.exe", {});
  p.desktop.Add(2, 20, "C:\\Stubborn.exe", {});
  p.desktop.Add(3, 30, "C:\\Stay.exe", {});
  p.desktop.Add(4, 40, "C:\\Notepad.exe", {});
  const int closeTitle2 = popupmenu2::kCount + (kTitleCount - 2);  // after the top items
  Choose(closeTitle2);
  p.TrayCallback(kRightButtonDown);
  RunTimer();
  EXPECT_EQ(p.desktop.closeRequests, (std::vector<WindowId>{1, 2}));
  ASSERT_EQ(p.boxes.size(), 1u);
  EXPECT_EQ(p.boxes[0].text, std::string(kStillOpenIntro) + "\n\n\"C:\\Stubborn.exe\"");
  EXPECT_EQ(p.desktop.windows.size(), 3u);

  p.desktop.Add(5, 50, "C:\\A.exe", {});
  Choose(popupmenu2::kCount + (kTitleCount - 3));
  p.TrayCallback(kRightButtonDown);
  RunTimer();
  EXPECT_EQ(p.desktop.Find(5), nullptr);
  EXPECT_EQ(p.boxes.size(), 1u);  // all closed: nothing to say
}

// A run with arguments, as main makes it.
int RunWith(FakePlatform& p, const std::string& line) {
  p.commandLine = "vantrel.exe " + line;
  return RunCommand(p, p, p, p.clock, p.shell, p.desktop,
                    ParseArguments(SplitCommandLine(p.CommandLineText())));
}

TEST_F(TrayWorkspaceTest, CommandLineOpensToTheEndAndClosesWithItsStatuses) {
  p.WriteFile(SettingsPath(), "[Files]\r\nSet111=C:\\A.exe\r\nSet111Place=" + PlaceText(kPlace) +
                                  "\r\nSet221=C:\\Late.exe\r\nSet221WaitWindow=1\r\n"
                                  "Set331=C:\\A.exe\r\nSet332=C:\\Stubborn.exe\r\n");
  windowless = {"C:\\Late.exe"};
  const std::int64_t t0 = p.clock.now;
  EXPECT_EQ(RunWith(p, "--open 1"), kExitOpened);
  ASSERT_EQ(p.desktop.placed.size(), 1u);
  EXPECT_EQ(RunWith(p, "--open 2"), kExitNotOpened);  // its window never came
  EXPECT_GE(p.clock.now - t0, kWindowLimitMs);
  EXPECT_NE(p.output.find(kNoWindowAppearedLine), std::string::npos);

  p.desktop.Add(50, 50, "C:\\Stubborn.exe", {});
  EXPECT_EQ(RunWith(p, "--close 3"), kExitNotOpened);
  EXPECT_NE(p.output.find("\"C:\\Stubborn.exe\""), std::string::npos);
  EXPECT_EQ(p.desktop.Find(1), nullptr);            // A closed
  EXPECT_EQ(RunWith(p, "--close 1"), kExitOpened);  // nothing left to close
  EXPECT_EQ(RunWith(p, "--close Nobody"), kExitWrongUsage);
  EXPECT_EQ(RunWith(p, "--close"), kExitWrongUsage);
}

}  // namespace
}  // namespace vantrel

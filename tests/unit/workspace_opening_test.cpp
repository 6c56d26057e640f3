#include <gtest/gtest.h>

#include <memory>

#include "workspace/opening_registry.h"
#include "workspace/title_opening.h"
#include "workspace/window_choice.h"
#include "workspace_fixture.h"

namespace vantrel {
namespace {

WindowPlace On1(const Rect& bounds) {
  return {{ShowState::Normal, bounds}, "\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96};
}

struct OpeningTest : DesktopTest {
  std::vector<std::pair<std::string, std::int64_t>> starts;  // target, time
  std::map<std::string, std::function<StartResult()>> onStart;

  std::unique_ptr<TitleOpening> Opening(const std::vector<OpeningEntry>& entries) {
    auto start = [this, entries](std::size_t i) {
      starts.emplace_back(entries[i].target, clock.now);
      const auto script = onStart.find(entries[i].target);
      return script == onStart.end() ? StartResult{StartKind::Started} : script->second();
    };
    return std::make_unique<TitleOpening>(desktop, clock, entries, start, shell);
  }
  // The program's window shows `after` ms after its start.
  void ShowsWindow(const std::string& program, WindowId id, std::int64_t after, Rect bounds) {
    onStart[program] = [=, this] {
      At(clock.now + after, [=, this] { desktop.Add(id, 100 + id, program, bounds); });
      return StartResult{StartKind::Started};
    };
  }
  std::vector<PlaceCall> PlacedOf(WindowId id) {
    std::vector<PlaceCall> calls;
    for (const PlaceCall& call : desktop.placed)
      if (call.window == id) calls.push_back(call);
    return calls;
  }
};

TEST_F(OpeningTest, TheWindowOfAStartIsANewShownUnownedUncloakedOneOfItsProgram) {
  shortForms["C:\\PROGRA~1\\Ed.exe"] = shortForms["C:\\Program Files\\Ed.exe"] =
      "C:\\PROGRA~1\\ED.EXE";
  const std::string ed = "C:\\Program Files\\Ed.exe";
  desktop.Add(1, 10, ed, {});                      // shown before the start
  desktop.Add(2, 11, ed, {}).owned = true;         // a dialog
  desktop.Add(3, 11, ed, {}).cloaked = true;       // on another virtual desktop
  desktop.Add(4, 11, "C:\\Other.exe", {});         // another program
  desktop.Add(5, 12, "C:\\PROGRA~1\\Ed.exe", {});  // the copy already running took over
  desktop.Add(6, 11, ed, {});
  const ProgramMatch program(ed, shell);
  WindowSearch search{&program, {1, 99}, 0};
  const auto windows = desktop.Windows();
  EXPECT_EQ(ChooseWindow(windows, search, 0, {}), 5u);
  EXPECT_EQ(ChooseWindow(windows, search, 6, {}), 6u);   // the one chosen stays
  EXPECT_EQ(ChooseWindow(windows, search, 0, {5}), 6u);  // another entry's
  EXPECT_EQ(ChooseWindow(windows, search, 0, {5, 6}), 0u);
  search.broughtForward = 10;  // the program brought forward: its window, though not new
  EXPECT_EQ(ChooseWindow(windows, search, 0, {}), 1u);
}

TEST_F(OpeningTest, WithoutWaitsEveryEntryStartsAtOnceInItsOrder) {
  std::unique_ptr<TitleOpening> opening;
  std::size_t startsDuringBox = 0;
  onStart["C:\\B.exe"] = [&] {
    opening->Step();  // its failure box lets the timer run: the next entry waits for the box
    startsDuringBox = starts.size();
    return StartResult{StartKind::Failed};
  };
  opening = Opening({{"C:\\A.exe"}, {"C:\\notes.txt"}, {"C:\\B.exe"}, {"C:\\C.exe"}});
  opening->Step();
  EXPECT_EQ(starts,
            (std::vector<std::pair<std::string, std::int64_t>>{
                {"C:\\A.exe", 0}, {"C:\\notes.txt", 0}, {"C:\\B.exe", 0}, {"C:\\C.exe", 0}}));
  EXPECT_EQ(startsDuringBox, 3u);
  EXPECT_TRUE(opening->Done());
  EXPECT_FALSE(opening->NextWake());
  EXPECT_EQ(opening->Outcomes(),
            (std::vector<EntryOutcome>{EntryOutcome::Opened, EntryOutcome::Opened,
                                       EntryOutcome::Failed, EntryOutcome::Opened}));
  EXPECT_EQ(opening->ReportText(), "");
  EXPECT_EQ(desktop.looks, 0);  // nothing to look for
}

TEST_F(OpeningTest, WaitsAndWindowWaitsPaceTheEntries) {
  ShowsWindow("C:\\B.exe", 7, 3000, {10, 10, 300, 200});
  onStart["C:\\C.exe"] = [] { return StartResult{StartKind::Failed}; };
  auto opening = Opening({{"C:\\A.exe", std::nullopt, 2},
                          {"C:\\B.exe", std::nullopt, 1, true},
                          {"C:\\C.exe", std::nullopt, 5, true},  // failed: nothing to wait for
                          {"C:\\D.exe", std::nullopt, 0, true},  // shows no window
                          {"C:\\E.exe", std::nullopt, 200},
                          {"C:\\F.exe"}});
  Run(*opening, 200000);
  // B's window came at 5000 and was settled at 5075; D's limit passed at 26075;
  // E waited the longest wait there is.
  EXPECT_EQ(starts, (std::vector<std::pair<std::string, std::int64_t>>{{"C:\\A.exe", 0},
                                                                       {"C:\\B.exe", 2000},
                                                                       {"C:\\C.exe", 6075},
                                                                       {"C:\\D.exe", 6075},
                                                                       {"C:\\E.exe", 26075},
                                                                       {"C:\\F.exe", 146075}}));
  EXPECT_TRUE(opening->Done());
  EXPECT_EQ(opening->Outcomes()[3], EntryOutcome::NoWindow);
  EXPECT_TRUE(desktop.placed.empty());
}

TEST_F(OpeningTest, AWindowIsPlacedOnceItHasSettledAndSplashScreensArePassedOver) {
  desktop.Add(1, 5, "C:\\App.exe", {0, 0, 100, 100});  // a copy running before
  onStart["C:\\App.exe"] = [this] {
    At(100, [this] { desktop.Add(2, 50, "C:\\App.exe", {700, 400, 300, 200}); });
    At(150, [this] { desktop.Remove(2); });  // gone before it settled
    At(200, [this] { desktop.Add(3, 50, "C:\\App.exe", {700, 400, 300, 200}); });
    At(300, [this] { desktop.Remove(3); });  // gone right after it was placed
    At(400, [this] { desktop.Add(4, 50, "C:\\App.exe", {10, 10, 500, 400}); });
    At(440, [this] { desktop.Find(4)->bounds = {20, 20, 800, 600}; });  // restores its own size
    return StartResult{StartKind::Started};
  };
  auto opening = Opening({{"C:\\App.exe", On1({300, 200, 640, 480})}});
  Run(*opening);
  ASSERT_EQ(desktop.placed.size(), 2u);
  EXPECT_EQ(desktop.placed[0].window, 3u);
  EXPECT_EQ(desktop.placed[1].window, 4u);
  EXPECT_EQ(desktop.placed[1].at, 525);  // seen changed at 450, the same until 525
  EXPECT_TRUE(SameRect(desktop.Find(4)->bounds, {300, 200, 640, 480}));
  EXPECT_EQ(opening->Outcomes()[0], EntryOutcome::Placed);
  EXPECT_EQ(clock.now, 600);  // done once seen where it was put
}

TEST_F(OpeningTest, GivesUpOnAWindowAfter20sAndReportsARefusalWithoutRetrying) {
  ShowsWindow("C:\\Admin.exe", 2, 50, {0, 0, 200, 200});
  desktop.refusing.insert(2);
  ShowsWindow("C:\\Late.exe", 3, 3000, {0, 0, 200, 200});
  auto opening = Opening({{"C:\\Never.exe", On1({1, 1, 100, 100})},
                          {"C:\\Admin.exe", On1({2, 2, 100, 100})},
                          {"C:\\Late.exe", On1({3, 3, 100, 100})}});
  Run(*opening);
  EXPECT_EQ(PlacedOf(2).size(), 1u);
  EXPECT_EQ(PlacedOf(3).size(), 1u);
  EXPECT_EQ(opening->Outcomes(),
            (std::vector<EntryOutcome>{EntryOutcome::NoWindow, EntryOutcome::Refused,
                                       EntryOutcome::Placed}));
  EXPECT_EQ(clock.now, 20000);
  EXPECT_EQ(opening->ReportText(), std::string(kOpeningReportIntro) +
                                       "\n\n\"C:\\Never.exe\": " + kNoWindowAppearedLine +
                                       "\n\"C:\\Admin.exe\": " + kPlaceRefusedLine);
}

TEST_F(OpeningTest, TwoEntriesOfOneProgramTakeAWindowEach) {
  WindowId next = 1;
  onStart["C:\\Ed.exe"] = [&] {
    const WindowId id = next++;
    At(100 * id, [=, this] { desktop.Add(id, 60, "C:\\Ed.exe", {0, 0, 90, 90}); });
    return StartResult{StartKind::Started};
  };
  auto opening =
      Opening({{"C:\\Ed.exe", On1({10, 10, 200, 200})}, {"C:\\Ed.exe", On1({500, 10, 200, 200})}});
  Run(*opening);
  EXPECT_TRUE(SameRect(desktop.Find(1)->bounds, {10, 10, 200, 200}));
  EXPECT_TRUE(SameRect(desktop.Find(2)->bounds, {500, 10, 200, 200}));
  EXPECT_EQ(desktop.placed.size(), 2u);
}

TEST_F(OpeningTest, PlacesOnceMoreWhenTheProgramResizesItselfOnTheDpiChangeOnlyOnce) {
  ShowsWindow("C:\\Sharp.exe", 4, 0, {100, 100, 400, 300});
  ShowsWindow("C:\\Stubborn.exe", 5, 0, {100, 100, 400, 300});
  ShowsWindow("C:\\Busy.exe", 6, 0, {100, 100, 400, 300});
  bool scaled = false;
  desktop.onPlace = [&](WindowId id, const Placement& placement) {
    DesktopWindow* window = desktop.Find(id);
    if (id == 6) {  // a busy program takes its placing half a second late
      window->bounds = {100, 100, 400, 300};
      At(clock.now + 500, [this, placement] { desktop.Find(6)->bounds = placement.normal; });
      return;
    }
    if (id == 5 || !scaled) window->bounds.width = window->bounds.width * 3 / 2;  // 96 to 144 DPI
    scaled = scaled || id == 4;
  };
  const WindowPlace place{
      {ShowState::Normal, {2000, 100, 600, 400}}, "\\\\.\\DISPLAY2", {1920, 0, 1280, 1024}, 144};
  auto opening =
      Opening({{"C:\\Sharp.exe", place}, {"C:\\Stubborn.exe", place}, {"C:\\Busy.exe", place}});
  Run(*opening);
  const auto calls = PlacedOf(4);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].at - calls[0].at, kSettleMs);
  EXPECT_TRUE(SameRect(desktop.Find(4)->bounds, place.placement.normal));
  EXPECT_EQ(PlacedOf(5).size(), 2u);  // one that always resizes itself is not placed forever
  EXPECT_TRUE(opening->Done());
  // ... nor said to be in its place.
  EXPECT_EQ(
      opening->Outcomes(),
      (std::vector<EntryOutcome>{EntryOutcome::Placed, EntryOutcome::Moved, EntryOutcome::Placed}));
  EXPECT_EQ(PlacedOf(6).size(), 2u);
  EXPECT_EQ(opening->ReportText(),
            std::string(kOpeningReportIntro) + "\n\n\"C:\\Stubborn.exe\": " + kPlaceNotKeptLine);
}

TEST_F(OpeningTest, AProgramBroughtForwardGivesItsOwnWindow) {
  desktop.Add(8, 78, "C:\\One.exe", {0, 0, 50, 50});  // another copy, in front
  desktop.Add(9, 77, "C:\\One.exe", {0, 0, 50, 50});
  onStart["C:\\One.exe"] = [] { return StartResult{StartKind::BroughtForward, 77}; };
  auto opening = Opening({{"C:\\One.exe", On1({5, 5, 300, 300})}});
  Run(*opening);
  ASSERT_EQ(desktop.placed.size(), 1u);
  EXPECT_EQ(desktop.placed[0].window, 9u);
}

TEST_F(OpeningTest, ATitleStillOpeningIsNotOpenedAgainAndABoxDuringItsLastStartIsHarmless) {
  Openings openings;
  bool again = true;
  onStart["C:\\X.exe"] = [&] {
    // The last entry's failure box runs the timer meanwhile, and the user opens titles.
    EXPECT_TRUE(openings.Step().empty());
    again = openings.Begin("3", Opening({{"C:\\X.exe"}}));
    EXPECT_TRUE(openings.Begin("4", Opening({{"C:\\Z.exe"}})));
    return StartResult{StartKind::Failed};
  };
  ASSERT_TRUE(openings.Begin("3", Opening({{"C:\\Y.exe", std::nullopt, 1}, {"C:\\X.exe"}})));
  EXPECT_TRUE(openings.Step().empty());
  EXPECT_TRUE(openings.IsOpening("3"));
  EXPECT_EQ(openings.NextWake(), 1000);
  clock.now = 1000;
  const auto finished = openings.Step();
  EXPECT_FALSE(again);
  ASSERT_EQ(finished.size(), 2u);
  EXPECT_EQ(finished[0].title, "3");
  EXPECT_EQ(finished[0].outcomes,
            (std::vector<EntryOutcome>{EntryOutcome::Opened, EntryOutcome::Failed}));
  EXPECT_EQ(finished[1].title, "4");
  EXPECT_EQ(starts, (std::vector<std::pair<std::string, std::int64_t>>{
                        {"C:\\Y.exe", 0}, {"C:\\X.exe", 1000}, {"C:\\Z.exe", 1000}}));
  EXPECT_FALSE(openings.NextWake());
  EXPECT_TRUE(openings.Begin("3", Opening({{"C:\\Y.exe"}})));
}

}  // namespace
}  // namespace vantrel

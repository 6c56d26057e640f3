#include <gtest/gtest.h>

#include "workspace/monitor_fit.h"
#include "workspace/place_capture.h"
#include "workspace/window_place.h"
#include "workspace_fixture.h"

namespace vantrel {
namespace {

TEST(WindowPlace, TextRoundTripsExactlyAndHandEditsObeyTheSameRules) {
  const WindowPlace place{{ShowState::Maximised, {-1910, 20, 800, 600}},
                          "\\\\.\\DISPLAY2",
                          {-1920, 0, 1920, 1080},
                          144};
  const std::string text = "maximised,-1910,20,800,600,144,-1920,0,1920,1080,\\\\.\\DISPLAY2";
  EXPECT_EQ(PlaceText(place), text);
  ASSERT_TRUE(ParsePlace(text));
  EXPECT_TRUE(SamePlace(*ParsePlace(text), place));
  EXPECT_EQ(PlaceKey("Set111"), "Set111Place");
  for (const char* good : {"normal,0,0,1,1,1,0,0,1,1,", "minimised,5,-7,9,9,96,0,0,10,10,a,b c"})
    EXPECT_EQ(PlaceText(ParsePlace(good).value()), good) << good;
  for (const char* bad :
       {"", "normal", "Normal,0,0,1,1,96,0,0,1,1,D", "normal,01,0,1,1,96,0,0,1,1,D",
        "normal,+1,0,1,1,96,0,0,1,1,D", "normal,-0,0,1,1,96,0,0,1,1,D",
        "normal,0,0,0,1,96,0,0,1,1,D", "normal,0,0,1,1,0,0,0,1,1,D", "normal,0,0,1,1,96,0,0,1,1",
        "normal, 0,0,1,1,96,0,0,1,1,D", "normal,0x1,0,1,1,96,0,0,1,1,D",
        "normal,99999999999,0,1,1,96,0,0,1,1,D", "normal,1000001,0,1,1,96,0,0,1,1,D",
        "normal,0,0,1,1,96,0,0,1,1,D ", "normal,0,0,1,1,96,0,0,1,1,D\t1",
        "normal,0,0,1,1,96,0,0,1,1,\xC3\xA9",
        "normal,0,0,1,1,96,0,0,1,1,12345678901234567890123456789012"})
    EXPECT_FALSE(ParsePlace(bad)) << bad;
}

TEST(MonitorFit, SavedMonitorByNameThenRectangleThenNearestAlwaysInsideItsWorkArea) {
  std::vector<Monitor> monitors = {
      {"\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
      {"\\\\.\\DISPLAY2", {1920, 0, 1280, 1024}, {1920, 0, 1280, 1024}, 144}};
  const auto fit = [&](const char* device, Rect monitor, Rect bounds) {
    const auto f = FitToMonitors({{ShowState::Normal, bounds}, device, monitor, 96}, monitors);
    return f ? std::make_pair(f->monitor.device, f->placement.normal)
             : std::pair<std::string, Rect>{};
  };
  const auto expect = [](const std::pair<std::string, Rect>& got, const char* device, Rect r) {
    EXPECT_EQ(got.first, device);
    EXPECT_TRUE(SameRect(got.second, r)) << got.second.left << "," << got.second.top << " "
                                         << got.second.width << "x" << got.second.height;
  };
  const Rect second{1920, 0, 1280, 1024};
  expect(fit("\\\\.\\DISPLAY2", second, {2000, 100, 400, 300}), "\\\\.\\DISPLAY2",
         {2000, 100, 400, 300});
  // Renamed: found by its rectangle. Gone: the nearest, and inside its work area.
  expect(fit("\\\\.\\DISPLAY7", second, {2000, 100, 400, 300}), "\\\\.\\DISPLAY2",
         {2000, 100, 400, 300});
  expect(fit("\\\\.\\DISPLAY3", {3200, 0, 1920, 1080}, {3300, 50, 800, 600}), "\\\\.\\DISPLAY2",
         {2400, 50, 800, 600});
  expect(fit("", {0, 1080, 1920, 1080}, {100, 1500, 800, 600}), "\\\\.\\DISPLAY1",
         {100, 440, 800, 600});
  // A hand-edited place off its monitor, or larger than it, comes back inside.
  expect(fit("\\\\.\\DISPLAY1", monitors[0].area, {5000, -300, 2500, 600}), "\\\\.\\DISPLAY1",
         {0, 0, 1920, 600});
  // Straddling both: the monitor it overlaps most.
  expect(fit("", {9, 9, 9, 9}, {1800, 10, 400, 300}), "\\\\.\\DISPLAY2", {1920, 10, 400, 300});
  // The same device moved to the left of the first: the window moves with it.
  monitors[1].area = monitors[1].work = {-1280, 0, 1280, 1024};
  expect(fit("\\\\.\\DISPLAY2", second, {2000, 100, 400, 300}), "\\\\.\\DISPLAY2",
         {-1200, 100, 400, 300});
  monitors.clear();
  EXPECT_FALSE(FitToMonitors({}, monitors));
}

struct CaptureTest : DesktopTest {};

TEST_F(CaptureTest, EachProgramEntryGetsItsMainWindowsPlaceOrSaysWhy) {
  desktop.Add(1, 10, "C:\\Apps\\Edit.exe", {0, 0, 50, 50}).owned = true;  // its dialog, in front
  desktop.Add(2, 10, "C:\\Apps\\Edit.exe", {0, 0, 60, 60}).cloaked = true;
  desktop.Add(3, 10, "C:\\Apps\\Edit.exe", {100, 120, 400, 300});
  desktop.Add(4, 20, "C:\\Program Files\\Max.EXE", {1920, 0, 1280, 1024}).state =
      ShowState::Maximised;
  desktop.normalBounds[4] = {2000, 50, 700, 500};
  desktop.Add(5, 30, "c:/apps/min.exe", {-32000, -32000, 160, 28}).state = ShowState::Minimised;
  desktop.normalBounds[5] = {2100, 60, 300, 200};
  shortForms["C:\\PROGRA~1\\Max.exe"] = shortForms["C:\\Program Files\\Max.EXE"] =
      "C:\\PROGRA~1\\MAX.EXE";
  desktop.monitors[1].device = "\\\\.\\\x01";  // a name the file cannot keep
  const std::vector<std::string> targets = {
      "C:\\Apps\\Edit.exe",  "C:\\Docs\\notes.txt", "http://example.org/setup.exe",
      "C:\\Tools\\Idle.COM", "C:\\Tools\\Gone.exe", "C:\\PROGRA~1\\Max.exe",
      "C:\\Apps\\Min.exe"};
  platform.running = {{1, "C:\\Tools\\idle.com"}, {2, "C:\\Apps\\Edit.exe"}};
  const auto captures = CapturePlaces(desktop, shell, targets);
  ASSERT_EQ(captures.size(), 5u);
  const std::vector<std::size_t> entries = {captures[0].entry, captures[1].entry, captures[2].entry,
                                            captures[3].entry, captures[4].entry};
  EXPECT_EQ(entries, (std::vector<std::size_t>{0, 3, 4, 5, 6}));
  EXPECT_TRUE(SamePlace(
      captures[0].place.value(),
      {{ShowState::Normal, {100, 120, 400, 300}}, "\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, 96}));
  EXPECT_EQ(captures[1].result, CaptureResult::NoWindow);
  EXPECT_EQ(captures[2].result, CaptureResult::NotRunning);
  EXPECT_TRUE(
      SamePlace(captures[3].place.value(),
                {{ShowState::Maximised, {2000, 50, 700, 500}}, "", {1920, 0, 1280, 1024}, 144}));
  EXPECT_EQ(captures[4].place.value().placement.state, ShowState::Minimised);
  EXPECT_TRUE(SameRect(captures[4].place->monitor, desktop.monitors[1].area));
  EXPECT_EQ(CaptureReportText(targets, captures),
            std::string(kCaptureIntro) + "\n\n\"C:\\Apps\\Edit.exe\": " + kCapturedLine +
                "\n\"C:\\Tools\\Idle.COM\": " + kNoWindowLine + "\n\"C:\\Tools\\Gone.exe\": " +
                kNotRunningLine + "\n\"C:\\PROGRA~1\\Max.exe\": " + kCapturedLine +
                "\n\"C:\\Apps\\Min.exe\": " + kCapturedLine);
  EXPECT_EQ(CaptureReportText({"a.txt"}, CapturePlaces(desktop, shell, {"a.txt"})),
            kCaptureNoProgramsText);
}

}  // namespace
}  // namespace vantrel

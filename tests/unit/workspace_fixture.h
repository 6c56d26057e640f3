// A desktop of two monitors for the workspace tests, the shell that tells
// programs by their paths (short forms included), and a driver that moves the
// fake clock from wake to wake.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/fake/fake_desktop_windows.h"
#include "platform/fake/fake_platform.h"
#include "workspace/program_path.h"

namespace vantrel {

inline void TwoMonitors(FakeDesktopWindows& desktop) {
  desktop.monitors = {{"\\\\.\\DISPLAY1", {0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96},
                      {"\\\\.\\DISPLAY2", {1920, 0, 1280, 1024}, {1920, 0, 1280, 1024}, 144}};
}

struct DesktopTest : ::testing::Test {
  FakeClock clock;
  FakeDesktopWindows desktop{clock};
  FakePlatform platform;  // for the shell: its running programs and short paths
  std::map<std::string, std::string>& shortForms = platform.shortPaths;  // either form to the short
  Shell& shell = platform.shell;
  std::multimap<std::int64_t, std::function<void()>> events;  // what programs do, and when

  DesktopTest() { TwoMonitors(desktop); }
  void At(std::int64_t ms, std::function<void()> event) { events.emplace(ms, std::move(event)); }

  // Steps at each wake (and each event) until done or `limit`.
  template <typename Driven>
  void Run(Driven& driven, std::int64_t limit = 60000) {
    driven.Step();
    while (clock.now < limit) {
      auto wake = driven.NextWake();
      if (!events.empty() && (!wake || events.begin()->first < *wake)) wake = events.begin()->first;
      if (!wake) return;
      clock.now = std::max(clock.now, *wake);
      while (!events.empty() && events.begin()->first <= clock.now) {
        const auto event = events.begin()->second;
        events.erase(events.begin());
        event();
      }
      driven.Step();
    }
  }
};

}  // namespace vantrel

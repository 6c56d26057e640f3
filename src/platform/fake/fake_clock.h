// A clock for tests: it moves only when the test (or a fake wait) moves it,
// and both of its readings are the same time.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace vantrel {

class FakeClock final : public Clock {
 public:
  std::int64_t NowMs() override { return now; }
  std::uint64_t FileTimeMs() override { return static_cast<std::uint64_t>(now); }
  std::int64_t now = 0;
};

}  // namespace vantrel

// The system's clocks on Windows: the tick count since start for pacing, and
// the system time that file stamps are written by.
#pragma once

#include "platform/win32/win32_api.h"

#include "platform/clock.h"
#include "platform/win32/files.h"

namespace vantrel::win32 {

class SystemClock final : public Clock {
 public:
  std::int64_t NowMs() override { return static_cast<std::int64_t>(GetTickCount64()); }
  std::uint64_t FileTimeMs() override {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return Milliseconds(now);
  }
};

}  // namespace vantrel::win32

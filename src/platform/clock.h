// The time, on the two clocks the program reads: one that paces waits (opening
// and closing a title), and the one that file stamps are written by.
#pragma once

#include <cstdint>

namespace vantrel {

class Clock {
 public:
  // Milliseconds since some fixed moment, never going back.
  virtual std::int64_t NowMs() = 0;
  // The time now on the clock that writes FileStamp::writtenMs, in milliseconds.
  virtual std::uint64_t FileTimeMs() = 0;

 protected:
  ~Clock() = default;
};

}  // namespace vantrel

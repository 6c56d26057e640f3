// The time that paces opening and closing a title: milliseconds since some
// fixed moment, never going back.
#pragma once

#include <cstdint>

namespace vantrel {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() = 0;
};

}  // namespace vantrel

// Holders that give system handles back exactly once, whatever way a function
// leaves.
#pragma once

#include "platform/win32/win32_api.h"

#include <utility>

namespace vantrel::win32 {

// A kernel handle (a file's, for one); INVALID_HANDLE_VALUE counts as none.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle)
      : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~UniqueHandle() { Close(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // False when the system reports a failure (a write-back that failed, say).
  bool Close() {
    HANDLE handle = std::exchange(handle_, nullptr);
    return handle == nullptr || CloseHandle(handle) != FALSE;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace vantrel::win32

// Owners of the Win32 handles that the platform opens, so that no handle is
// released by hand: each is released once, when its owner goes, on every path.
#pragma once

#include <utility>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// Owns one handle of type H and gives it to Release at the end; a null handle
// is no handle.
template <typename H, void (*Release)(H)>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H handle) : handle_(handle) {}
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  H release() { return std::exchange(handle_, nullptr); }
  void reset(H handle = nullptr) {
    if (handle_ != nullptr) Release(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = nullptr;
};

namespace release {
template <typename T>
void GdiObject(T object) {
  DeleteObject(object);
}
inline void Menu(HMENU menu) { DestroyMenu(menu); }
inline void Icon(HICON icon) { DestroyIcon(icon); }
inline void Hook(HHOOK hook) { UnhookWindowsHookEx(hook); }
inline void Search(HANDLE search) { FindClose(search); }
}  // namespace release

template <typename T>
using GdiObject = Owned<T, &release::GdiObject<T>>;  // pens, brushes, fonts
using OwnedMenu = Owned<HMENU, &release::Menu>;
using OwnedIcon = Owned<HICON, &release::Icon>;  // not for shared icons (LR_SHARED)
using OwnedHook = Owned<HHOOK, &release::Hook>;
// A FindFirstFileA search; INVALID_HANDLE_VALUE becomes no search.
class FileSearch : public Owned<HANDLE, &release::Search> {
 public:
  explicit FileSearch(HANDLE search) : Owned(search == INVALID_HANDLE_VALUE ? nullptr : search) {}
};

// Selects an object into a device context and puts the old one back at the end.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

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

// What the Windows objects of this process share: the module, the hidden main
// window, the modal windows showing, and COM for this thread.
#pragma once

#include "platform/win32/win32_api.h"

#include <vector>

namespace vantrel::win32 {

class FormWindow;

class Session {
 public:
  explicit Session(HINSTANCE module) : instance(module) {}
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The window that boxes and choosers belong to: the innermost modal form
  // that is showing, else the main window.
  HWND DialogOwner() const;
  // The shell's open may hand a file to an opener that is a COM handler, and
  // the file chooser hosts the shell's views: COM for this thread,
  // apartment-threaded, set up before the first of them rather than at start,
  // so that the resident program does without it until it opens something.
  void EnsureCom();

  const HINSTANCE instance;
  HWND main = nullptr;                  // the hidden main window while it exists
  std::vector<FormWindow*> modalStack;  // the modal forms showing, innermost last

 private:
  bool comTried_ = false;
  bool comReady_ = false;
  void(WINAPI* comUninitialize_)() = nullptr;
};

}  // namespace vantrel::win32

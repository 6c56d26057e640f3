// What this process's Windows objects share: the dialog owner and COM.
#include "platform/win32/session.h"

#include "platform/win32/form_window.h"

namespace vantrel::win32 {

Session::~Session() {
  if (comReady_ && comUninitialize_ != nullptr) comUninitialize_();
}

HWND Session::DialogOwner() const {
  for (auto it = modalStack.rbegin(); it != modalStack.rend(); ++it) {
    HWND hwnd = (*it)->Handle();
    if (hwnd != nullptr && IsWindow(hwnd)) return hwnd;
  }
  return main;
}

void Session::EnsureCom() {
  if (comTried_) return;
  comTried_ = true;
  HMODULE ole32 = LoadLibraryA("ole32.dll");
  if (ole32 == nullptr) return;
  auto initialize = reinterpret_cast<HRESULT(WINAPI*)(void*, DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(ole32, "CoInitializeEx")));
  comUninitialize_ = reinterpret_cast<void(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(ole32, "CoUninitialize")));
  comReady_ = initialize != nullptr &&
              SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

}  // namespace vantrel::win32

// Message boxes, modal forms and the file chooser on Windows.
#include "platform/win32/dialogs.h"

#include <algorithm>

#include "platform/errors.h"
#include "platform/form.h"
#include "platform/win32/form_window.h"
#include "platform/win32/message_box.h"

namespace vantrel::win32 {
namespace {

// The common controls (version 6, by the manifest) serve only the program's
// windows, not the resident tray icon: their library is loaded at the first
// window shown, which keeps the program small while it waits in the tray.
void LoadCommonControls() {
  static const bool loaded = [] {
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    HMODULE dll = LoadLibraryA("comctl32.dll");
    if (dll == nullptr) return false;
    auto init = reinterpret_cast<Init>(
        reinterpret_cast<void*>(GetProcAddress(dll, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    return init != nullptr && init(&controls) != FALSE;
  }();
  (void)loaded;
}

// The file chooser's library is loaded on its first use: most runs never open
// it, and loading it at start costs the resident program several DLLs.
struct FileChooser {
  decltype(&GetOpenFileNameA) open = nullptr;
  decltype(&CommDlgExtendedError) lastError = nullptr;
};

const FileChooser& LoadFileChooser() {
  static const FileChooser chooser = [] {
    FileChooser c;
    if (HMODULE dll = LoadLibraryA("comdlg32.dll")) {
      c.open = reinterpret_cast<decltype(&GetOpenFileNameA)>(
          reinterpret_cast<void*>(GetProcAddress(dll, "GetOpenFileNameA")));
      c.lastError = reinterpret_cast<decltype(&CommDlgExtendedError)>(
          reinterpret_cast<void*>(GetProcAddress(dll, "CommDlgExtendedError")));
    }
    return c;
  }();
  return chooser;
}

}  // namespace

BoxResult Win32Dialogs::ShowMessage(BoxKind kind, const std::string& text, BoxButtons buttons) {
  const char* caption = "Vantrel";
  UINT type = 0;
  if (kind == BoxKind::Warning) {
    caption = "Warning";
    type = MB_ICONWARNING;
  } else if (kind == BoxKind::Information) {
    caption = "Information";
    type = MB_ICONINFORMATION;
  }
  type |= buttons == BoxButtons::YesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
  int answer = ShowMessageBox(session_.DialogOwner(), text, caption, type);
  if (buttons == BoxButtons::Ok) return BoxResult::Ok;
  return answer == IDYES ? BoxResult::Yes : BoxResult::No;
}

void Win32Dialogs::ShowErrorBox(const std::string& text) {
  ShowMessageBox(session_.DialogOwner(), text, "Vantrel", MB_OK | MB_ICONERROR);
}

int Win32Dialogs::ShowModal(Form& form, Form* owner) {
  if (form.Showing()) throw VantrelError("Cannot make a visible window modal");
  LoadCommonControls();
  HWND ownerWindow = session_.main;
  if (owner != nullptr) {
    for (FormWindow* window : session_.modalStack)
      if (&window->ShownForm() == owner && window->Handle() != nullptr)
        ownerWindow = window->Handle();
  }
  FormWindow window(session_, *this, form);
  return window.ShowModal(ownerWindow);
}

std::optional<std::string> Win32Dialogs::ChooseFile(const std::string& initialName) {
  session_.EnsureCom();
  const FileChooser& chooser = LoadFileChooser();
  if (chooser.open == nullptr || chooser.lastError == nullptr) return std::nullopt;
  std::string buffer(32768, '\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    buffer.replace(0, std::min(initialName.size(), buffer.size() - 1),
                   initialName.substr(0, buffer.size() - 1));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = session_.DialogOwner();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
    if (chooser.open(&ofn)) return std::string(buffer.c_str());
    if (chooser.lastError() != FNERR_BUFFERTOOSMALL) return std::nullopt;
    // The first two bytes hold the size that the chosen name needs.
    unsigned needed =
        static_cast<unsigned char>(buffer[0]) | (static_cast<unsigned char>(buffer[1]) << 8);
    buffer.assign(std::max<std::size_t>(needed + 1, buffer.size() * 2), '\0');
  }
  return std::nullopt;
}

}  // namespace vantrel::win32

// MessageBoxA with two adjustments: the box is centred on the screen (its
// owner is usually the hidden main window), and Escape answers a Yes/No box
// with No, which MessageBoxA alone ignores.
#pragma once

#include <string>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

int ShowMessageBox(HWND owner, const std::string& text, const char* caption, UINT type);

}  // namespace vantrel::win32

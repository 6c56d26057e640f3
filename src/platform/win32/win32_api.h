// The Windows headers as this folder uses them. windows.h maps several names
// that the Platform interface also uses (CreateDirectory, RegOpenKey,
// DeleteFile, ...) onto their ...A functions; those macros are dropped here so
// the interface keeps one spelling everywhere, and the code calls the ...A
// functions by their full names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#undef CreateDirectory
#undef RegOpenKey
#undef RegQueryValue
#undef RegSetValue
#undef RegDeleteValue
#undef DeleteFile

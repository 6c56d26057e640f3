// What the cases know of the program itself: its windows' control ids, the
// positions in its two tray menus, the names it uses in the registry and the
// texts of its message boxes.
#pragma once

#include <string>

#include "e2e.h"
#include "vantrel_ids.h"

namespace e2e::ui {

// --- Registry names and the like ----------------------------------------------------

inline const char kRunValue[] = "ZBriskoEXE";
inline const char kDesktopKey[] = "Control Panel\\Desktop";
inline const char kNtPassword[] = "ScreensaverIsSecure";
inline const char k9xPassword[] = "Screensaveusepassword";
inline const char kWineKey[] = "Software\\Wine";
inline const char kBrowserKey[] = "Software\\Wine\\WineBrowser";
// Where the stand-in screensaver records its starts.
inline const char kScrLogVariable[] = "VANTREL_FAKE_SCR_LOG";
inline const char kMakerSite[] = "https://www.vantrel.org/";

// --- Message texts --------------------------------------------------------------------

inline const char kAskRemoveStartup[] =
    "Click YES if you do not want the icon to automatically appear in your system tray when you "
    "reboot.";
inline const char kAskRemoveIcon[] =
    "You are about to remove the Vantrel icon from your system tray. Click Yes to remove, or "
    "click No to return.";
inline const char kRemoved[] = "Successfully removed from startup.";
inline const char kFolderWarning[] =
    "Could not create a folder as you do not have authority on your system. Please right click "
    "this software icon on your desktop, and choose the option to \"Run as Admin\" (only needs to "
    "be done one time), as you currently do not have authority to create a new folder.";

inline const char kNoPrograms[] =
    "There are no programs assigned to this name. You can enter programs to activate, just "
    "\"right click\" on the hand icon in the system tray, then click \"Edit Program List\" to add "
    "your programs. You can even select documents, text files, or webpages on your pc.";
inline const char kCannotRun[] =
    "Program could not be run. It appears to be an invalid program entered, or you do not have a "
    "valid extension defined for this file type. Make sure you have this file extension defined "
    "to windows.";

inline const char kFileCancelled[] = "You selected \"Cancel\". Nothing added to list";
inline const char kWebCancelled[] = "You selected \"Cancel\". No webpage address added to list";
inline const char kFileAdded[] =
    "This was successfully added to your list. Click \"Add\" again if you wish to add more to "
    "this list.";
inline const char kLimit[] =
    "Only 10 applications are allowed per title name. You can remove an application to add "
    "another one, or use a different title name to add this application.";
inline const char kRemoveEmpty[] =
    "You must first add some applications to the list before you can remove them!  Use the "
    "buttons below to add the applications you would like to open.";
inline const char kNoAddress[] =
    "You must enter a webpage address in the box, then click the add button.  Note that you can "
    "paste the webpage directly into the box if you right-click the box, then select paste from "
    "the menu that appears.";

inline const char kDesktopKeyWarning[] =
    "Cannot access screensaver settings. It appears you do not have the privilege to access "
    "this, therefore you will not be able to adjust the screensaver password settings from this "
    "icon. You can still activate the screensaver and your other programs.";
inline const char kNoneFound[] =
    "There were no screensavers found in your windows or windows system directory.";
inline const char kMissing[] =
    "The screensaver selected no longer exists. Please right click on the icon in the system "
    "tray, and select an existing screensaver.";
inline const char kCouldNotRun[] =
    "The screensaver could not be run. It may be an invalid or corrupt screensaver. Please right "
    "click on the icon in the system tray and select a different screensaver.";

// --- The program's files, Run value and start ----------------------------------------

std::string DataFolder();    // "Vantrel" under the user's application data
std::string SettingsPath();  // vantrel.ini in it
// The Run value's data: the program's path, quoted when it holds a space.
std::string ExpectedRunData(const Context& ctx);
// A menu caption without its "&" marks.
std::string WithoutMarks(const std::string& caption);
// Starts the program and waits for its tray icon.
void StartReady(Context& ctx, Program& program);

// --- The edit window's dialogs -----------------------------------------------------------

// "Change Title Names": the chosen title renamed to `name`.
void Rename(Context& ctx, Program& program, HWND editor, const std::string& name);
// "Add Program or File", then `path` picked in the real file chooser; the
// add-file dialog closes with the pick.
void AddFile(Context& ctx, Program& program, HWND editor, const std::string& path);
// "Add Webpage": the web page dialog, open.
HWND OpenWebDialog(Context& ctx, Program& program, HWND editor);
// "Add Webpage", `address` typed and added; the dialog closes.
void AddWeb(Context& ctx, Program& program, HWND editor, const std::string& address);

}  // namespace e2e::ui

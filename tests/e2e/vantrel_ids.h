// The program's windows' control ids and the positions in its two tray menus,
// as the end-to-end cases and the footprint benchmark drive them.
#pragma once

namespace e2e::ui {

// Control ids follow the order in which each window's design adds them.
namespace editor {
constexpr int Listtitles = 1003;
constexpr int Button1 = 1005;  // "Change Title Names"
constexpr int Listapps = 1007;
constexpr int Cmdany = 1008;   // "Add Program or File"
constexpr int BitBtn4 = 1009;  // "Add Webpage"
constexpr int Cmddel = 1010;   // "Remove From List"
constexpr int BitBtn2 = 1011;  // "Help"
constexpr int BitBtn1 = 1012;  // "Ok"
}  // namespace editor
namespace addfile {
constexpr int Cmdselect = 1002;  // "Add "
}  // namespace addfile
namespace webpage {
constexpr int Edit1 = 1002;
constexpr int BitBtn1 = 1003;  // "Add "
constexpr int BitBtn2 = 1004;  // "Show Me An Example"
constexpr int BitBtn3 = 1005;  // "Return"
}  // namespace webpage
namespace titlechg {
constexpr int Edit1 = 1002;
constexpr int Button1 = 1003;  // "Ok"
}  // namespace titlechg
namespace help {
constexpr int Memo1 = 1000;
constexpr int BitBtn1 = 1001;  // "OK"
}  // namespace help

// The file name box of the system's file chooser.
constexpr int kChooserNameBox = 0x47C;

inline const char kEditorClass[] = "TFrmedit";

// Positions in the left menu: title 20 on top, title 1 directly above
// "Edit Your List", then the three screensaver commands.
constexpr int TitleItem(int title) { return 20 - title; }
constexpr int kLeftEdit = 20;
constexpr int kSetSS = 21;
constexpr int kSetPwd = 22;
constexpr int kActivate = 23;
// Positions in the right menu.
constexpr int kRightDisable = 0;
constexpr int kRightHelp = 1;
constexpr int kRightEdit = 4;
constexpr int kRightSelectScreensaver = 5;

}  // namespace e2e::ui

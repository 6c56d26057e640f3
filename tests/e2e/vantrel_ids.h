// The program's windows' control ids and the positions in its two tray menus,
// as the end-to-end cases and the footprint benchmark drive them: taken from
// the program's own headers, under the short names the cases use.
#pragma once

#include "editor/add_file_dialog.h"
#include "editor/add_web_page_dialog.h"
#include "editor/edit_window.h"
#include "editor/entry_options_dialog.h"
#include "editor/title_name_dialog.h"
#include "help/help_window.h"
#include "screensaver/screensaver_dialog.h"
#include "tray/tray_window.h"

namespace e2e::ui {

namespace editor = vantrel::frmedit;
namespace addfile = vantrel::frmedadd;
namespace webpage = vantrel::frmwebpage;
namespace titlechg = vantrel::frmtitlechg;
namespace entryopt = vantrel::frmentryopt;
namespace help = vantrel::frmhelp;
namespace scrsel = vantrel::frmscrsel;

// The file name box of the system's file chooser.
constexpr int kChooserNameBox = 0x47C;

inline const char kEditorClass[] = "TFrmedit";

// Positions in the left menu.
constexpr int TitleItem(int title) { return vantrel::popupmenu1::Popupname(title); }
constexpr int kLeftEdit = vantrel::popupmenu1::EditAdd;
constexpr int kSetSS = vantrel::popupmenu1::SetSS;
constexpr int kSetPwd = vantrel::popupmenu1::SetPwd;
constexpr int kActivate = vantrel::popupmenu1::ActivateScreensaver1;
// Positions in the right menu.
constexpr int kRightDisable = vantrel::popupmenu2::EditProgramList1;
constexpr int kRightHelp = vantrel::popupmenu2::Help1;
constexpr int kRightDownload = vantrel::popupmenu2::Download1;
constexpr int kRightEdit = vantrel::popupmenu2::EditProgramList2;
constexpr int kRightSelectScreensaver = vantrel::popupmenu2::SelectScreensaver1;
constexpr int kRightCloseTitle = vantrel::popupmenu2::CloseTitle;

}  // namespace e2e::ui

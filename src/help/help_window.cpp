#include "help/help_window.h"

namespace vantrel {
namespace {

// The text as the window shows it, line for line (the edit box needs CR LF
// line ends, which the source file does not keep).
constexpr const char* kHelpText = R"(
Vantrel v3.1

SOFTWARE DESCRIPTION:

This software allows you to:
1) Open many websites simultaneously directly from your system tray.
2) Open a program or document directly from your system tray.
3) Open many programs or documents simultaneously with one mouse click.
4) Disable or enable your screensaver from your system tray.
5) Disable or enable screensaver password from system tray.
6) Activate the screensaver from your system tray.
7) Open applications with documents already pre-loaded.
8) Assign your own names to your applications you wish to open.
9) Pop open webpages directly from your system tray icon.
10) Runs on all Windows systems.

NOTE: The first time you run this software, the choices of the left-click menu of the
system tray icon, all but the screensaver commands, are default names that show as blank
items, because no title names have been entered yet. Right-click the system tray icon and
choose "Edit Your List". There, type in your own title names and give each title a list
of programs, documents or webpages to open. Every title name is then offered as a choice
whenever you left-click the system tray icon.

The screensaver starts when you left-click the system tray icon and choose
"Activate Screensaver". The same menu also switches your screensaver on or off, and your
screensaver password on or off. The screensaver it starts is the one you chose with
"Select a Screensaver". The questions below should answer most of your questions.

HELP FAQ
--------------------------------------------------------------------------------------------------------------------------
How do I add one or more applications?

Right-click the system tray icon and choose "Edit Your List". Highlight a title name, then
click "Add Program or File" (or "Add Webpage") and select an application. What you add
shows in the list below the title names. Click "Ok" to save your list and close the
window. Choosing that title from the left-click menu then opens all of its applications.

--------------------------------------------------------------------------------------------------------------------------
How do I select a screensaver?

Right-click the system tray icon and choose "Select a Screensaver". The screensaver you
choose there is the one that runs from the system tray; it may differ from the screensaver
that Windows itself uses.

--------------------------------------------------------------------------------------------------------------------------
What is a title name?

A title name is a descriptive name for one set of applications. The title names appear in
the left-click menu of the system tray icon. You can change them at any time in
"Edit Your List" with "Change Title Names"; the new names show in the menu as soon
as you click "Ok".

--------------------------------------------------------------------------------------------------------------------------
Can I still add a program if it isn't listed on one of the buttons?

Yes. Simply use the "Add Any Application" button.

--------------------------------------------------------------------------------------------------------------------------
How do I select several programs to open or run?

Right-click the system tray icon and choose "Edit Your List". Click "Add Program or File"
and browse your disk for a program; repeat this as often as you need, up to 10 entries for
each title name. If you choose a document instead of a program, it opens in its default
viewer.

--------------------------------------------------------------------------------------------------------------------------
How do I preload a document in my application?

Add the document itself as if it were the application. It then opens in the viewer that
your system has for its type, so you do not have to look for the same document again each
time.

--------------------------------------------------------------------------------------------------------------------------
Can I add any application to the system tray.

Yes, you can select any application or file of any type on your pc.

--------------------------------------------------------------------------------------------------------------------------)";

}  // namespace

TFrmhelp::TFrmhelp() {
  className = "TFrmhelp";
  taskbarButton = true;
  caption = "Help FAQ";
  clientWidth = 585;
  clientHeight = 337;
  border = BorderStyle::Sizeable;
  position = FormPosition::Designed;
  left = 274;
  top = 284;

  // First in the tab order: it has the focus, so Enter makes a new line there.
  Control& memo = Add(Design(ControlKind::Memo, frmhelp::Memo1, {8, 8, 569, 289},
                             WithCrLf(kHelpText), ArialFont(9)));
  memo.tabOrder = 0;
  memo.wordWrap = true;
  memo.vScroll = true;
  memo.color = kFormGrey;
  Control& ok =
      Add(Design(ControlKind::Button, frmhelp::BitBtn1, {493, 310, 75, 25}, "OK", TahomaFont()));
  ok.tabOrder = 1;
  ok.isDefault = true;
  ok.modalResult = kModalOk;
  ok.glyph = Glyph::Ok;
}

void ShowHelpWindow(Dialogs& dialogs, Form* owner) {
  // A window of its own for every showing, so nothing typed survives it.
  auto window = std::make_unique<TFrmhelp>();
  dialogs.ShowModal(*window, owner);
}

}  // namespace vantrel

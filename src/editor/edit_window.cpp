#include "editor/edit_window.h"

#include <stdexcept>

#include "editor/add_file_dialog.h"
#include "editor/add_web_page_dialog.h"
#include "editor/entry_options_dialog.h"
#include "editor/title_name_dialog.h"
#include "help/help_window.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "workspace/place_capture.h"

namespace vantrel {
namespace {

constexpr const char* kFileCancelledText = "You selected \"Cancel\". Nothing added to list";
constexpr const char* kWebCancelledText =
    "You selected \"Cancel\". No webpage address added to list";
constexpr const char* kLimitText =
    "Only 10 applications are allowed per title name. You can remove an application to add "
    "another one, or use a different title name to add this application.";
constexpr const char* kFileAddedText =
    "This was successfully added to your list. Click \"Add\" again if you wish to add more to "
    "this list.";
constexpr const char* kRemoveEmptyText =
    "You must first add some applications to the list before you can remove them!  Use the "
    "buttons below to add the applications you would like to open.";

bool ValidLine(const Control& list, int index) {
  return index >= 0 && index < static_cast<int>(list.items.size());
}

void SelectFirstEntry(Control& entryList) {
  if (!entryList.items.empty()) entryList.selected = 0;
}

}  // namespace

TFrmedit::TFrmedit(Files& files, Clock& clock, Dialogs& dialogs, DesktopWindows& desktop,
                   Shell& shell)
    : files_(files), clock_(clock), dialogs_(dialogs), desktop_(desktop), shell_(shell) {
  className = "TFrmedit";
  taskbarButton = true;
  caption = "Setup your applications to run from the system tray icon ";
  clientWidth = 554;
  clientHeight = 420;
  border = BorderStyle::Single;
  minimizeBox = false;
  position = FormPosition::ScreenCenter;
  DesignTitles();
  DesignEntries();
  DesignButtons();

  // A failed first-run write is reported and start-up goes on: the table and
  // the title list are complete in memory all the same. A file that cannot be
  // read now is loaded when the window is next shown.
  RunGuarded(dialogs_, [this] {
    try {
      Load();
    } catch (const SettingsBusyError&) {
    }
  });
}

// The explanations, the title list, "Change Title Names" and "Remember Window Places".
void TFrmedit::DesignTitles() {
  Add(Design(ControlKind::Label, frmedit::Label2, {5, 3, 541, 31},
             "The title name is the name that appears on the system tray icon menu. You may "
             "use or modify the names any way you wish. Upon clicking the title names from "
             "your system tray icon menu, you can open all your programs,"));
  Add(Design(ControlKind::Label, frmedit::Label4, {5, 30, 539, 28},
             "webpages, etc., with just one mouse click. Any applications you add below, "
             "will be assigned to the title name you have highlighted. Note that you can add "
             "exe programs, mp3 files, doc files, txt files, webpages, etc."));
  Add(Design(ControlKind::Label, frmedit::Label6, {5, 67, 396, 28},
             "Titles:  Type in your own name. These are the names that will appear in your "
             "system tray icon menu, used to identify the group of programs you add below."));
  Control& listtitles =
      Add(Design(ControlKind::ListBox, frmedit::Listtitles, {4, 99, 226, 126}, "", TahomaFont()));
  listtitles.tabOrder = 2;
  listtitles.hint = "Select a title name, or highlight a blank area to add a new title";
  listtitles.onClick = [this] { ListtitlesClick(); };
  Control& image2 = Add(Design(ControlKind::Image, frmedit::Image2, {236, 101, 37, 32}));
  image2.glyph = Glyph::AppIcon;
  Control& button1 =
      Add(Design(ControlKind::Button, frmedit::Button1, {281, 105, 105, 23}, "Change Title Names"));
  button1.tabOrder = 3;
  button1.hint = "Change the highlighted \"Title Name\"";
  button1.onClick = [this] { Button1Click(); };
  Control& button2 = Add(
      Design(ControlKind::Button, frmedit::Button2, {281, 134, 143, 23}, "Remember Window Places"));
  button2.tabOrder = 4;
  button2.hint = "Remember where the windows of the highlighted title's programs are now";
  button2.onClick = [this] { Button2Click(); };
}

// The entry list and the buttons that add and remove entries.
void TFrmedit::DesignEntries() {
  Add(Design(ControlKind::Label, frmedit::Label5, {5, 242, 521, 28},
             "Program list associated with the title name above. Add any programs, "
             "documents, webpages, etc., that you wish to open when the title is clicked."));
  Control& listapps =
      Add(Design(ControlKind::ListBox, frmedit::Listapps, {3, 273, 533, 92}, "", TahomaFont()));
  listapps.tabOrder = 1;
  listapps.onOpen = [this] { ListappsOpen(); };
  Control& cmdany =
      Add(Design(ControlKind::Button, frmedit::Cmdany, {8, 371, 122, 20}, "Add Program or File"));
  cmdany.tabOrder = 6;
  cmdany.glyph = Glyph::Add;
  cmdany.onClick = [this] { CmdanyClick(); };
  Control& bitBtn4 =
      Add(Design(ControlKind::Button, frmedit::BitBtn4, {136, 371, 122, 20}, "Add Webpage"));
  bitBtn4.tabOrder = 7;
  bitBtn4.glyph = Glyph::Web;
  bitBtn4.onClick = [this] { BitBtn4Click(); };
  Control& cmddel =
      Add(Design(ControlKind::Button, frmedit::Cmddel, {263, 371, 122, 20}, "Remove From List"));
  cmddel.tabOrder = 8;
  cmddel.glyph = Glyph::Remove;
  cmddel.onClick = [this] { CmddelClick(); };
}

// "Help" and "Ok".
void TFrmedit::DesignButtons() {
  Control& bitBtn2 = Add(Design(ControlKind::Button, frmedit::BitBtn2, {458, 372, 80, 21}, "Help"));
  bitBtn2.tabOrder = 5;
  bitBtn2.glyph = Glyph::Help;
  bitBtn2.onClick = [this] { BitBtn2Click(); };
  // The default button, so Enter in either list saves; its modal result
  // closes the window even when the save fails.
  Control& bitBtn1 = Add(Design(ControlKind::Button, frmedit::BitBtn1, {458, 396, 80, 21}, "Ok"));
  bitBtn1.tabOrder = 0;
  bitBtn1.isDefault = true;
  bitBtn1.modalResult = kModalOk;
  bitBtn1.glyph = Glyph::Ok;
  bitBtn1.onClick = [this] { BitBtn1Click(); };
}

void TFrmedit::Load() {
  if (loaded_) return;
  Control& titleList = (*this)["Listtitles"];
  Control& entryList = (*this)["Listapps"];
  const auto loaded = [&] {
    loaded_ = true;
    titleList.selected = 0;  // title 1 and its first entry
    SelectFirstEntry(entryList);
  };
  try {
    StartUpTitles(files_, clock_, titles_, titleList.items, entryList.items);
  } catch (const SettingsBusyError&) {
    throw;  // nothing loaded, nothing changed
  } catch (const VantrelError&) {
    loaded();  // a first-run write that failed: the table is complete all the same
    throw;
  }
  loaded();
}

void TFrmedit::SetDialogs(TFrmedadd* addFile, TFrmwebpage* webPage) {
  addFile_ = addFile;
  webPage_ = webPage;
}

void TFrmedit::ListtitlesClick() {
  Control& titleList = (*this)["Listtitles"];
  Control& entryList = (*this)["Listapps"];
  StoreEntryList(titles_, entryList.items);
  entryList.items.clear();
  entryList.selected = -1;
  // The title list always has a selection; should it ever lose it, the
  // current title stays as it was rather than leaving 1..20.
  if (!ValidLine(titleList, titleList.selected) || titleList.selected >= kTitleCount)
    titleList.selected = titles_.CurrentTitle - 1;
  titles_.CurrentTitle = static_cast<std::int16_t>(titleList.selected + 1);
  ShowEntryList(titles_, titles_.CurrentTitle, entryList.items);
  SelectFirstEntry(entryList);
}

void TFrmedit::CmdanyClick() {
  if (!addFile_) throw std::logic_error("the add-file dialog is not set");
  (*addFile_)["Edit1"].text.clear();
  AddFileCancelled = true;
  dialogs_.ShowModal(*addFile_, this);
  if (AddFileCancelled) {
    ShowInformation(dialogs_, kFileCancelledText);
    return;
  }
  // Tested only now, so that at 10 entries the dialog still opens.
  Control& entryList = (*this)["Listapps"];
  if (entryList.items.size() > kSlotCount - 1) {
    ShowInformation(dialogs_, kLimitText);
    return;
  }
  AddShownEntry(titles_, entryList.items, (*addFile_)["Edit1"].text);
  SelectFirstEntry(entryList);
  ShowPlain(dialogs_, kFileAddedText);
}

void TFrmedit::BitBtn4Click() {
  if (!webPage_) throw std::logic_error("the web page dialog is not set");
  AddWebCancelled = true;  // the box keeps its text from the last showing
  dialogs_.ShowModal(*webPage_, this);
  if (AddWebCancelled) {
    ShowInformation(dialogs_, kWebCancelledText);
    return;
  }
  Control& entryList = (*this)["Listapps"];
  if (entryList.items.size() > kSlotCount - 1) {
    ShowInformation(dialogs_, kLimitText);
    return;
  }
  AddShownEntry(titles_, entryList.items, (*webPage_)["Edit1"].text);  // as typed, blanks and all
  SelectFirstEntry(entryList);
}

void TFrmedit::CmddelClick() {
  Control& entryList = (*this)["Listapps"];
  if (entryList.items.empty()) {
    ShowWarning(dialogs_, kRemoveEmptyText);
    return;
  }
  if (ValidLine(entryList, entryList.selected))
    RemoveShownEntry(titles_, entryList.items, static_cast<std::size_t>(entryList.selected));
  entryList.selected = -1;
  SelectFirstEntry(entryList);
}

void TFrmedit::ListappsOpen() {
  Control& entryList = (*this)["Listapps"];
  if (!ValidLine(entryList, entryList.selected)) return;
  const auto line = static_cast<std::size_t>(entryList.selected);
  TFrmentryopt dialog(dialogs_);
  dialog.Show(ShownEntryOptions(titles_, entryList.items, line));
  // Kept for the edit window's Ok, as its other changes are.
  if (dialogs_.ShowModal(dialog, this) == kModalOk)
    ShownEntryOptions(titles_, entryList.items, line) = dialog.Options();
}

void TFrmedit::Button1Click() {
  Control& titleList = (*this)["Listtitles"];
  const int line =
      ValidLine(titleList, titleList.selected) ? titleList.selected : titles_.CurrentTitle - 1;
  if (!ValidLine(titleList, line)) return;
  const auto index = static_cast<std::size_t>(line);

  TFrmtitlechg rename;
  rename["Edit1"].text = titleList.items[index];
  std::string& hotKey = titles_.HotKeys.at(index);
  rename.ShowKey(ParseKeyCombo(hotKey).value_or(KeyCombo{}));
  dialogs_.ShowModal(rename, this);
  // No cancel: the box text is the new name however the dialog was closed.
  titleList.items[index] = rename["Edit1"].text;
  titleList.selected = line;
  // The key's text as the file had it stays while the key is the same.
  if (const std::optional<KeyCombo> key = rename.ChangedKey()) hotKey = KeyComboText(*key);
}

// Each place goes into its line's options, which the edit window's Ok saves
// with its other changes, as it saves the options dialog's.
void TFrmedit::Button2Click() {
  Control& entryList = (*this)["Listapps"];
  const std::vector<EntryCapture> captures = CapturePlaces(desktop_, shell_, entryList.items);
  for (const EntryCapture& capture : captures)
    if (capture.place)
      ShownEntryOptions(titles_, entryList.items, capture.entry).place = PlaceText(*capture.place);
  ShowInformation(dialogs_, CaptureReportText(entryList.items, captures));
}

void TFrmedit::BitBtn2Click() { ShowHelpWindow(dialogs_, this); }

void TFrmedit::BitBtn1Click() {
  Load();  // never a table that was not loaded
  SaveTitles(files_, clock_, titles_, (*this)["Listtitles"].items, (*this)["Listapps"].items);
  if (onSaved) onSaved();
  Close(kModalOk);
}

}  // namespace vantrel

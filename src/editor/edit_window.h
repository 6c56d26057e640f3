// The edit window: names the titles and adds or removes their entries.
#pragma once

#include <functional>

#include "platform/clock.h"
#include "platform/desktop_windows.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/form.h"
#include "platform/shell.h"
#include "store/titles.h"

namespace vantrel {

// The edit window's controls, in the order of their design.
namespace frmedit {
inline constexpr ControlId Label2{1000, "Label2"};
inline constexpr ControlId Label4{1001, "Label4"};
inline constexpr ControlId Label6{1002, "Label6"};
inline constexpr ControlId Listtitles{1003, "Listtitles"};
inline constexpr ControlId Image2{1004, "Image2"};
inline constexpr ControlId Button1{1005, "Button1"};
inline constexpr ControlId Label5{1006, "Label5"};
inline constexpr ControlId Listapps{1007, "Listapps"};
inline constexpr ControlId Cmdany{1008, "Cmdany"};
inline constexpr ControlId BitBtn4{1009, "BitBtn4"};
inline constexpr ControlId Cmddel{1010, "Cmddel"};
inline constexpr ControlId BitBtn2{1011, "BitBtn2"};
inline constexpr ControlId BitBtn1{1012, "BitBtn1"};
inline constexpr ControlId Button2{1013, "Button2"};
}  // namespace frmedit

class TFrmedadd;
class TFrmwebpage;

class TFrmedit : public Form {
 public:
  // Created once at start-up, hidden; loads the titles or writes the
  // first-run defaults.
  TFrmedit(Files& files, Clock& clock, Dialogs& dialogs, DesktopWindows& desktop, Shell& shell);
  // Loads the titles unless they are loaded: for a window to be shown. Raises
  // SettingsBusyError, and stays unloaded, while the file cannot be read.
  void Load();
  // The dialogs are created after this window, in the start-up order.
  void SetDialogs(TFrmedadd* addFile, TFrmwebpage* webPage);

  void ListtitlesClick();
  void CmdanyClick();   // "Add Program or File"
  void BitBtn4Click();  // "Add Webpage"
  void CmddelClick();   // "Remove From List"
  void ListappsOpen();  // a double click or Alt+Enter on an entry: its options
  void Button1Click();  // "Change Title Names"
  void Button2Click();  // "Remember Window Places"
  void BitBtn2Click();  // "Help"
  void BitBtn1Click();  // "Ok"

  TitleData& Titles() { return titles_; }
  // Runs after each save that reached the file.
  std::function<void()> onSaved;

 private:
  // The controls, in the order of their design.
  void DesignTitles();
  void DesignEntries();
  void DesignButtons();

  Files& files_;
  Clock& clock_;
  Dialogs& dialogs_;
  DesktopWindows& desktop_;
  Shell& shell_;
  TitleData titles_;
  bool loaded_ = false;
  TFrmedadd* addFile_ = nullptr;
  TFrmwebpage* webPage_ = nullptr;
};

}  // namespace vantrel

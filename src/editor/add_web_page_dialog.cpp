#include "editor/add_web_page_dialog.h"

#include "editor/trim_controls.h"
#include "platform/messages.h"

namespace vantrel {

bool AddWebCancelled = true;

namespace {

constexpr const char* kNoAddressText =
    "You must enter a webpage address in the box, then click the add button.  Note that you can "
    "paste the webpage directly into the box if you right-click the box, then select paste from "
    "the menu that appears.";

}  // namespace

TFrmwebpage::TFrmwebpage(Dialogs& dialogs, std::string exampleSite)
    : dialogs_(dialogs), exampleSite_(std::move(exampleSite)) {
  className = "TFrmwebpage";
  caption = "Add websites to open";
  clientWidth = 545;
  clientHeight = 201;
  border = BorderStyle::Sizeable;
  position = FormPosition::Designed;
  left = 275;
  top = 240;

  Add(Design(ControlKind::Label, frmwebpage::Label1, {12, 2, 509, 43},
             "Enter or paste a website address in the box below, then click \"Add\". This "
             "will assign a webpage so you can quickly open the webpage address directly "
             "from your system tray icon. (Note: you can right-click the box below to paste "
             "into it). "));
  Add(Design(ControlKind::Label, frmwebpage::Label2, {12, 46, 517, 28},
             "You can also add many webpages to one list if you desire. Just repeat the add "
             "process and you will see your webpages added to the list on the previous "
             "window."));
  // Starts as "http://" once; afterwards it keeps whatever it held when the
  // dialog last closed.
  Control& edit1 = Add(Design(ControlKind::Edit, frmwebpage::Edit1, {32, 83, 441, 22}, "http://"));
  edit1.tabOrder = 0;
  Control& bitBtn1 =
      Add(Design(ControlKind::Button, frmwebpage::BitBtn1, {170, 117, 156, 25}, "Add "));
  bitBtn1.tabOrder = 1;
  bitBtn1.glyph = Glyph::Add;
  bitBtn1.onClick = [this] { BitBtn1Click(); };
  Control& bitBtn2 = Add(
      Design(ControlKind::Button, frmwebpage::BitBtn2, {170, 149, 156, 25}, "Show Me An Example"));
  bitBtn2.tabOrder = 2;
  bitBtn2.glyph = Glyph::Web;
  bitBtn2.onClick = [this] { BitBtn2Click(); };
  Control& bitBtn3 =
      Add(Design(ControlKind::Button, frmwebpage::BitBtn3, {463, 165, 63, 25}, "Return"));
  bitBtn3.tabOrder = 3;
  bitBtn3.onClick = [this] { BitBtn3Click(); };
}

void TFrmwebpage::BitBtn1Click() {
  // The trim serves the test only: the editor takes the box text as typed.
  const std::string_view address = TrimControls((*this)["Edit1"].text);
  if (address.empty() || address == "http://") {
    ShowPlain(dialogs_, kNoAddressText);
    return;
  }
  AddWebCancelled = false;
  Close(kModalOk);
}

void TFrmwebpage::BitBtn2Click() {
  const std::string& site = exampleSite_;
  (*this)["Edit1"].text = site;
  ShowPlain(dialogs_,
            "Simply type in the webpage address into the box. For example, if you wish to open " +
                site +
                "\n\nEnter the address in the box exactly as it is shown above. The easiest way "
                "to paste an address into the box is to right-click the box, then select paste "
                "from the menu that appears.");
}

void TFrmwebpage::BitBtn3Click() { Close(kModalCancel); }

}  // namespace vantrel

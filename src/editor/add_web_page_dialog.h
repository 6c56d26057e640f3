// The web page dialog: takes a typed or pasted web address.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/form.h"

namespace vantrel {

// The web page dialog's controls, in the order of their design.
namespace frmwebpage {
inline constexpr ControlId Label1{1000, "Label1"};
inline constexpr ControlId Label2{1001, "Label2"};
inline constexpr ControlId Edit1{1002, "Edit1"};
inline constexpr ControlId BitBtn1{1003, "BitBtn1"};
inline constexpr ControlId BitBtn2{1004, "BitBtn2"};
inline constexpr ControlId BitBtn3{1005, "BitBtn3"};
}  // namespace frmwebpage

// True while no address has been added; the dialog clears it on a real add.
extern bool AddWebCancelled;

class TFrmwebpage : public Form {
 public:
  // exampleSite: the address that "Show Me An Example" puts in the box.
  TFrmwebpage(Dialogs& dialogs, std::string exampleSite);
  void BitBtn1Click();  // "Add "
  void BitBtn2Click();  // "Show Me An Example"
  void BitBtn3Click();  // "Return"

 private:
  Dialogs& dialogs_;
  std::string exampleSite_;
};

}  // namespace vantrel

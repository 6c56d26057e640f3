// The web page dialog: takes a typed or pasted web address.
#pragma once

#include "platform/form.h"
#include "platform/platform.h"

namespace vantrel {

// True while no address has been added; the dialog clears it on a real add.
extern bool AddWebCancelled;

class TFrmwebpage : public Form {
 public:
  explicit TFrmwebpage(Platform& platform);
  void BitBtn1Click();  // "Add "
  void BitBtn2Click();  // "Show Me An Example"
  void BitBtn3Click();  // "Return"

 private:
  Platform& platform_;
};

}  // namespace vantrel

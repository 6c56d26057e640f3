// The help window: a fixed text, made fresh for every showing.
#pragma once

#include <memory>

#include "platform/dialogs.h"
#include "platform/form.h"

namespace vantrel {

// The help window's controls, in the order of their design.
namespace frmhelp {
inline constexpr ControlId Memo1{1000, "Memo1"};
inline constexpr ControlId BitBtn1{1001, "BitBtn1"};
}  // namespace frmhelp

class TFrmhelp : public Form {
 public:
  TFrmhelp();
};

// Makes a help window owned by `owner` (null: the main window), shows it
// modally and destroys it when the user closes it.
void ShowHelpWindow(Dialogs& dialogs, Form* owner);

}  // namespace vantrel

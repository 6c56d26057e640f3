// The rename dialog: takes a new title name and the title's shortcut key; it
// has no cancel.
#pragma once

#include "platform/form.h"

namespace vantrel {

// The rename dialog's controls, in the order of their design.
namespace frmtitlechg {
inline constexpr ControlId Label1{1000, "Label1"};
inline constexpr ControlId Label2{1001, "Label2"};
inline constexpr ControlId Edit1{1002, "Edit1"};
inline constexpr ControlId Button1{1003, "Button1"};
inline constexpr ControlId Label3{1004, "Label3"};
inline constexpr ControlId HotKey1{1005, "HotKey1"};
}  // namespace frmtitlechg

class TFrmtitlechg : public Form {
 public:
  TFrmtitlechg();
};

}  // namespace vantrel

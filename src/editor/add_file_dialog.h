// The add-file dialog: picks any file with the system's file chooser.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "platform/form.h"

namespace vantrel {

// The add-file dialog's controls, in the order of their design.
namespace frmedadd {
inline constexpr ControlId Label1{1000, "Label1"};
inline constexpr ControlId Edit1{1001, "Edit1"};
inline constexpr ControlId Cmdselect{1002, "Cmdselect"};
inline constexpr ControlId BitBtn2{1003, "BitBtn2"};
}  // namespace frmedadd

// True while nothing has been chosen; the dialog clears it on a real add.
extern bool AddFileCancelled;

class TFrmedadd : public Form {
 public:
  explicit TFrmedadd(Dialogs& dialogs);
  void CmdselectClick();

 private:
  Dialogs& dialogs_;
  std::string lastPath_;  // offered as the starting name at the next use
};

}  // namespace vantrel

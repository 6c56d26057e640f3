// The entry options dialog: arguments, start folder, run as administrator and
// bring a running program to the front, for one entry of the edit window.
#pragma once

#include "platform/form.h"
#include "store/entry_options.h"

namespace vantrel {

// The entry options dialog's controls, in the order of their design.
namespace frmentryopt {
inline constexpr ControlId LabelArgs{1000, "LabelArgs"};
inline constexpr ControlId EditArgs{1001, "EditArgs"};
inline constexpr ControlId LabelFolder{1002, "LabelFolder"};
inline constexpr ControlId EditFolder{1003, "EditFolder"};
inline constexpr ControlId CheckAdmin{1004, "CheckAdmin"};
inline constexpr ControlId CheckFront{1005, "CheckFront"};
inline constexpr ControlId BitBtnOk{1006, "BitBtnOk"};
inline constexpr ControlId BitBtnCancel{1007, "BitBtnCancel"};
}  // namespace frmentryopt

class TFrmentryopt : public Form {
 public:
  TFrmentryopt();
  // What the controls show, and what they hold once the user is done.
  void Show(const EntryOptions& options);
  EntryOptions Options() const;

 private:
  EntryOptions shown_;
};

}  // namespace vantrel

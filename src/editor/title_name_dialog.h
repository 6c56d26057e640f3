// The rename dialog: takes a new title name and the title's shortcut key; it
// has no cancel.
#pragma once

#include <optional>

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
  // The title's key into its box before the showing, as the file gives it.
  void ShowKey(const KeyCombo& key);
  // After the showing: nothing while the box holds the key it was shown with
  // (so a line the program cannot use stays as written), else the key the
  // user chose, by the shortcut rule (AsShortcutKey).
  std::optional<KeyCombo> ChangedKey() const;

 private:
  Control* hotKey1_;  // the key box, kept from the design
  KeyCombo shownKey_;
};

}  // namespace vantrel

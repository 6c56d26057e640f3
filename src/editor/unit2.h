// The add-file dialog: picks any file with the system's file chooser.
#pragma once

#include <string>

#include "platform/form.h"
#include "platform/platform.h"

namespace vantrel {

// True while nothing has been chosen; the dialog clears it on a real add.
extern bool AddFileCancelled;

class TFrmedadd : public Form {
 public:
  explicit TFrmedadd(Platform& platform);
  void CmdselectClick();

 private:
  Platform& platform_;
  std::string lastPath_;  // offered as the starting name at the next use
};

}  // namespace vantrel

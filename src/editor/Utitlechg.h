// The rename dialog: takes a new title name; it has no cancel.
#pragma once

#include "platform/form.h"

namespace vantrel {

class TFrmtitlechg : public Form {
 public:
  TFrmtitlechg();
};

}  // namespace vantrel

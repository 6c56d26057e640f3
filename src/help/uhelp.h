// The help window: a fixed text, made fresh for every showing.
#pragma once

#include <memory>

#include "platform/form.h"
#include "platform/platform.h"

namespace vantrel {

class TFrmhelp : public Form {
 public:
  TFrmhelp();
};

// Makes a help window owned by `owner` (null: the main window), shows it
// modally and destroys it when the user closes it.
void ShowHelpWindow(Platform& platform, Form* owner);

}  // namespace vantrel

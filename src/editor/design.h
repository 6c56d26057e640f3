// Shorthand for the editor's window designs: the fields every control has,
// the rest set on the control that Form::Add hands back.
#pragma once

#include <string>
#include <utility>

#include "platform/form.h"

namespace vantrel {

// Labels, boxes and buttons of the editor's windows use 8-point Arial.
inline Control Design(ControlKind kind, std::string name, Rect rect, std::string caption = {},
                      Font font = ArialFont()) {
  Control c;
  c.kind = kind;
  c.name = std::move(name);
  c.rect = rect;
  c.caption = std::move(caption);
  c.font = std::move(font);
  c.wordWrap = kind == ControlKind::Label;
  return c;
}

}  // namespace vantrel

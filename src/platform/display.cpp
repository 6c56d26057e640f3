#include "platform/display.h"

namespace vantrel {

namespace {
// The designs' text: black on the designs' own backgrounds.
constexpr std::uint32_t kDesignText = 0x000000;
}  // namespace

int ScaleToDpi(int value, int dpi) {
  const long long scaled = static_cast<long long>(value) * dpi;
  const long long half = kDesignDpi / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / kDesignDpi
                                      : (scaled - half) / kDesignDpi);
}

Rect ScaleToDpi(const Rect& rect, int dpi) {
  const int left = ScaleToDpi(rect.left, dpi);
  const int top = ScaleToDpi(rect.top, dpi);
  return {left, top, ScaleToDpi(rect.left + rect.width, dpi) - left,
          ScaleToDpi(rect.top + rect.height, dpi) - top};
}

Font ScaleToDpi(const Font& font, int dpi) { return {font.face, ScaleToDpi(font.height, dpi)}; }

Point CentreIn(const Rect& workArea, int width, int height) {
  auto centre = [](int start, int room, int size) {
    const int at = start + (room - size) / 2;
    return size > room ? start : at;  // too large: its top-left corner stays on the monitor
  };
  return {centre(workArea.left, workArea.width, width),
          centre(workArea.top, workArea.height, height)};
}

Rect KeepInside(const Rect& workArea, Rect window) {
  auto fit = [](int& at, int& size, int start, int room) {
    if (size > room) size = room;
    if (at + size > start + room) at = start + room - size;
    if (at < start) at = start;
  };
  fit(window.left, window.width, workArea.left, workArea.width);
  fit(window.top, window.height, workArea.top, workArea.height);
  return window;
}

Colours FormColours(const Form& form, const SystemColours& system) {
  if (system.highContrast) return {system.face, system.faceText};
  return {form.color, kDesignText};
}

Colours ControlColours(const Form& form, const Control& control, const SystemColours& system) {
  switch (control.kind) {
    case ControlKind::Memo:
      if (system.highContrast) return {system.window, system.windowText};
      return {control.color, kDesignText};
    case ControlKind::Edit:
    case ControlKind::ListBox:
      return {system.window, system.windowText};
    case ControlKind::Button:
      return {system.face, system.faceText};  // drawn as the system draws its buttons
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::CheckBox:  // its text sits on the form, as a label's does
      break;
  }
  return FormColours(form, system);
}

}  // namespace vantrel

#include "platform/display.h"

#include <algorithm>

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

ColourScheme ChooseScheme(const SystemColours& system) {
  if (system.highContrast) return ColourScheme::System;
  return system.darkApps ? ColourScheme::Dark : ColourScheme::Design;
}

int GlyphSide(int buttonHeight, int dpi) {
  return std::max(ScaleToDpi(8, dpi),
                  std::min(ScaleToDpi(16, dpi), buttonHeight - ScaleToDpi(6, dpi)));
}

namespace {

// Whether two spans of one axis share any part.
bool Overlap(int start, int length, int otherStart, int otherLength) {
  return start < otherStart + otherLength && otherStart < start + length;
}

// Per control: its rectangle designed and scaled, how much it grows, how far
// it moves.
struct Fit {
  Rect design;
  Rect scaled;
  Point grown;
  Point moved;
};

// How much a control grows for its text: a label in height, a button in
// height and in width, for its frame and its picture too.
Point Growth(const Control& c, const Rect& r, int dpi, const TextSize& text) {
  const int frame = 2 * ButtonEdge(dpi);
  Point grown;
  if (c.kind == ControlKind::Label) {
    grown.y = std::max(0, text.height - r.height);
  } else if (c.kind == ControlKind::Button) {
    grown.y = std::max(0, text.height + frame - r.height);
    const int picture =
        c.glyph == Glyph::None ? 0 : GlyphSide(r.height + grown.y, dpi) + GlyphGap(dpi);
    grown.x = std::max(0, text.width + frame + picture - r.width);
  }
  return grown;
}

// How far each control moves right and down: by what grew left of or above
// it, and as far as a control whose left or top edge it shares. A design may
// let a label overlap the next one where it shows no text; once the text
// grows into that part, the next one moves clear of it. The moves only grow,
// and only along the design's order, so this ends.
void MoveAlong(std::vector<Fit>& fits) {
  const auto push = [](int moved, int grown, int overlap) {
    return moved + grown + (grown > 0 ? std::max(0, overlap) : 0);
  };
  for (bool again = true; again;) {
    again = false;
    for (Fit& b : fits) {
      const Rect& db = b.design;
      const Rect& sb = b.scaled;
      Point to = b.moved;
      for (const Fit& fa : fits) {
        const Rect& da = fa.design;
        if (da.left < db.left && Overlap(da.top, da.height, db.top, db.height))
          to.x = std::max(to.x,
                          push(fa.moved.x, fa.grown.x, fa.scaled.left + fa.scaled.width - sb.left));
        if (da.top < db.top && Overlap(da.left, da.width, db.left, db.width))
          to.y = std::max(to.y,
                          push(fa.moved.y, fa.grown.y, fa.scaled.top + fa.scaled.height - sb.top));
        if (da.left == db.left) to.x = std::max(to.x, fa.moved.x);
        if (da.top == db.top) to.y = std::max(to.y, fa.moved.y);
      }
      again = again || to.x != b.moved.x || to.y != b.moved.y;
      b.moved = to;
    }
  }
}

}  // namespace

FittedForm FitToText(const Form& form, int dpi, const std::vector<TextSize>& texts) {
  const auto& controls = form.Controls();
  const std::size_t count = controls.size();
  FittedForm fitted{std::vector<Rect>(count), ScaleToDpi(form.clientWidth, dpi),
                    ScaleToDpi(form.clientHeight, dpi)};
  std::vector<Fit> fits(count);
  // The design's narrowest margins, which the window keeps where it grows.
  int marginRight = fitted.clientWidth, marginBottom = fitted.clientHeight;
  for (std::size_t i = 0; i < count; ++i) {
    Fit& f = fits[i];
    f.design = controls[i].rect;
    f.scaled = ScaleToDpi(controls[i].rect, dpi);
    const Rect& r = f.scaled;
    marginRight = std::min(marginRight, fitted.clientWidth - r.left - r.width);
    marginBottom = std::min(marginBottom, fitted.clientHeight - r.top - r.height);
    f.grown = Growth(controls[i], r, dpi, i < texts.size() ? texts[i] : TextSize{});
  }
  MoveAlong(fits);

  int right = 0, bottom = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const Fit& f = fits[i];
    Rect& r = fitted.controls[i];
    r = {f.scaled.left + f.moved.x, f.scaled.top + f.moved.y, f.scaled.width + f.grown.x,
         f.scaled.height + f.grown.y};
    right = std::max(right, r.left + r.width);
    bottom = std::max(bottom, r.top + r.height);
  }
  fitted.clientWidth = std::max(fitted.clientWidth, right + std::max(0, marginRight));
  fitted.clientHeight = std::max(fitted.clientHeight, bottom + std::max(0, marginBottom));
  return fitted;
}

Colours FormColours(const Form& form, const SystemColours& system) {
  switch (ChooseScheme(system)) {
    case ColourScheme::System:
      return {system.face, system.faceText, system.grayText};
    case ColourScheme::Dark:
      return {kDark.surface, kDark.text, kDark.grayText};
    case ColourScheme::Design:
      break;
  }
  return {form.color, kDesignText, system.grayText};
}

Colours ControlColours(const Form& form, const Control& control, const SystemColours& system) {
  const ColourScheme scheme = ChooseScheme(system);
  const Colours boxes = scheme == ColourScheme::Dark
                            ? Colours{kDark.box, kDark.text, kDark.grayText}
                            : Colours{system.window, system.windowText, system.grayText};
  switch (control.kind) {
    case ControlKind::Memo:
      if (scheme == ColourScheme::Design) return {control.color, kDesignText, system.grayText};
      return boxes;
    case ControlKind::Edit:
    case ControlKind::HotKey:
    case ControlKind::ListBox:
      return boxes;  // in the designs too: the system's, so typed text always shows
    case ControlKind::Button:
      if (scheme == ColourScheme::Dark) return {kDark.button, kDark.text, kDark.grayText};
      return {system.face, system.faceText, system.grayText};
    case ControlKind::Label:
    case ControlKind::Image:
    case ControlKind::CheckBox:  // its text sits on the form, as a label's does
      break;
  }
  return FormColours(form, system);
}

}  // namespace vantrel

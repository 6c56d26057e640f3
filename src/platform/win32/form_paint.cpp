// Fonts, colours and owner drawing of a form's window and controls.
#include "platform/win32/form_paint.h"

#include <algorithm>

#include "platform/win32/glyphs.h"
#include "platform/win32/monitors.h"

namespace vantrel::win32 {
namespace {

// The key as the system's hot-key box writes it ("Control + Alt + 7"), Win
// included; modifiers held without a key yet end with " + ".
class HotKeyBoxText {
 public:
  explicit HotKeyBoxText(const KeyCombo& key) {
    if (key.Empty() && key.modifiers == 0) Add("None");
    constexpr struct {
      unsigned bit;
      int key;  // 0: Win, which has no name of its own
    } kModifiers[] = {
        {kKeyControl, VK_CONTROL}, {kKeyShift, VK_SHIFT}, {kKeyAlt, VK_MENU}, {kKeyWin, 0}};
    for (const auto& modifier : kModifiers) {
      if ((key.modifiers & modifier.bit) == 0) continue;
      if (modifier.key != 0)
        AddName(modifier.key);
      else
        Add("Win");
      Add(" + ");
    }
    if (!key.Empty()) AddName(key.key);
  }
  const char* Text() const { return text_; }
  int Length() const { return length_; }

 private:
  void Add(const char* part) {
    while (*part != '\0' && length_ < kRoom - 1) text_[length_++] = *part++;
  }
  void AddName(int key) {
    const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    length_ += GetKeyNameTextA(static_cast<LONG>(scan << 16 | (ExtendedKey(key) ? 1u << 24 : 0u)),
                               text_ + length_, kRoom - length_);
  }

  static constexpr int kRoom = 256;
  char text_[kRoom] = {};
  int length_ = 0;
};

}  // namespace

bool ExtendedKey(int key) {
  return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE ||
         key == VK_DIVIDE;
}

void FormPainter::RefreshColours() { colours_ = CurrentSystemColours(); }

HFONT FormPainter::FontFor(const Font& design) {
  const Font font = ScaleToDpi(design, dpi_);
  auto key = std::make_pair(font.face, font.height);
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.get();
  GdiObject<HFONT> created(CreateFontA(
      font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face.c_str()));
  return fonts_.emplace(key, std::move(created)).first->second.get();
}

HBRUSH FormPainter::BrushFor(COLORREF color) {
  auto found = brushes_.find(color);
  if (found != brushes_.end()) return found->second.get();
  return brushes_.emplace(color, GdiObject<HBRUSH>(CreateSolidBrush(color))).first->second.get();
}

void FormPainter::EraseBackground(HWND window, HDC dc) {
  RECT r;
  GetClientRect(window, &r);
  FillRect(dc, &r, BrushFor(FormColours(form_, colours_).background));
}

HBRUSH FormPainter::ControlColours(HDC dc, const Control& c, bool editMessage) {
  const Colours colours = vantrel::ControlColours(form_, c, colours_);
  SetTextColor(dc, colours.text);
  if (c.kind == ControlKind::Memo || c.kind == ControlKind::Edit ||
      c.kind == ControlKind::ListBox || c.kind == ControlKind::HotKey) {
    SetBkColor(dc, colours.background);
    return BrushFor(colours.background);
  }
  if (editMessage) return nullptr;
  SetBkMode(dc, TRANSPARENT);  // labels sit on the form's own colour
  return BrushFor(colours.background);
}

void FormPainter::DrawItem(const DRAWITEMSTRUCT& item, const Control& c, HICON appIcon) {
  if (c.kind != ControlKind::Image) return DrawButton(item, c, appIcon);
  const RECT& r = item.rcItem;
  FillRect(item.hDC, &r, BrushFor(vantrel::ControlColours(form_, c, colours_).background));
  int side = std::min(r.right - r.left, r.bottom - r.top);
  DrawGlyph(item.hDC, c.glyph == Glyph::None ? Glyph::AppIcon : c.glyph,
            r.left + (r.right - r.left - side) / 2, r.top + (r.bottom - r.top - side) / 2, side,
            appIcon);
}

void FormPainter::DrawButtonFace(HDC dc, RECT& r, const Control& c, bool pushed, bool outlined) {
  const Colours colours = vantrel::ControlColours(form_, c, colours_);
  if (outlined) {
    // The default button wears an outline in its text's colour, as in a dialog.
    FrameRect(dc, &r, BrushFor(colours.text));
    InflateRect(&r, -1, -1);
  }
  if (Scheme() != ColourScheme::Dark) {
    // The system's face is the button pair of the designs and of high contrast.
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    return;
  }
  FillRect(dc, &r, BrushFor(colours.background));
  FrameRect(dc, &r, BrushFor(pushed ? colours.text : kDark.edge));
}

LRESULT FormPainter::CustomDrawButton(const NMCUSTOMDRAW& draw, const Control& c) {
  // A themed button paints the theme's colours, not the scheme's: outside the
  // designs it is drawn here, like the owner-drawn ones, so both take one pair.
  if (Scheme() == ColourScheme::Design) return CDRF_DODEFAULT;
  if (draw.dwDrawStage != CDDS_PREERASE && draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
  HDC dc = draw.hdc;
  RECT r = draw.rc;
  const bool pushed = (draw.uItemState & CDIS_SELECTED) != 0;
  const bool focused = (draw.uItemState & CDIS_FOCUS) != 0;
  const bool disabled = (draw.uItemState & CDIS_DISABLED) != 0;
  const Colours colours = vantrel::ControlColours(form_, c, colours_);
  DrawButtonFace(dc, r, c, pushed, c.isDefault || focused);
  Selection font(dc, FontFor(c.font));
  RECT text = r;
  if (pushed) OffsetRect(&text, 1, 1);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, disabled ? colours.disabledText : colours.text);
  DrawTextA(dc, c.caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (focused) {
    InflateRect(&r, -Scaled(3), -Scaled(3));
    DrawFocusRect(dc, &r);
  }
  return CDRF_SKIPDEFAULT;
}

void FormPainter::DrawButton(const DRAWITEMSTRUCT& item, const Control& c, HICON appIcon) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const Colours colours = vantrel::ControlColours(form_, c, colours_);
  DrawButtonFace(dc, r, c, pushed, c.isDefault || focused);
  const int shift = pushed ? 1 : 0;

  {
    Selection font(dc, FontFor(c.font));
    RECT textSize{0, 0, 0, 0};
    DrawTextA(dc, c.caption.c_str(), -1, &textSize, DT_CALCRECT | DT_SINGLELINE);
    const int height = r.bottom - r.top;
    const int space = r.right - r.left - 2 * ButtonEdge(dpi_);
    const int textWidth = textSize.right - textSize.left;
    int glyphSide = GlyphSide(height, dpi_);
    int gap = GlyphGap(dpi_);
    // The layout makes room for both; where the outline of a focused or default
    // button takes a little of it, the picture gets smaller, and gives way only
    // below its least size.
    if (glyphSide + gap + textWidth > space) glyphSide = space - gap - textWidth;
    if (glyphSide < Scaled(8)) glyphSide = gap = 0;
    const int total = glyphSide + gap + textWidth;
    const int x = static_cast<int>(r.left) +
                  std::max<int>(ButtonEdge(dpi_), (r.right - r.left - total) / 2) + shift;
    if (glyphSide > 0)
      DrawGlyph(dc, c.glyph, x, r.top + (height - glyphSide) / 2 + shift, glyphSide, appIcon);
    RECT text{x + glyphSide + gap, r.top + shift, r.right - ButtonEdge(dpi_) + shift,
              r.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? colours.disabledText : colours.text);
    DrawTextA(dc, c.caption.c_str(), -1, &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  if (focused) {
    RECT focus = r;
    InflateRect(&focus, -Scaled(3), -Scaled(3));
    DrawFocusRect(dc, &focus);
  }
}

bool FormPainter::DrawsHotKey(const Control& c, const KeyCombo& key) const {
  const Colours colours = vantrel::ControlColours(form_, c, colours_);
  return (key.modifiers & kKeyWin) != 0 || colours.text != colours_.windowText ||
         colours.background != colours_.window;
}

void FormPainter::DrawHotKey(HWND box, HDC dc, const Control& c, const KeyCombo& key) {
  const Colours colours = vantrel::ControlColours(form_, c, colours_);
  RECT r;
  GetClientRect(box, &r);
  FillRect(dc, &r, BrushFor(colours.background));
  const HotKeyBoxText text(key);
  // Where the system's box writes it, clear of the frame.
  const int x = GetSystemMetrics(SM_CXBORDER), y = GetSystemMetrics(SM_CYBORDER);
  Selection font(dc, FontFor(c.font));
  SetTextColor(dc, colours.text);
  SetBkColor(dc, colours.background);
  TextOutA(dc, x, y, text.Text(), text.Length());
  SIZE size{};
  GetTextExtentPoint32A(dc, text.Text(), text.Length(), &size);
  if (GetFocus() == box) SetCaretPos(x + size.cx, y);
}

bool FormPainter::DrawHotKeyEdge(HWND box, const Control& c) {
  if (Scheme() != ColourScheme::Dark) return false;
  RECT r, client;
  GetWindowRect(box, &r);
  GetClientRect(box, &client);
  OffsetRect(&r, -r.left, -r.top);
  // The edge is as wide on every side: an outline, then the box's own ground.
  const int edge = (r.right - client.right) / 2;
  HDC dc = GetWindowDC(box);
  FrameRect(dc, &r, BrushFor(kDark.edge));
  for (int i = 1; i < edge; ++i) {
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, BrushFor(vantrel::ControlColours(form_, c, colours_).background));
  }
  ReleaseDC(box, dc);
  return true;
}

}  // namespace vantrel::win32

// The small pictures of the buttons, drawn by the program.
#include "platform/win32/glyphs.h"

#include "platform/win32/handles.h"

namespace vantrel::win32 {
namespace {

// Maps a 16-unit design grid onto the target square.
struct Grid {
  int x;
  int y;
  int size;
  int X(double u) const { return x + static_cast<int>(u * size / 16.0 + 0.5); }
  int Y(double u) const { return y + static_cast<int>(u * size / 16.0 + 0.5); }
  int Len(double u) const {
    int v = static_cast<int>(u * size / 16.0 + 0.5);
    return v < 1 ? 1 : v;
  }
};

void Stroke(HDC dc, const Grid& g, COLORREF color, double width, const POINT* points, int count) {
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, g.Len(width), color));
  Selection selected(dc, pen.get());
  Polyline(dc, points, count);
}

void Disc(HDC dc, const Grid& g, COLORREF fill, COLORREF edge) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(fill));
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, edge));
  Selection brushSelected(dc, brush.get());
  Selection penSelected(dc, pen.get());
  Ellipse(dc, g.X(1), g.Y(1), g.X(15), g.Y(15));
}

void Bar(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  RECT r{left, top, right, bottom};
  GdiObject<HBRUSH> brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.get());
}

void Letter(HDC dc, const Grid& g, const char* text, COLORREF color) {
  GdiObject<HFONT> font(CreateFontA(-g.Len(12), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
  Selection selected(dc, font.get());
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, color);
  RECT r{g.X(0), g.Y(0), g.X(16), g.Y(16)};
  DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

}  // namespace

void DrawGlyph(HDC dc, Glyph glyph, int x, int y, int size, HICON appIcon) {
  const Grid g{x, y, size};
  switch (glyph) {
    case Glyph::None:
      break;
    case Glyph::Ok: {
      const POINT tick[] = {{g.X(2.5), g.Y(8.5)}, {g.X(6.5), g.Y(12.5)}, {g.X(13.5), g.Y(3.5)}};
      Stroke(dc, g, RGB(0, 140, 40), 2.6, tick, 3);
      break;
    }
    case Glyph::Cancel: {
      const POINT a[] = {{g.X(3.5), g.Y(3.5)}, {g.X(12.5), g.Y(12.5)}};
      const POINT b[] = {{g.X(12.5), g.Y(3.5)}, {g.X(3.5), g.Y(12.5)}};
      Stroke(dc, g, RGB(200, 30, 30), 2.6, a, 2);
      Stroke(dc, g, RGB(200, 30, 30), 2.6, b, 2);
      break;
    }
    case Glyph::Add:
      Disc(dc, g, RGB(40, 160, 70), RGB(20, 110, 45));
      Bar(dc, g.X(4), g.Y(7), g.X(12), g.Y(9), RGB(255, 255, 255));
      Bar(dc, g.X(7), g.Y(4), g.X(9), g.Y(12), RGB(255, 255, 255));
      break;
    case Glyph::Remove:
      Disc(dc, g, RGB(210, 50, 40), RGB(150, 25, 20));
      Bar(dc, g.X(4), g.Y(7), g.X(12), g.Y(9), RGB(255, 255, 255));
      break;
    case Glyph::Help:
      Disc(dc, g, RGB(30, 100, 200), RGB(15, 60, 140));
      Letter(dc, g, "?", RGB(255, 255, 255));
      break;
    case Glyph::Web: {
      Disc(dc, g, RGB(40, 120, 210), RGB(20, 70, 150));
      GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(220, 240, 255)));
      Selection penSelected(dc, pen.get());
      Selection brushSelected(dc, GetStockObject(NULL_BRUSH));
      Ellipse(dc, g.X(5), g.Y(1), g.X(11), g.Y(15));  // a meridian
      MoveToEx(dc, g.X(1.5), g.Y(8), nullptr);       // the equator
      LineTo(dc, g.X(14.5), g.Y(8));
      MoveToEx(dc, g.X(8), g.Y(1.5), nullptr);
      LineTo(dc, g.X(8), g.Y(14.5));
      break;
    }
    case Glyph::AppIcon:
      if (appIcon != nullptr) DrawIconEx(dc, x, y, appIcon, size, size, 0, nullptr, DI_NORMAL);
      break;
  }
}

}  // namespace vantrel::win32

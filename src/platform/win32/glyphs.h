// The small pictures of buttons and image controls, drawn with GDI into any
// square, so they stay sharp at every size.
#pragma once

#include "platform/form.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// Draws the glyph centred in the square of side `size` at (x, y). appIcon is
// what Glyph::AppIcon shows.
void DrawGlyph(HDC dc, Glyph glyph, int x, int y, int size, HICON appIcon);

}  // namespace vantrel::win32

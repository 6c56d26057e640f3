#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/display.h"

namespace vantrel {
namespace {

TEST(Display, LengthsFollowTheMonitorAndStayAsDesignedAt96) {
  for (int v : {-11, -1, 0, 1, 5, 16, 427, 1023}) EXPECT_EQ(ScaleToDpi(v, 96), v);
  EXPECT_EQ(ScaleToDpi(11, 144), 17);    // 16.5 rounds up
  EXPECT_EQ(ScaleToDpi(-11, 144), -17);  // a font's pixel height keeps its sign
  EXPECT_EQ(ScaleToDpi(5, 120), 6);
  EXPECT_EQ(ScaleToDpi(427, 192), 854);
  // Neighbours in the design touch after scaling, whatever the rounding.
  const Rect a{3, 7, 5, 9};
  const Rect b{8, 16, 5, 9};
  for (int dpi : {96, 120, 144, 168, 192}) {
    const Rect sa = ScaleToDpi(a, dpi), sb = ScaleToDpi(b, dpi);
    EXPECT_EQ(sa.left + sa.width, sb.left) << dpi;
    EXPECT_EQ(sa.top + sa.height, sb.top) << dpi;
  }
  const Rect r = ScaleToDpi(Rect{16, 224, 529, 17}, 144);
  EXPECT_EQ(r.left, 24);
  EXPECT_EQ(r.top, 336);
  EXPECT_EQ(r.width, 794);
  EXPECT_EQ(r.height, 26);  // its edges 336 and 361.5 round apart
  EXPECT_EQ(ScaleToDpi(Font{"Arial", -11}, 144).height, -17);
}

TEST(Display, WindowsCentreOnTheWorkAreaOfTheirMonitor) {
  const Point p = CentreIn(Rect{0, 0, 1024, 738}, 560, 445);
  EXPECT_EQ(p.x, 232);
  EXPECT_EQ(p.y, 146);
  // A second monitor left of the primary one.
  const Point left = CentreIn(Rect{-1280, 40, 1280, 984}, 400, 200);
  EXPECT_EQ(left.x, -840);
  EXPECT_EQ(left.y, 432);
  // Larger than the work area: its corner stays on the monitor.
  const Point big = CentreIn(Rect{100, 50, 300, 200}, 500, 150);
  EXPECT_EQ(big.x, 100);
  EXPECT_EQ(big.y, 75);
}

TEST(Display, WindowsAreKeptInsideTheWorkAreaAndShrunkOnlyWhenTooLarge) {
  const Rect work{-1280, 40, 1280, 984};
  const auto same = [](const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  };
  EXPECT_TRUE(same(KeepInside(work, {-1000, 100, 400, 300}), {-1000, 100, 400, 300}));
  EXPECT_TRUE(same(KeepInside(work, {-100, 900, 400, 300}), {-400, 724, 400, 300}));
  EXPECT_TRUE(same(KeepInside(work, {-1300, 0, 400, 300}), {-1280, 40, 400, 300}));
  EXPECT_TRUE(same(KeepInside(work, {-500, 100, 1500, 1200}), {-1280, 40, 1280, 984}));
}

TEST(Display, ColoursComeFromTheDesignOrTheSystemNeverMixed) {
  Form form;
  form.color = kFormGrey;
  Control memo = Design(ControlKind::Memo, {1000, "Memo1"}, {});
  memo.color = kFormGrey;
  const Control edit = Design(ControlKind::Edit, {1001, "Edit1"}, {});
  const Control label = Design(ControlKind::Label, {1002, "Label1"}, {});

  // A dark scheme without the high-contrast switch: edit boxes follow the
  // scheme, text and all; the designed grey keeps its black text.
  SystemColours dark{false, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF};
  EXPECT_EQ(ControlColours(form, edit, dark).background, 0x000000u);
  EXPECT_EQ(ControlColours(form, edit, dark).text, 0xFFFFFFu);
  EXPECT_EQ(ControlColours(form, memo, dark).background, kFormGrey);
  EXPECT_EQ(ControlColours(form, memo, dark).text, 0x000000u);
  EXPECT_EQ(ControlColours(form, label, dark).background, kFormGrey);
  EXPECT_EQ(ControlColours(form, label, dark).text, 0x000000u);

  // High contrast on: every window takes the system's colours.
  SystemColours contrast = dark;
  contrast.highContrast = true;
  contrast.face = 0x000080;
  contrast.faceText = 0x00FFFF;
  EXPECT_EQ(FormColours(form, contrast).background, 0x000080u);
  EXPECT_EQ(ControlColours(form, label, contrast).text, 0x00FFFFu);
  EXPECT_EQ(ControlColours(form, memo, contrast).background, 0x000000u);
  EXPECT_EQ(ControlColours(form, memo, contrast).text, 0xFFFFFFu);
}

// WCAG's contrast ratio of two COLORREFs.
double ContrastRatio(std::uint32_t a, std::uint32_t b) {
  auto luminance = [](std::uint32_t c) {
    auto channel = [](std::uint32_t v) {
      const double s = v / 255.0;
      return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) +
           0.0722 * channel((c >> 16) & 0xFF);
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(Display, OneSchemeColoursEveryControlAndHighContrastWinsOverDark) {
  Form form;
  Control memo = Design(ControlKind::Memo, {1000, "Memo1"}, {});
  memo.color = 0xC0FFFF;
  std::vector<Control> controls{memo,
                                Design(ControlKind::Edit, {1001, "Edit1"}, {}),
                                Design(ControlKind::ListBox, {1002, "List1"}, {}),
                                Design(ControlKind::Label, {1003, "Label1"}, {}),
                                Design(ControlKind::Button, {1004, "Button1"}, {}),
                                Design(ControlKind::Button, {1005, "BitBtn1"}, {})};
  controls.back().glyph = Glyph::Add;  // owner-drawn: the same pair as a standard button
  SystemColours system{false, 0x000000, 0xFFFFFF, 0x800000, 0x00FFFF, 0x00FF00};

  EXPECT_EQ(ChooseScheme(system), ColourScheme::Design);
  system.darkApps = true;
  EXPECT_EQ(ChooseScheme(system), ColourScheme::Dark);
  // Dark: every surface from the palette, none from the system or the design.
  EXPECT_EQ(FormColours(form, system).background, kDark.surface);
  for (const Control& c : controls) {
    const Colours colours = ControlColours(form, c, system);
    EXPECT_TRUE(colours.background == kDark.surface || colours.background == kDark.box ||
                colours.background == kDark.button)
        << c.name;
    EXPECT_EQ(colours.text, kDark.text) << c.name;
    EXPECT_EQ(colours.disabledText, kDark.grayText) << c.name;
  }
  EXPECT_EQ(ControlColours(form, controls[4], system).background, kDark.button);
  EXPECT_EQ(ControlColours(form, controls[5], system).background, kDark.button);

  system.highContrast = true;
  EXPECT_EQ(ChooseScheme(system), ColourScheme::System);
  for (const Control& c : controls) {
    const Colours colours = ControlColours(form, c, system);
    const bool boxPair = colours.background == 0x000000 && colours.text == 0xFFFFFF;
    const bool facePair = colours.background == 0x800000 && colours.text == 0x00FFFF;
    EXPECT_TRUE(c.kind == ControlKind::Button ? facePair : boxPair || facePair) << c.name;
    EXPECT_EQ(colours.disabledText, 0x00FF00u) << c.name;
  }
}

TEST(Display, EveryDarkTextReachesFourAndAHalfToOne) {
  for (std::uint32_t background : {kDark.surface, kDark.box, kDark.button}) {
    EXPECT_GE(ContrastRatio(kDark.text, background), 4.5) << std::hex << background;
    EXPECT_GE(ContrastRatio(kDark.grayText, background), 4.5) << std::hex << background;
  }
  EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
}

}  // namespace
}  // namespace vantrel

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vantrel

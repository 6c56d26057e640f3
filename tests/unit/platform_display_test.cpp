#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "editor/edit_window.h"
#include "platform/display.h"
#include "platform/fake/fake_platform.h"
#include "store/settings.h"

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
  controls.push_back(Design(ControlKind::HotKey, {1006, "HotKey1"}, {}));
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

// The edit window's texts by control name, as Wine's fonts measure them; the
// rest show none.
std::vector<TextSize> EditorTexts(const Form& form, const std::map<std::string, TextSize>& sizes) {
  std::vector<TextSize> texts;
  for (const Control& c : form.Controls()) {
    const auto found = sizes.find(c.name);
    texts.push_back(found == sizes.end() ? TextSize{} : found->second);
  }
  return texts;
}

TEST(Display, ControlsGrowToTheirTextAndWhatFollowsMovesWithThem) {
  FakePlatform platform;
  SetUpDataFolder(platform, platform);
  const TFrmedit form(platform, platform.clock, platform, platform.desktop, platform.shell);
  const auto index = [&](const std::string& name) {
    std::size_t i = 0;
    while (form.Controls()[i].name != name) ++i;
    return i;
  };
  const auto same = [](const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  };

  // Where every text fits, the design scaled, and at 96 DPI the design itself.
  const FittedForm at96 = FitToText(form, 96,
                                    EditorTexts(form, {{"Label2", {537, 24}},
                                                       {"Label4", {523, 24}},
                                                       {"Label6", {377, 24}},
                                                       {"Button1", {99, 12}},
                                                       {"Cmdany", {97, 12}},
                                                       {"Cmddel", {90, 12}}}));
  EXPECT_EQ(at96.clientWidth, 554);
  EXPECT_EQ(at96.clientHeight, 420);
  for (std::size_t i = 0; i < form.Controls().size(); ++i)
    EXPECT_TRUE(same(at96.controls[i], form.Controls()[i].rect)) << form.Controls()[i].name;
  const FittedForm scaled = FitToText(form, 144, {});
  EXPECT_EQ(scaled.clientWidth, 831);
  for (std::size_t i = 0; i < form.Controls().size(); ++i)
    EXPECT_TRUE(same(scaled.controls[i], ScaleToDpi(form.Controls()[i].rect, 144)));

  // At 144 DPI the two top labels need a third line each and two buttons more
  // width than 1.5 times the design.
  const FittedForm at144 = FitToText(form, 144,
                                     EditorTexts(form, {{"Label2", {794, 57}},
                                                        {"Label4", {792, 57}},
                                                        {"Label6", {582, 38}},
                                                        {"Button1", {152, 19}},
                                                        {"Cmdany", {150, 19}},
                                                        {"Cmddel", {136, 19}}}));
  const auto at = [&](const std::string& name) { return at144.controls[index(name)]; };
  const auto design = [&](const std::string& name) {
    return ScaleToDpi(form.Controls()[index(name)].rect, 144);
  };
  EXPECT_EQ(at("Label2").height, 57);
  // The second label was designed to overlap the first where it shows no
  // text; it starts below the first's text now.
  EXPECT_EQ(at("Label4").top, at("Label2").top + 57);
  EXPECT_EQ(at("Label4").height, 57);
  const int down = at("Label4").top + 57 - (design("Label4").top + design("Label4").height);
  for (const char* below : {"Label6", "Listtitles", "Image2", "Button1", "Label5", "Listapps",
                            "Cmdany", "Cmddel", "BitBtn2", "BitBtn1"})
    EXPECT_EQ(at(below).top, design(below).top + down) << below;
  EXPECT_EQ(at("Listapps").height, design("Listapps").height);
  // A button is as wide as its edges, picture, gap and caption: 5 + 21 + 6 +
  // 150 + 5; those right of it move along, and the column of Help and Ok stays.
  EXPECT_EQ(at("Cmdany").width, 187);
  EXPECT_EQ(at("Button1").width, 162);
  const int right = 187 - design("Cmdany").width;
  for (const char* beside : {"BitBtn4", "Cmddel", "BitBtn2", "BitBtn1"})
    EXPECT_EQ(at(beside).left, design(beside).left + right) << beside;
  EXPECT_EQ(at("Listapps").left, design("Listapps").left);
  // The window keeps its narrowest margins: wide enough already, and taller
  // by what moved down.
  EXPECT_EQ(at144.clientWidth, 831);
  EXPECT_EQ(at144.clientHeight, 630 + down);
}

}  // namespace
}  // namespace vantrel

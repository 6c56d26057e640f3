#include <gtest/gtest.h>

#include <set>

#include "tray/accelerators.h"

namespace vantrel {
namespace {

using Captions = std::vector<std::string>;

TEST(Accelerators, FirstFreeAllowedCharacterOfEachCaption) {
  Captions c = {"Edit Your List", "Enable Screensaver", "Disable Password", "", "-- 9 lives",
                "Éé!?", "eee"};
  AssignAccelerators(c);
  EXPECT_EQ(c, (Captions{"&Edit Your List", "E&nable Screensaver", "&Disable Password", "",
                         "-- &9 lives", "Éé!?", "eee"}));
}

TEST(Accelerators, KeptMarksWinOverLaterAndUnmarkedItems) {
  // The second item's mark is kept although the first item would want "A".
  Captions c = {"Alpha", "B&ig &A"};
  AssignAccelerators(c);
  EXPECT_EQ(MarkedAccelerator(c[1]), 'I');
  EXPECT_EQ(MarkedAccelerator(c[0]), 'A');

  // A mark that an item above keeps is taken away and replaced.
  Captions d = {"&Same", "&same thing"};
  AssignAccelerators(d);
  EXPECT_EQ(d[0], "&Same");
  EXPECT_EQ(d[1], "s&ame thing");
}

TEST(Accelerators, StableAcrossOpeningsAndFreshForCaptionsSetAgain) {
  Captions menu = {"Work", "Web", "Edit Your List"};
  AssignAccelerators(menu);
  const Captions first = menu;
  AssignAccelerators(menu);
  EXPECT_EQ(menu, first);  // nothing set again: marks kept

  menu[0] = "Edit";  // a title renamed: it gets a fresh mark, others keep theirs
  AssignAccelerators(menu);
  EXPECT_EQ(menu[1], first[1]);
  EXPECT_EQ(menu[2], first[2]);
  EXPECT_EQ(WithoutMarks(menu[0]), "Edit");
  EXPECT_NE(MarkedAccelerator(menu[0]), MarkedAccelerator(menu[2]));
}

TEST(Accelerators, LiteralAmpersandsAndExhaustion) {
  Captions c = {"R&&D", "&&&x"};
  AssignAccelerators(c);
  EXPECT_EQ(c[0], "&R&&D");
  EXPECT_EQ(c[1], "&&&x");  // "&&" is literal, "&x" a mark
  EXPECT_EQ(WithoutMarks(c[1]), "&x");

  Captions many;
  for (int i = 0; i < 40; ++i) many.push_back("same");
  AssignAccelerators(many);
  std::set<char> used;
  for (const auto& caption : many) {
    if (char m = MarkedAccelerator(caption)) {
      EXPECT_TRUE(used.insert(m).second) << caption;
    }
  }
  EXPECT_EQ(used, (std::set<char>{'S', 'A', 'M', 'E'}));
}

}  // namespace
}  // namespace vantrel

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editor/Utitlechg.h"
#include "editor/Uwebpageadd.h"
#include "editor/uedit.h"
#include "editor/unit2.h"
#include "help/uhelp.h"
#include "platform/fake/fake_platform.h"
#include "store/settings.h"

namespace vantrel {
namespace {

struct Windows {
  FakePlatform p;
  std::vector<std::unique_ptr<Form>> all;
  Windows() {
    SetUpDataFolder(p);
    all.push_back(std::make_unique<TFrmedit>(p));
    all.push_back(std::make_unique<TFrmedadd>(p));
    all.push_back(std::make_unique<TFrmwebpage>(p));
    all.push_back(std::make_unique<TFrmtitlechg>());
    all.push_back(std::make_unique<TFrmhelp>());
  }
};

bool SameFont(const Font& a, const Font& b) { return a.face == b.face && a.height == b.height; }

TEST(Designs, ControlsFitTheirWindowsAndTabStopsAreUnique) {
  Windows w;
  const std::vector<std::string> classes = {"TFrmedit", "TFrmedadd", "TFrmwebpage", "TFrmtitlechg",
                                            "TFrmhelp"};
  for (std::size_t i = 0; i < classes.size(); ++i) {
    const Form& form = *w.all[i];
    EXPECT_EQ(form.className, classes[i]);
    EXPECT_EQ(form.color, kFormGrey) << form.className;
    EXPECT_TRUE(SameFont(form.font, SansSerifFont())) << form.className;
    std::set<int> tabs, ids;
    std::set<std::string> names;
    int defaults = 0, cancels = 0;
    for (const Control& c : form.Controls()) {
      const std::string where = form.className + "." + c.name;
      EXPECT_GE(c.rect.left, 0) << where;
      EXPECT_GE(c.rect.top, 0) << where;
      EXPECT_GT(c.rect.width, 0) << where;
      EXPECT_GT(c.rect.height, 0) << where;
      EXPECT_LE(c.rect.left + c.rect.width, form.clientWidth) << where;
      EXPECT_LE(c.rect.top + c.rect.height, form.clientHeight) << where;
      if (c.tabOrder >= 0) {
        EXPECT_TRUE(tabs.insert(c.tabOrder).second) << where;
      }
      EXPECT_TRUE(ids.insert(c.id).second) << where;
      EXPECT_TRUE(names.insert(c.name).second) << where;
      if (c.kind == ControlKind::Label) {
        EXPECT_TRUE(c.wordWrap) << where;
      }
      if (c.kind == ControlKind::Button) {
        EXPECT_TRUE(c.onClick || c.modalResult != kModalNone) << where;
      }
      defaults += c.isDefault;
      cancels += c.isCancel;
    }
    EXPECT_LE(defaults, 1) << form.className;
    EXPECT_LE(cancels, 1) << form.className;
  }
}

TEST(Designs, EditWindowAsDesigned) {
  Windows w;
  Form& f = *w.all[0];
  EXPECT_EQ(f.caption, "Setup your applications to run from the system tray icon ");
  EXPECT_EQ(f.border, BorderStyle::Single);
  EXPECT_TRUE(f.maximizeBox && f.systemMenu && !f.minimizeBox);
  EXPECT_EQ(f.position, FormPosition::ScreenCenter);
  const std::map<std::string, std::pair<std::string, int>> buttons = {
      {"Button1", {"Change Title Names", 3}},
      {"Cmdany", {"Add Program or File", 5}},
      {"BitBtn4", {"Add Webpage", 6}},
      {"Cmddel", {"Remove From List", 7}},
      {"BitBtn2", {"Help", 4}},
      {"BitBtn1", {"Ok", 0}}};
  for (const auto& [name, design] : buttons) {
    EXPECT_EQ(f[name].caption, design.first);
    EXPECT_EQ(f[name].tabOrder, design.second) << name;
    EXPECT_TRUE(SameFont(f[name].font, ArialFont())) << name;
    EXPECT_EQ(f[name].glyph == Glyph::None, name == "Button1") << name;
  }
  EXPECT_TRUE(f["BitBtn1"].isDefault);
  EXPECT_EQ(f["BitBtn1"].modalResult, kModalOk);
  EXPECT_EQ(f["Listapps"].tabOrder, 1);
  EXPECT_EQ(f["Listtitles"].tabOrder, 2);
  EXPECT_TRUE(SameFont(f["Listtitles"].font, TahomaFont()));
  EXPECT_TRUE(SameFont(f["Listapps"].font, TahomaFont()));
  EXPECT_EQ(f["Image2"].kind, ControlKind::Image);
  EXPECT_EQ(f["Image2"].glyph, Glyph::AppIcon);
  for (const Control& c : f.Controls())
    EXPECT_EQ(!c.hint.empty(), c.name == "Listtitles" || c.name == "Button1") << c.name;
  EXPECT_EQ(f["Label6"].caption.substr(0, 17), "Titles:  Type in ");
}

TEST(Designs, DialogsAsDesigned) {
  Windows w;
  Form& add = *w.all[1];
  EXPECT_EQ(add.border, BorderStyle::Sizeable);
  EXPECT_FALSE(add["Edit1"].visible);
  EXPECT_EQ(add["Cmdselect"].caption, "Add ");
  EXPECT_EQ(add["BitBtn2"].caption, "Cancel");
  EXPECT_TRUE(add["BitBtn2"].isCancel);
  EXPECT_EQ(add["BitBtn2"].glyph, Glyph::Cancel);
  EXPECT_NE(add["Cmdselect"].glyph, Glyph::None);

  Form& web = *w.all[2];
  EXPECT_EQ(web.caption, "Add websites to open");
  EXPECT_EQ(web.position, FormPosition::Designed);
  EXPECT_EQ(web.left, 275);
  EXPECT_EQ(web.top, 240);
  EXPECT_EQ(web["BitBtn1"].caption, "Add ");
  EXPECT_EQ(web["BitBtn2"].caption, "Show Me An Example");
  EXPECT_EQ(web["BitBtn3"].caption, "Return");
  EXPECT_EQ(web["Edit1"].tabOrder, 0);
  EXPECT_EQ(web["Label1"].caption.back(), ' ');

  Form& rename = *w.all[3];
  EXPECT_EQ(rename.caption, "Title Name Modification");
  EXPECT_EQ(rename.border, BorderStyle::Single);
  EXPECT_EQ(rename["Edit1"].maxLength, 25);
  EXPECT_EQ(rename["Button1"].caption, "Ok");
  EXPECT_EQ(rename["Button1"].modalResult, kModalOk);

  Form& help = *w.all[4];
  EXPECT_EQ(help.caption, "Help FAQ");
  EXPECT_EQ(help.position, FormPosition::Designed);
  EXPECT_EQ(help.left, 274);
  EXPECT_EQ(help.top, 284);
  EXPECT_EQ(help["Memo1"].tabOrder, 0);
  EXPECT_TRUE(help["Memo1"].vScroll && help["Memo1"].wordWrap && !help["Memo1"].readOnly);
  EXPECT_TRUE(SameFont(help["Memo1"].font, ArialFont(9)));
  EXPECT_TRUE(help["BitBtn1"].isDefault);
  EXPECT_EQ(help["BitBtn1"].glyph, Glyph::Ok);
  EXPECT_TRUE(SameFont(help["BitBtn1"].font, TahomaFont()));
}

}  // namespace
}  // namespace vantrel

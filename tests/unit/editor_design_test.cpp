#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "editor/add_file_dialog.h"
#include "editor/add_web_page_dialog.h"
#include "editor/edit_window.h"
#include "editor/title_name_dialog.h"
#include "help/help_window.h"
#include "platform/fake/fake_platform.h"
#include "store/settings.h"

namespace vantrel {
namespace {

struct Windows {
  FakePlatform p;
  std::vector<std::unique_ptr<Form>> all;
  Windows() {
    SetUpDataFolder(p, p);
    all.push_back(std::make_unique<TFrmedit>(p, p.clock, p, p.desktop, p.shell));
    all.push_back(std::make_unique<TFrmedadd>(p));
    all.push_back(std::make_unique<TFrmwebpage>(p, "http://example.test/"));
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

// Automation finds controls by their ids: a control without one, or with
// another's, is a design error, not a renumbering.
TEST(Designs, EveryControlBringsAnIdOfItsOwn) {
  Form form;
  form.Add(Design(ControlKind::Label, {1000, "Label1"}, {0, 0, 10, 10}));
  EXPECT_THROW(form.Add(Design(ControlKind::Label, {1000, "Label2"}, {0, 0, 10, 10})),
               std::logic_error);
  Control unnamed;
  unnamed.name = "Label3";
  EXPECT_THROW(form.Add(unnamed), std::logic_error);
  EXPECT_EQ(form.Controls().size(), 1u);
}

// The texts and the keys the user relies on: captions, Enter and Escape, the
// hidden path box, the rename limit, the designed positions.
TEST(Designs, CaptionsAndKeysAsDesigned) {
  Windows w;
  Form &edit = *w.all[0], &add = *w.all[1], &web = *w.all[2], &rename = *w.all[3],
       &help = *w.all[4];
  EXPECT_EQ(edit.caption, "Setup your applications to run from the system tray icon ");
  EXPECT_EQ(add.caption, "");
  EXPECT_EQ(web.caption, "Add websites to open");
  EXPECT_EQ(rename.caption, "Title Name Modification");
  EXPECT_EQ(help.caption, "Help FAQ");
  const std::vector<std::pair<Control*, std::string>> buttons = {
      {&edit["Button1"], "Change Title Names"},
      {&edit["Cmdany"], "Add Program or File"},
      {&edit["BitBtn4"], "Add Webpage"},
      {&edit["Cmddel"], "Remove From List"},
      {&edit["BitBtn2"], "Help"},
      {&edit["BitBtn1"], "Ok"},
      {&add["Cmdselect"], "Add "},
      {&add["BitBtn2"], "Cancel"},
      {&web["BitBtn1"], "Add "},
      {&web["BitBtn2"], "Show Me An Example"},
      {&web["BitBtn3"], "Return"},
      {&rename["Button1"], "Ok"},
      {&help["BitBtn1"], "OK"}};
  for (const auto& [button, caption] : buttons) EXPECT_EQ(button->caption, caption);
  for (Form* f : {&edit, &add, &web, &rename}) {
    for (const Control& c : f->Controls()) {
      const bool list = c.kind == ControlKind::ListBox;
      if (c.kind != ControlKind::Image) {
        EXPECT_TRUE(SameFont(c.font, list ? TahomaFont() : ArialFont())) << c.name;
      }
    }
  }

  EXPECT_TRUE(edit["BitBtn1"].isDefault);
  EXPECT_EQ(edit["BitBtn1"].modalResult, kModalOk);
  EXPECT_EQ(edit["Listapps"].tabOrder, 1);  // the entry list has the focus first
  EXPECT_EQ(edit["Image2"].glyph, Glyph::AppIcon);
  EXPECT_TRUE(add["BitBtn2"].isCancel);
  EXPECT_FALSE(add["Edit1"].visible);
  EXPECT_EQ(rename["Edit1"].maxLength, 25);
  EXPECT_EQ(web.position, FormPosition::Designed);
  EXPECT_EQ(std::make_pair(web.left, web.top), std::make_pair(275, 240));
  EXPECT_EQ(help.position, FormPosition::Designed);
  EXPECT_EQ(std::make_pair(help.left, help.top), std::make_pair(274, 284));
  EXPECT_EQ(help["Memo1"].tabOrder, 0);  // Enter in the text makes a new line
  EXPECT_TRUE(help["BitBtn1"].isDefault);
  EXPECT_TRUE(help["Memo1"].vScroll && help["Memo1"].wordWrap && !help["Memo1"].readOnly);
}

}  // namespace
}  // namespace vantrel

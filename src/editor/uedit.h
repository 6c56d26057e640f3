// The edit window: names the titles and adds or removes their entries.
#pragma once

#include "platform/form.h"
#include "platform/platform.h"
#include "store/titles.h"

namespace vantrel {

class TFrmedadd;
class TFrmwebpage;

class TFrmedit : public Form {
 public:
  // Created once at start-up, hidden; loads the titles or writes the
  // first-run defaults.
  explicit TFrmedit(Platform& platform);
  // The dialogs are created after this window, in the start-up order.
  void SetDialogs(TFrmedadd* addFile, TFrmwebpage* webPage);

  void ListtitlesClick();
  void CmdanyClick();   // "Add Program or File"
  void BitBtn4Click();  // "Add Webpage"
  void CmddelClick();   // "Remove From List"
  void Button1Click();  // "Change Title Names"
  void BitBtn2Click();  // "Help"
  void BitBtn1Click();  // "Ok"

  TitleData& Titles() { return titles_; }

 private:
  Platform& platform_;
  TitleData titles_;
  TFrmedadd* addFile_ = nullptr;
  TFrmwebpage* webPage_ = nullptr;
};

}  // namespace vantrel

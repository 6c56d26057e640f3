// The composition root that src/main.cpp puts on the platform: the hidden main
// window and, once each, the windows that the commands use for the rest of the
// run, wired together (the maker's address included).
#pragma once

#include <memory>

#include "platform/platform.h"

namespace vantrel {

class TForm1;
class TFrmedit;
class TFrmedadd;
class TFrmwebpage;
class TFrmscrsel;

class Application {
 public:
  explicit Application(Platform& platform);
  ~Application();

  // Steps 3 and 4 of the program entry: creates the main window (its FormCreate
  // runs to its end) and then the long-lived windows. The caller runs the
  // message loop afterwards.
  void Start();

  TForm1& MainForm() { return *main_; }
  TFrmedit& Editor();
  TFrmedadd& AddFileDialog();
  TFrmwebpage& WebPageDialog();
  TFrmscrsel& ScreensaverDialog();

 private:
  Platform& platform_;
  struct Windows;
  std::unique_ptr<TForm1> main_;
  std::unique_ptr<Windows> windows_;
};

}  // namespace vantrel

// The composition root that src/main.cpp puts on the platform: the hidden main
// window and, once each, the windows that the commands use for the rest of the
// run, each given the capabilities it uses (and the maker's address).
#pragma once

#include <memory>

#include "platform/capabilities.h"

namespace vantrel {

class TForm1;
class TFrmedit;
class TFrmedadd;
class TFrmwebpage;
class TFrmscrsel;

class Application {
 public:
  explicit Application(const Capabilities& capabilities);
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
  const Capabilities system_;
  struct Windows;
  std::unique_ptr<TForm1> main_;
  std::unique_ptr<Windows> windows_;
};

}  // namespace vantrel

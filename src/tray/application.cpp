#include "tray/application.h"

#include "editor/add_file_dialog.h"
#include "editor/add_web_page_dialog.h"
#include "editor/edit_window.h"
#include "screensaver/screensaver_dialog.h"
#include "tray/maker_site.h"
#include "tray/tray_window.h"

namespace vantrel {

struct Application::Windows {
  std::unique_ptr<TFrmedit> editor;
  std::unique_ptr<TFrmedadd> addFile;
  std::unique_ptr<TFrmscrsel> screensaverChoice;
  std::unique_ptr<TFrmwebpage> webPage;
};

Application::Application(const Capabilities& capabilities) : system_(capabilities) {}

Application::~Application() { system_.tray.SetEvents(nullptr); }

void Application::Start() {
  const Capabilities& s = system_;
  s.tray.CreateMainWindow("TForm1", "Vantrel !");
  main_ = std::make_unique<TForm1>(s.files, s.clock, s.dialogs, s.shell, s.tray, s.shortcutKeys,
                                   s.autostart, s.screenSaver, s.desktop);
  s.tray.SetEvents(main_.get());
  main_->FormCreate();

  windows_ = std::make_unique<Windows>();
  windows_->editor = std::make_unique<TFrmedit>(s.files, s.clock, s.dialogs, s.desktop, s.shell);
  windows_->addFile = std::make_unique<TFrmedadd>(s.dialogs);
  windows_->screensaverChoice = std::make_unique<TFrmscrsel>(s.files, s.clock);
  windows_->webPage = std::make_unique<TFrmwebpage>(s.dialogs, kMakerSite);
  windows_->editor->SetDialogs(windows_->addFile.get(), windows_->webPage.get());
  main_->SetWindows(windows_->editor.get(), windows_->screensaverChoice.get());
  // Once every window is there, so a box about a taken key finds the program whole.
  windows_->editor->onSaved = [main = main_.get()] { main->RegisterHotKeys(); };
  main_->RegisterHotKeys();
}

TFrmedit& Application::Editor() { return *windows_->editor; }
TFrmedadd& Application::AddFileDialog() { return *windows_->addFile; }
TFrmwebpage& Application::WebPageDialog() { return *windows_->webPage; }
TFrmscrsel& Application::ScreensaverDialog() { return *windows_->screensaverChoice; }

}  // namespace vantrel

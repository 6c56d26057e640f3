#include "vantrel_ui.h"

namespace e2e::ui {

std::string DataFolder() { return AppDataFolder() + "\\Vantrel"; }
std::string SettingsPath() { return DataFolder() + "\\vantrel.ini"; }

std::string ExpectedRunData(const Context& ctx) {
  if (ctx.programPath.find(' ') == std::string::npos) return ctx.programPath;
  return "\"" + ctx.programPath + "\"";
}

std::string WithoutMarks(const std::string& caption) {
  std::string out;
  for (char c : caption)
    if (c != '&') out += c;
  return out;
}

void StartReady(Context& ctx, Program& program) {
  Require(ctx, program.Start(ctx), "vantrel.exe started and made its TForm1 window");
  Require(ctx, WaitUntil([&] { return program.TrayIconPresent(); }, 10000),
          "the tray icon is up");
}

void Rename(Context& ctx, Program& program, HWND editor, const std::string& name) {
  Click(ctx, editor, editor::Button1);
  HWND dialog = WaitWindow(ctx, program, "TFrmtitlechg", "the rename dialog");
  SetText(Control(ctx, dialog, titlechg::Edit1), name);
  Click(ctx, dialog, titlechg::Button1);
  Require(ctx, WaitForWindowGone(dialog, 5000), "Ok closes the rename dialog");
}

void AddFile(Context& ctx, Program& program, HWND editor, const std::string& path) {
  Click(ctx, editor, editor::Cmdany);
  HWND dialog = WaitWindow(ctx, program, "TFrmedadd", "the add-file dialog");
  Click(ctx, dialog, addfile::Cmdselect);
  HWND chooser = program.WaitForWindow("#32770", 10000);
  Require(ctx, chooser != nullptr, "\"Add \" opens the file chooser");
  HWND name = nullptr;
  Require(ctx, WaitUntil([&] { return (name = GetDlgItem(chooser, kChooserNameBox)); }, 5000),
          "the chooser's name box");
  SetText(name, path);
  Require(ctx, PressBoxButton(chooser, IDOK), "the chooser's Open pressed");
  Require(ctx, WaitForWindowGone(chooser, 5000), "the chooser closes");
  Expect(ctx, WaitForWindowGone(dialog, 5000), "a chosen file closes the dialog");
}

HWND OpenWebDialog(Context& ctx, Program& program, HWND editor) {
  Click(ctx, editor, editor::BitBtn4);
  return WaitWindow(ctx, program, "TFrmwebpage", "the web page dialog");
}

void AddWeb(Context& ctx, Program& program, HWND editor, const std::string& address) {
  HWND dialog = OpenWebDialog(ctx, program, editor);
  SetText(Control(ctx, dialog, webpage::Edit1), address);
  Click(ctx, dialog, webpage::BitBtn1);
  Require(ctx, WaitForWindowGone(dialog, 5000), "\"Add \" takes " + address);
}

}  // namespace e2e::ui

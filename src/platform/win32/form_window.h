// The generic renderer: one modal showing of a Form as a real window, with its
// modal loop. It knows no window by name; everything comes from the form's
// design and state. Its controls live in FormControls, its looks in
// FormPainter, and what keys and clicks do in the portable dialog behaviour.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/win32/form_controls.h"
#include "platform/win32/form_paint.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

class Session;

class FormWindow {
 public:
  // Errors of the form's handlers are reported through `dialogs`.
  FormWindow(Session& session, Dialogs& dialogs, Form& form);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Shows the form modally and returns its modal result once it has closed.
  int ShowModal(HWND owner);
  HWND Handle() const { return hwnd_; }
  Form& ShownForm() const { return form_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnColoursChanged();
  void OnDpiChanged(WPARAM wParam, LPARAM lParam);
  bool OnMinimize();
  HBRUSH ControlBrush(UINT message, WPARAM wParam, LPARAM lParam);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnCommand(WPARAM wParam);
  void OnNextControl(WPARAM wParam, LPARAM lParam);
  bool OnActivate(WPARAM wParam);
  void OnListLine(WPARAM id, bool open);
  void OnClose();

  void Create(HWND owner);
  // Everything again at a new DPI, the window's top-left corner kept.
  void Relayout();
  void UseScheme();
  bool PreTranslate(const MSG& msg);
  void RunModalLoop();
  void EnableOthers();

  void Run(const std::function<void()>& action);
  void ClickControl(Control& control);
  void Report(const std::string& message);

  Session& session_;
  Dialogs& dialogs_;
  Form& form_;
  FormPainter painter_;
  FormControls controls_;
  const std::function<void(const std::string&)> reporter_;  // Report, for the handlers
  HWND hwnd_ = nullptr;
  Control* lastFocus_ = nullptr;  // the control to give the focus back on activation
  bool destroyed_ = false;
  std::vector<HWND> disabled_;
  HICON bigIcon_ = nullptr;  // shared icons (LR_SHARED): the system owns them
  HICON smallIcon_ = nullptr;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  bool systemPartsDark_ = false;  // title bar and boxes' themes last set dark
};

}  // namespace vantrel::win32

// The generic renderer: one modal showing of a Form as a real window. It knows
// no window by name; everything comes from the form's design and state.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/form.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

class Win32Platform;

class FormWindow {
 public:
  FormWindow(Win32Platform& platform, Form& form);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Shows the form modally and returns its modal result once it has closed.
  int ShowModal(HWND owner);
  HWND Handle() const { return hwnd_; }
  Form& ShownForm() const { return form_; }

 private:
  // What the window shows of one control, to push only what changed.
  struct Shown {
    Control* control = nullptr;
    HWND hwnd = nullptr;
    bool ownerDraw = false;
    std::string caption;
    std::string text;
    std::vector<std::string> items;
    int selected = -1;
    bool visible = true;
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void Create(HWND owner);
  void CreateControl(Control& control);
  void FocusFirstTabStop();
  bool PreTranslate(const MSG& msg);
  void RunModalLoop();

  Shown* ShownOf(HWND hwnd);
  Shown* ShownOf(int id);
  void Pull();
  void Push(bool everything);
  void Run(const std::function<void()>& action);
  void ClickControl(Control& control);
  void RunListClick(Control& control);
  void CloseBox();
  void Report(const std::string& message);

  void DrawOwnerItem(const DRAWITEMSTRUCT& item);
  HFONT FontFor(const Font& font);
  HBRUSH BrushFor(COLORREF color);
  HBRUSH ColorFor(HDC dc, HWND control, bool editMessage);

  Win32Platform& platform_;
  Form& form_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  Control* lastFocus_ = nullptr;  // the control to give the focus back on activation
  bool destroyed_ = false;
  std::vector<Shown> shown_;
  std::vector<HWND> disabled_;
  std::map<std::pair<std::string, int>, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

}  // namespace vantrel::win32

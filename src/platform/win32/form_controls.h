// A form's controls as child windows, and the sync between them and the
// form's model: what the user did is pulled into the model before a handler
// runs, and what the handler changed is pushed to the windows after it.
#pragma once

#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/win32/form_paint.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// Posted to the form by a list box when the line already selected is clicked
// again: the list sends no LBN_SELCHANGE then, but it counts as a click.
inline constexpr UINT kListReclick = WM_APP + 1;
// Posted to the form by itself for a double click on a list line, so that what
// the line opens runs once the list has finished with the mouse.
inline constexpr UINT kListOpen = WM_APP + 2;

class FormControls {
 public:
  FormControls(Form& form, FormPainter& painter) : form_(form), painter_(painter) {}

  // Creates every control as a child of `parent`, in tab order (the dialog
  // manager walks siblings in creation order), each list or box right after
  // the label that names it, where `fitted` puts it, and shows the model's
  // state.
  void Create(HWND parent, HINSTANCE instance, const FittedForm& fitted);
  // Places and fonts again, at the painter's new DPI.
  void Relayout(const FittedForm& fitted);
  void Pull();
  void Push(bool everything);
  // The control of a child window or id; null when it is none of ours.
  Control* Find(HWND hwnd);
  Control* Find(int id);
  HWND WindowOf(const Control& control);
  // Gives the control the focus as the dialog manager would: an edit box's
  // text selected; when the form is first shown, a memo's caret at its start.
  void Focus(const Control& control, bool showing);

 private:
  // What the window shows of one control, to push only what changed.
  struct Shown {
    Control* control = nullptr;
    std::size_t index = 0;  // in the form's controls
    HWND hwnd = nullptr;
    bool ownerDraw = false;
    std::string caption;
    std::string text;
    std::vector<std::string> items;
    int selected = -1;
    KeyCombo hotKey;
    bool winKey = false;  // the hot-key box's key holds Win, which the box cannot
    bool checked = false;
    bool visible = true;
    bool enabled = true;
  };

  void CreateControl(Control& control, std::size_t index, const Rect& at, HWND parent,
                     HINSTANCE instance, HWND tooltip);
  Shown* ShownOf(const Control& control);
  Shown* ShownOf(HWND hwnd);
  static LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK HotKeyBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // What a hot-key box shows: its key, with Win where it holds one.
  static KeyCombo BoxKey(const Shown& shown);
  // WM_PAINT and WM_PRINTCLIENT of a hot-key box the painter draws; false
  // leaves it to the box.
  bool PaintHotKey(Shown& shown, UINT message, WPARAM wParam);

  // The window properties of a subclassed box: its own procedure, and these controls.
  static constexpr const char* kOldProcProp = "VantrelOldProc";
  static constexpr const char* kControlsProp = "VantrelControls";

  Form& form_;
  FormPainter& painter_;
  std::vector<Shown> shown_;
  HWND tooltip_ = nullptr;  // owned by the form's window
};

}  // namespace vantrel::win32

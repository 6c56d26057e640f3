// A window described as data: its design (controls with kind, name, rectangle,
// caption, font, tab order) and its live state, plus the handlers that the
// program attaches. A renderer (Win32 or in-memory) shows it; the logic only
// ever touches this model.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/key_combo.h"

namespace vantrel {

// HotKey: the system's hot-key box, which takes a key combination as it is pressed.
enum class ControlKind { Label, Button, Edit, Memo, ListBox, Image, CheckBox, HotKey };

// Small pictures of our own, drawn by the renderer.
enum class Glyph { None, Ok, Cancel, Add, Remove, Help, Web, AppIcon };

enum class BorderStyle { Sizeable, Single, None };
enum class FormPosition { ScreenCenter, Designed };

// Modal results, as the buttons hand them over.
inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

// The grey most windows share: red, green and blue 232 (a Windows COLORREF).
inline constexpr std::uint32_t kFormGrey = 15263976;

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct Point {
  int x = 0;
  int y = 0;
};

struct Font {
  std::string face = "MS Sans Serif";
  int height = -11;  // pixels, negative: character height (8 pt at 96 dpi)
};

inline Font ArialFont(int points = 8) { return {"Arial", -(points * 96 + 36) / 72}; }
inline Font TahomaFont(int points = 8) { return {"Tahoma", -(points * 96 + 36) / 72}; }
inline Font SansSerifFont(int points = 8) { return {"MS Sans Serif", -(points * 96 + 36) / 72}; }

// A control's name and its window id, both fixed in its window's header, so
// that automation and the end-to-end tests find the control by a name. The ids
// are the order of adding plus 1000 as the windows were first laid out; a new
// control takes a new number and never renumbers the others.
struct ControlId {
  int id;
  const char* name;
  constexpr operator int() const { return id; }
};

struct Control {
  // Design.
  std::string name;
  ControlKind kind = ControlKind::Label;
  int id = 0;  // unique within its form
  Rect rect;
  std::string caption;  // labels, buttons and check boxes; initial text of edits and memos
  Font font;
  int tabOrder = -1;             // -1: not a tab stop
  bool isDefault = false;        // answers Enter
  bool isCancel = false;         // answers Escape
  int modalResult = kModalNone;  // closes the form after its click
  std::string hint;
  bool visible = true;
  bool enabled = true;  // takes clicks and the focus
  bool wordWrap = false;
  int maxLength = 0;  // edits: 0 means no limit
  bool vScroll = false;
  bool readOnly = false;
  std::uint32_t color = kFormGrey;  // background of memos
  Glyph glyph = Glyph::None;
  int itemHeight = 0;  // list boxes; 0 means the font's

  // Live state.
  std::string text;                // edits and memos
  std::vector<std::string> items;  // list boxes
  int selected = -1;               // list boxes: selected line, -1 none
  KeyCombo hotKey;                 // hot-key boxes
  bool checked = false;            // check boxes

  // Handlers: a button's click, a list box's click or keyboard selection change.
  std::function<void()> onClick;
  // List boxes: a double click on a line, or Alt+Enter (the "properties" key)
  // while a line is selected.
  std::function<void()> onOpen;
};

// Shorthand for a design's control: the fields every control has; the rest are
// set on the control that Form::Add hands back. Labels wrap unless told not to.
Control Design(ControlKind kind, ControlId id, Rect rect, std::string_view caption,
               const Font& font);
Control Design(ControlKind kind, ControlId id, Rect rect, std::string_view caption = {});

// The text with every bare LF made CR LF, the line end that memos show.
std::string WithCrLf(const std::string& text);

class Form {
 public:
  Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  // Design.
  std::string className;  // window class, e.g. "TFrmedit"
  std::string caption;
  int clientWidth = 0;
  int clientHeight = 0;
  BorderStyle border = BorderStyle::Sizeable;
  bool systemMenu = true;
  bool minimizeBox = true;
  bool maximizeBox = true;
  FormPosition position = FormPosition::ScreenCenter;
  int left = 0;  // screen position when designed
  int top = 0;
  std::uint32_t color = kFormGrey;
  Font font = SansSerifFont();
  bool appIcon = true;
  // A window the user works in, rather than a dialog on top of one: it gets a
  // button on the taskbar.
  bool taskbarButton = false;

  // Runs when the user closes the window by its close box, before it closes.
  std::function<void()> onCloseBox;

  // Adds a control, which must bring an id of its own. References stay valid.
  // A label added just before a list or box names it for screen readers.
  Control& Add(Control control);
  Control& operator[](const std::string& name);
  const Control& operator[](const std::string& name) const;
  Control* Find(const std::string& name);
  Control* FindById(int id);
  std::deque<Control>& Controls() { return controls_; }
  const std::deque<Control>& Controls() const { return controls_; }

  // Asks the renderer to end the modal showing with this result.
  void Close(int result = kModalCancel);
  bool CloseRequested() const { return closeRequested_; }
  int ModalResult() const { return modalResult_; }
  // The renderer's bookkeeping around one showing.
  void BeginShowing();
  void EndShowing();
  bool Showing() const { return showing_; }

  // What a click on a control does, handler errors reported through `report`:
  // its handler, then its modal result (which closes the form even when the
  // handler failed).
  void Click(Control& control, const std::function<void(const std::string&)>& report);

 private:
  std::deque<Control> controls_;
  bool closeRequested_ = false;
  bool showing_ = false;
  int modalResult_ = kModalNone;
};

}  // namespace vantrel

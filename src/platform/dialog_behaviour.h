// How a shown form answers its keys, its close box and clicks on its list
// lines: the one model that the real renderer and the test fake both follow,
// so a test of a window's keys tells the truth about the program.
#pragma once

#include <functional>
#include <string>

#include "platform/form.h"

namespace vantrel {

using Reporter = std::function<void(const std::string&)>;

enum class DialogKey { Enter, Escape };

// Whether the focused control takes the key for itself: a multi-line box keeps
// Enter for a new line. Escape always belongs to the window.
bool KeepsKey(const Control* focused, DialogKey key);

// The button that the key clicks, or null when it clicks none. Escape: the
// visible cancel button. Enter: the focused button itself, else the visible
// default button.
Control* KeyTarget(Form& form, DialogKey key, const Control* focused);

// The control that has the focus when the form is shown: the first visible tab
// stop in tab order; null when there is none.
Control* FirstFocus(Form& form);

// Where the focus goes when the form is active again after a message box or
// dialog: back to the control that had it, while that is shown; null leaves
// the focus where the system put it.
Control* FocusAfterBox(Control* hadFocus);

// A click on a list line, the selected line included: a click on the line
// already selected runs the list's handler again.
void ClickLine(Control& list, const Reporter& report);

// A double click on a list line, or Alt+Enter in the list: the list's open
// handler, when a line is selected.
void OpenLine(Control& list, const Reporter& report);
// Whether Alt+Enter with this control focused opens its selected line.
bool OpensLine(const Control* focused);

// The close box: the form's handler, then the form closes with Cancel (also
// when the handler failed).
void CloseByBox(Form& form, const Reporter& report);

}  // namespace vantrel

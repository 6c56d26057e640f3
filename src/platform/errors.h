// Errors that end an operation, and the top-level report that shows them.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace vantrel {

class Dialogs;

// An error that the operation meeting it does not catch; its text is shown by
// the top-level error report.
class VantrelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The report's text: the error's text, with "." added when its last character
// sorts after ".".
std::string ErrorReportText(const std::string& message);

// The top-level error report: a stop-icon box captioned "Vantrel".
void ReportError(Dialogs& dialogs, const std::string& message);

// Runs one handler; an error it raises is reported and the program goes on.
void RunReported(const std::function<void()>& handler,
                 const std::function<void(const std::string&)>& report);
void RunGuarded(Dialogs& dialogs, const std::function<void()>& handler);

}  // namespace vantrel

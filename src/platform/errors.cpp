#include "platform/errors.h"

#include "platform/dialogs.h"

namespace vantrel {

std::string ErrorReportText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void ReportError(Dialogs& dialogs, const std::string& message) {
  dialogs.ShowErrorBox(ErrorReportText(message));
}

void RunReported(const std::function<void()>& handler,
                 const std::function<void(const std::string&)>& report) {
  try {
    handler();
  } catch (const std::exception& e) {
    report(e.what());
  }
}

void RunGuarded(Dialogs& dialogs, const std::function<void()>& handler) {
  RunReported(handler, [&dialogs](const std::string& text) { ReportError(dialogs, text); });
}

}  // namespace vantrel

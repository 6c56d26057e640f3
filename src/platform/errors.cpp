#include "platform/errors.h"

#include "platform/platform.h"

namespace vantrel {

std::string ErrorReportText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void ReportError(Platform& platform, const std::string& message) {
  platform.ShowErrorBox(ErrorReportText(message));
}

void RunReported(const std::function<void()>& handler,
                 const std::function<void(const std::string&)>& report) {
  try {
    handler();
  } catch (const std::exception& e) {
    report(e.what());
  }
}

void RunGuarded(Platform& platform, const std::function<void()>& handler) {
  RunReported(handler, [&platform](const std::string& text) { ReportError(platform, text); });
}

}  // namespace vantrel

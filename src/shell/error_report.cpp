#include "shell/error_report.h"

#include "base/failure.h"

namespace plyscan::ui {

Text ErrorReportText(TextView message) {
  Text text(message);
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

void ReportCurrentFailure(WindowSystem& windows) noexcept {
  try {
    Text message;
    try {
      throw;
    } catch (const Failure& failure) {
      message = failure.Message();
    } catch (const std::exception& e) {
      message = FromUtf8(e.what());
    } catch (...) {
      message = u"不明なエラー";
    }
    windows.ShowError(ErrorReportText(message));
  } catch (...) {
    // Nothing is left to report with: the program goes on.
  }
}

}  // namespace plyscan::ui

#pragma once
// What window tests read and drive inside the main window that its public
// face keeps to itself: the options in effect, the settings writer, the
// error box and the splitter's rule.
#include <QString>
#include <functional>

#include "app/main_window.h"
#include "core/settings/app_options.h"

namespace sorvi::testing {

class WindowInternals {
 public:
  static const AppOptions& Options(const TFormMain& form) { return form.Options(); }
  static void SetOptions(TFormMain& form, const AppOptions& options) { form.SetOptions(options); }
  static bool WriteSettings(TFormMain& form, const std::function<void(SettingsFile&)>& write) {
    return form.WriteSettings(write);
  }
  static void ShowError(TFormMain& form, const QString& text) { form.ShowError(text); }
  static int AcceptedLeftWidth(const TFormMain& form, int proposed_width) {
    return form.AcceptedLeftWidth(proposed_width);
  }
};

}  // namespace sorvi::testing

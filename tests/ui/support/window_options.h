#pragma once
// Changes the window's options the way the options dialog would.
#include <functional>

#include "app/main_window.h"
#include "core/settings/app_options.h"
#include "support/window_internals.h"

namespace sorvi::testing {

inline void ChangeOptions(TFormMain& form, const std::function<void(AppOptions&)>& change) {
  AppOptions options = WindowInternals::Options(form);
  change(options);
  WindowInternals::SetOptions(form, options);
}

}  // namespace sorvi::testing

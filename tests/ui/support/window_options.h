#pragma once
// Changes the window's options the way the options dialog would.
#include <functional>

#include "app/main_window.h"
#include "core/settings/app_options.h"

namespace sorvi::testing {

inline void ChangeOptions(TFormMain& form, const std::function<void(AppOptions&)>& change) {
  AppOptions options = form.Options();
  change(options);
  form.SetOptions(options);
}

}  // namespace sorvi::testing

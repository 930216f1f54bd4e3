#include "keymacro/key_macro_controller.h"

#include "app/main_window.h"

namespace sorvi {

KeyMacroController::KeyMacroController(TFormMain& form) : QObject(&form), form_(form) {}

void KeyMacroController::IdleMacroStep() {}

}  // namespace sorvi

#include "tabs/tab_controller.h"

#include "app/main_window.h"

namespace sorvi {

TabController::TabController(TFormMain& form) : QObject(&form), form_(form) {}
TabController::~TabController() = default;

void TabController::ToolButtonNavigateClick(QObject*) {}
void TabController::PopupMenuTabPopup() {}
void TabController::IdleSteps() {}

}  // namespace sorvi

#pragma once
// The small images of the navigation bar and of the lock indicator.
#include <QIcon>

namespace sorvi {

enum class ToolbarImage { Option, Back, Forward, Stop, Refresh, NewTab, Overwrite, Close, Print, Menu };

QIcon ToolbarIcon(ToolbarImage image);

// The lock indicator: 0 no target, 1 target taken from a click, 10 waiting,
// 11 target held across a page load.
QIcon LockIcon(int state);

}  // namespace sorvi

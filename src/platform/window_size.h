#pragma once
// Window sizes read back from the settings file.
#include <QSize>

namespace sorvi {

// `size` made no larger than all screens together. A damaged or hand-edited
// settings file may hold any number; a window of millions of pixels each
// way would have the window system and the toolkit reserve gigabytes for
// its image. Positions are left alone: a window may sit on a monitor that
// is not attached today.
QSize WithinDesktop(QSize size);

}  // namespace sorvi

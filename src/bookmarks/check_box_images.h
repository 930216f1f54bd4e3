#pragma once
// `ImageListCheckBox`: image 0 the empty box, image 1 the ticked box.
#include <QPixmap>

namespace sorvi {

QPixmap CheckBoxImage(bool ticked);

}  // namespace sorvi

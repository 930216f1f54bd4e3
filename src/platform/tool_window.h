#pragma once
// The small editing windows that stay on top of the main window without
// blocking it (code and bookmark dialogs).
#include <QPoint>

class QWidget;

namespace sorvi {

// Tool-window frame, kept above the other windows, released when closed.
void MakeStayOnTopToolWindow(QWidget* window);

// Moves the window's frame to `top_left`, lifted so that its bottom stays
// inside the screen's work area.
void PlaceInWorkArea(QWidget* window, QPoint top_left);

}  // namespace sorvi

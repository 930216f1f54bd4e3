#pragma once
// The program's question box: Yes / No / Cancel with Japanese captions,
// placed with its top-left corner at a given screen point.
#include <QMessageBox>
#include <QPoint>
#include <QString>

namespace sorvi {

// Returns QMessageBox::Yes, QMessageBox::No or QMessageBox::Cancel (also
// when the box is closed without a choice). A negative coordinate is left
// to the window system; when both are negative the box is centred.
int AskYesNoCancel(QWidget* parent, const QString& title, const QString& text, QPoint top_left);

// Yes / No, "いいえ" the default and the answer when the box is closed.
// Returns QMessageBox::Yes or QMessageBox::No.
int AskYesNo(QWidget* parent, const QString& title, const QString& text, QPoint top_left);

}  // namespace sorvi

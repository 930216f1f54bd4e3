#pragma once
// The program's question boxes (Yes / No / Cancel, OK / Cancel) with
// Japanese captions, placed with their top-left corner at a given point.
#include <QMessageBox>
#include <QPoint>
#include <QString>

namespace sorvi {

// The program's message box: the application's name as title, OK; modal.
void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text);
// The same with the error icon.
void ShowErrorBox(QWidget* parent, const QString& text);

// Returns QMessageBox::Yes, QMessageBox::No or QMessageBox::Cancel (also
// when the box is closed without a choice). A negative coordinate is left
// to the window system; when both are negative the box is centred.
int AskYesNoCancel(QWidget* parent, const QString& title, const QString& text, QPoint top_left);

// Yes / No; `when_closed` (QMessageBox::No unless told) is the default and
// the answer when the box is closed. Returns QMessageBox::Yes or No.
int AskYesNo(QWidget* parent, const QString& title, const QString& text, QPoint top_left,
             int when_closed = QMessageBox::No);

// Returns QMessageBox::Ok, or QMessageBox::Cancel (also when the box is
// closed without a choice); placed as AskYesNoCancel.
int AskOkCancel(QWidget* parent, const QString& title, const QString& text, QPoint top_left);

// Where the program's questions stand: the window's centre minus (100, 50),
// the halves rounded toward zero.
QPoint QuestionPlace(const QWidget* window);

}  // namespace sorvi

#pragma once
// The desktop's default text editor, for the editor setting "Notepad": the
// application registered for text/plain, started from its desktop entry so
// that the program can wait for it like any other editor.
#include <QString>
#include <QStringList>

namespace sorvi {

// True for the setting that means "the default editor": empty, "Notepad"
// or "notepad.exe", in any case and with or without a directory.
bool IsDefaultEditorSetting(const QString& editor);

// The program and arguments of a desktop entry's Exec value for `file`:
// quoting and escapes undone, %f %F %u %U replaced by the file (as a path,
// or a file URL for %u %U), other field codes dropped. When the entry takes
// no file code the file is added at the end. Empty when the value is empty
// or malformed (an unterminated quote).
QStringList DesktopExecCommand(const QString& exec, const QString& file);

// The command of the application `xdg-mime` names for text/plain, looked
// up in the XDG application directories. When there is none, the desktop's
// opener ("xdg-open", else "gio open") with the file; such a command returns
// at once, which the external editor handles as a hand-over. Empty when not
// even an opener is installed.
QStringList DefaultTextEditorCommand(const QString& file);

}  // namespace sorvi

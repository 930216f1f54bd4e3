#include "platform/default_text_editor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>

namespace sorvi {
namespace {

QString QueryDefaultDesktopId() {
  const QString xdg_mime = QStandardPaths::findExecutable("xdg-mime");
  if (xdg_mime.isEmpty()) return {};
  QProcess query;
  query.start(xdg_mime, {"query", "default", "text/plain"});
  if (!query.waitForFinished(3000)) {
    query.kill();
    query.waitForFinished(1000);
    return {};
  }
  // Several ids may come back separated by ";"; the first one is the default.
  return QString::fromUtf8(query.readAllStandardOutput()).trimmed().section(';', 0, 0).trimmed();
}

QStringList ApplicationDirs() {
  QStringList dirs;
  QString home = qEnvironmentVariable("XDG_DATA_HOME");
  if (home.isEmpty()) home = QDir::homePath() + "/.local/share";
  dirs << home;
  QString data = qEnvironmentVariable("XDG_DATA_DIRS");
  if (data.isEmpty()) data = "/usr/local/share:/usr/share";
  dirs << data.split(':', Qt::SkipEmptyParts);
  for (QString& dir : dirs) dir += "/applications/";
  return dirs;
}

// The file of a desktop id: "a-b.desktop" may also live at "a/b.desktop".
QString FindDesktopFile(const QString& id) {
  for (const QString& dir : ApplicationDirs()) {
    QString candidate = id;
    for (;;) {
      if (QFileInfo::exists(dir + candidate)) return dir + candidate;
      const int dash = candidate.indexOf('-');
      if (dash < 0) break;
      candidate[dash] = '/';
    }
  }
  return {};
}

QString ExecOfDesktopFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  QTextStream in(&file);
  bool in_entry = false;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.startsWith('[')) {
      in_entry = line == "[Desktop Entry]";
    } else if (in_entry && line.startsWith("Exec")) {
      const int eq = line.indexOf('=');
      if (eq > 0 && line.left(eq).trimmed() == "Exec") return line.mid(eq + 1).trimmed();
    }
  }
  return {};
}

// The general string escapes of desktop entry values.
QString UnescapeValue(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const QChar next = value[++i];
    if (next == 's')
      out += ' ';
    else if (next == 'n')
      out += '\n';
    else if (next == 't')
      out += '\t';
    else if (next == 'r')
      out += '\r';
    else if (next == '\\')
      out += '\\';
    else
      out += QString('\\') + next;  // a quoting escape, undone below
  }
  return out;
}

}  // namespace

bool IsDefaultEditorSetting(const QString& editor) {
  const QString trimmed = editor.trimmed();
  QString base = trimmed.mid(qMax(trimmed.lastIndexOf('/'), trimmed.lastIndexOf('\\')) + 1);
  base = base.toLower();
  return base.isEmpty() || base == "notepad" || base == "notepad.exe";
}

QStringList DesktopExecCommand(const QString& exec, const QString& file) {
  const QString value = UnescapeValue(exec);
  QStringList args;
  QString current;
  bool have_arg = false, quoted = false, took_file = false;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (quoted) {
      if (c == '\\' && i + 1 < value.size()) {
        current += value[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        current += c;
      }
      continue;
    }
    if (c == '"') {
      quoted = have_arg = true;
    } else if (c == ' ' || c == '\t') {
      if (have_arg) args << current;
      current.clear();
      have_arg = false;
    } else if (c == '%' && i + 1 < value.size()) {
      const QChar code = value[++i];
      if (code == '%') {
        current += '%';
        have_arg = true;
      } else if (code == 'f' || code == 'F') {
        current += file;
        have_arg = took_file = true;
      } else if (code == 'u' || code == 'U') {
        current += QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
        have_arg = took_file = true;
      }
      // %i %c %k and the deprecated codes stand for nothing here.
    } else {
      current += c;
      have_arg = true;
    }
  }
  if (quoted) return {};
  if (have_arg) args << current;
  if (args.isEmpty()) return {};
  if (!took_file) args << file;
  return args;
}

QStringList DefaultTextEditorCommand(const QString& file) {
  const QString id = QueryDefaultDesktopId();
  if (!id.isEmpty()) {
    const QString desktop = FindDesktopFile(id);
    if (!desktop.isEmpty()) {
      const QStringList command = DesktopExecCommand(ExecOfDesktopFile(desktop), file);
      if (!command.isEmpty()) return command;
    }
  }
  if (const QString opener = QStandardPaths::findExecutable("xdg-open"); !opener.isEmpty()) return {opener, file};
  if (const QString gio = QStandardPaths::findExecutable("gio"); !gio.isEmpty()) return {gio, "open", file};
  return {};
}

}  // namespace sorvi

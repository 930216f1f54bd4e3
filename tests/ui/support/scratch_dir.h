#pragma once
// A scratch program directory for one test: data files are written into it
// as Shift-JIS bytes and read back as bytes. It is removed only when the
// test program ends: the web engine goes on writing its profile into it for
// a while after the profile has been let go, and has stopped by then.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace sorvi::testing {

class ScratchDir {
 public:
  ScratchDir();
  QString Path() const { return dir_.path() + "/"; }
  QString File(const QString& name) const { return Path() + name; }
  void Write(const QString& name, const QByteArray& bytes) const;
  // UTF-8 text converted to code page 932, lines joined with CRLF.
  void WriteSjisLines(const QString& name, const QStringList& lines) const;
  QByteArray Read(const QString& name) const;
  bool Exists(const QString& name) const;
  // Value of a key in Sorvi.ini, as the program reads it (UTF-8 for Qt).
  QString Ini(const char* section, const char* key) const;

 private:
  QTemporaryDir dir_;
};

QByteArray Sjis(const QString& text);

}  // namespace sorvi::testing

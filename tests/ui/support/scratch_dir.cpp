#include "support/scratch_dir.h"

#include <QFile>
#include <QStringList>

#include "core/settings/settings_file.h"
#include "platform/cp932.h"

namespace sorvi::testing {

QByteArray Sjis(const QString& text) { return QByteArray::fromStdString(QStringToSjis(text)); }

void ScratchDir::Write(const QString& name, const QByteArray& bytes) const {
  QFile file(File(name));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(File(name)));
  file.write(bytes);
}

void ScratchDir::WriteSjisLines(const QString& name, const QStringList& lines) const {
  QByteArray bytes;
  for (const QString& line : lines) bytes += Sjis(line) + "\r\n";
  Write(name, bytes);
}

QByteArray ScratchDir::Read(const QString& name) const {
  QFile file(File(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

bool ScratchDir::Exists(const QString& name) const { return QFile::exists(File(name)); }

QString ScratchDir::Ini(const char* section, const char* key) const {
  SettingsFile ini(QFile::encodeName(File("Sorvi.ini")).toStdString());
  return SjisToQString(ini.ReadString(section, key, "<missing>"));
}

}  // namespace sorvi::testing

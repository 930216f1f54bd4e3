#include "support/scratch_dir.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include "core/settings/settings_file.h"
#include "platform/cp932.h"

namespace sorvi::testing {
namespace {

// Every scratch directory of the program lives under this one, removed
// after main() has returned (the application object and the engine gone).
struct ScratchRoot {
  QTemporaryDir dir;
  ScratchRoot() { dir.setAutoRemove(false); }
  ~ScratchRoot() { QDir(dir.path()).removeRecursively(); }
};

QString RootPath() {
  static ScratchRoot root;
  if (!root.dir.isValid()) qFatal("no scratch directory: %s", qPrintable(root.dir.errorString()));
  return root.dir.path();
}

}  // namespace

ScratchDir::ScratchDir() : dir_(RootPath() + "/XXXXXX") {
  if (!dir_.isValid()) qFatal("no scratch directory: %s", qPrintable(dir_.errorString()));
  dir_.setAutoRemove(false);
}

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

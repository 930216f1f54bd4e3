#include "platform/data_directory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "core/files/data_files.h"
#include "core/files/data_location.h"
#include "core/files/file_io.h"
#include "platform/system_error_text.h"

namespace sorvi {
namespace {

const char* const kUserFiles[] = {kCodeListFileName, kBookmarkListFileName, kSettingsFileName};
const char* const kHelpFile = "Sorvi.htm";

QString Path(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }
std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString Join(const QString& dir, const char* name) { return dir + '/' + QString::fromLatin1(name); }

bool HasData(const QString& dir) {
  for (const char* name : kUserFiles) {
    const QString path = Join(dir, name);
    // A save cut short leaves only its copy; that is the user's list too.
    if (QFileInfo::exists(path) || QFileInfo::exists(path + kReplaceSuffix)) return true;
  }
  return false;
}

// Copies through the safe-save helper: a copy cut short never stands as the
// list, and it gets this user's usual permissions, whatever the template's
// are.
bool CopyInto(const QString& from, const QString& to, QStringList* errors) {
  const std::optional<std::string> bytes = ReadWholeFile(Bytes(from));
  int error = 0;
  if (bytes && ReplaceFileContents(Bytes(to), *bytes, &error)) return true;
  const QString reason = bytes ? QString::fromStdString(SystemErrorText(error)) : QString("読み込めません");
  errors->append(QString("%1: %2").arg(to, reason));
  return false;
}

void Seed(const QString& from, const QString& to, QStringList* errors) {
  for (const char* name : kUserFiles) {
    const QString source = Join(from, name);
    const QString target = Join(to, name);
    if (!QFileInfo::exists(source) || QFileInfo::exists(target) || QFileInfo::exists(target + kReplaceSuffix)) continue;
    CopyInto(source, target, errors);
  }
  // The help page belongs to the program: the installed one wins.
  const QString help = Join(from, kHelpFile);
  const QString target = Join(to, kHelpFile);
  const std::optional<std::string> wanted = ReadWholeFile(Bytes(help));
  if (wanted && ReadWholeFile(Bytes(target)) != wanted) CopyInto(help, target, errors);
}

}  // namespace

DataDirectory PrepareDataDirectory(const QString& program_dir, const QString& user_dir) {
  const QString program = QDir::cleanPath(program_dir);
  const QString user = user_dir.isEmpty() ? QString() : QDir::cleanPath(user_dir);
  const QString installed = QDir::cleanPath(program + "/../share/sorvi");
  const QString templates = QFileInfo::exists(Join(installed, kHelpFile)) ? installed : QString();

  DirectoryProbe probe;
  probe.writable = [](const std::string& dir) {
    const QFileInfo info(Path(dir));
    return info.isDir() && info.isWritable();
  };
  probe.has_data = [](const std::string& dir) { return HasData(Path(dir)); };
  probe.make = [](const std::string& dir) { return QDir().mkpath(Path(dir)); };
  const DataLocation at = ChooseDataLocation(Bytes(program), Bytes(templates), Bytes(user), probe);

  DataDirectory result;
  result.dir = Path(at.dir) + '/';
  QStringList errors;
  if (!at.seed_from.empty()) Seed(Path(at.seed_from), Path(at.dir), &errors);
  if (at.place == DataPlace::kReadOnly) {
    result.read_only = true;
    result.problem = QString(
                         "データを保存できるフォルダーがありません。\n%1\n%2\n"
                         "どちらにも書き込めないため、%3 のデータを表示しますが、"
                         "銘柄一覧・URL一覧・設定の変更は保存されません。")
                         .arg(program, user.isEmpty() ? QString("(ホームフォルダーなし)") : user, Path(at.dir));
  } else if (!errors.isEmpty()) {
    result.problem = "データフォルダーの準備で次のファイルをコピーできませんでした。\n" + errors.join('\n');
  }
  return result;
}

}  // namespace sorvi

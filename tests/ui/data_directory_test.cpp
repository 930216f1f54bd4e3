// The data directory on real files: an installed copy fills the user's
// directory from its read-only templates without ever replacing a user's
// list, and nowhere to write is said.
#include <QDir>
#include <QFile>
#include <QTest>

#include "platform/data_directory.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"

using sorvi::DataDirectory;
using sorvi::PrepareDataDirectory;
using sorvi::testing::ScratchDir;

namespace {

// prefix/bin for the program, prefix/share/sorvi with read-only templates.
struct InstalledCopy {
  ScratchDir root;
  QString bin = root.File("prefix/bin");
  QString templates = root.File("prefix/share/sorvi");
  QString user = root.File("home/.local/share/Sorvi");

  InstalledCopy() {
    QDir().mkpath(bin);
    QDir().mkpath(templates);
    Template("SV_Code.txt", "[sample]\r\n7203 sample\r\n");
    Template("SV_List.txt", "sample list\r\n");
    Template("Sorvi.htm", "<html>help 1</html>");
  }
  void Template(const QString& name, const QByteArray& bytes) const {
    QFile file(templates + "/" + name);
    file.setPermissions(file.permissions() | QFile::WriteOwner);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  }
};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class DataDirectoryTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void AnInstalledCopyFillsTheUsersDirectoryWithWritableCopies() {
    InstalledCopy copy;
    const DataDirectory data = PrepareDataDirectory(copy.bin, copy.user);
    QCOMPARE(data.dir, copy.user + "/");
    QVERIFY(!data.read_only);
    QCOMPARE(data.problem, QString());
    QCOMPARE(ReadAll(copy.user + "/SV_Code.txt"), QByteArray("[sample]\r\n7203 sample\r\n"));
    QCOMPARE(ReadAll(copy.user + "/SV_List.txt"), QByteArray("sample list\r\n"));
    QCOMPARE(ReadAll(copy.user + "/Sorvi.htm"), QByteArray("<html>help 1</html>"));
    QVERIFY(!QFile::exists(copy.user + "/Sorvi.ini"));  // the program writes its own at close
    // The templates are read-only; the user's copies must not be.
    QVERIFY(QFile::permissions(copy.user + "/SV_Code.txt") & QFile::WriteOwner);
    QVERIFY(QDir(copy.bin).isEmpty());
  }

  void AUsersListIsNeverReplacedButTheHelpPageFollowsTheProgram() {
    InstalledCopy copy;
    PrepareDataDirectory(copy.bin, copy.user);
    QFile::remove(copy.user + "/SV_List.txt");
    {
      QFile code(copy.user + "/SV_Code.txt");
      QVERIFY(code.open(QIODevice::WriteOnly | QIODevice::Truncate));
      code.write("[mine]\r\n");
    }
    // A save cut short left only its copy: that is the list, not a gap.
    {
      QFile leftover(copy.user + "/SV_List.txt.___");
      QVERIFY(leftover.open(QIODevice::WriteOnly));
      leftover.write("my list\r\n");
    }
    copy.Template("Sorvi.htm", "<html>help 2</html>");  // a newer version installed

    PrepareDataDirectory(copy.bin, copy.user);
    QCOMPARE(ReadAll(copy.user + "/SV_Code.txt"), QByteArray("[mine]\r\n"));
    QVERIFY(!QFile::exists(copy.user + "/SV_List.txt"));
    QCOMPARE(ReadAll(copy.user + "/SV_List.txt.___"), QByteArray("my list\r\n"));
    QCOMPARE(ReadAll(copy.user + "/Sorvi.htm"), QByteArray("<html>help 2</html>"));
  }

  void NowhereToWriteShowsTheTemplatesAndSaysChangesWillNotBeSaved() {
    InstalledCopy copy;
    // A file where the home directory should be: nothing can be made there.
    copy.root.Write("home", "not a directory");
    const DataDirectory data = PrepareDataDirectory(copy.bin, copy.user);
    QVERIFY(data.read_only);
    QCOMPARE(data.dir, copy.templates + "/");
    QVERIFY(data.problem.contains("保存されません"));
    QVERIFY(data.problem.contains(copy.user));
    QVERIFY(QDir(copy.bin).isEmpty());
  }
};

QTEST_APPLESS_MAIN(DataDirectoryTest)
#include "data_directory_test.moc"

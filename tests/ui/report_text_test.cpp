// What the user reads of each step of loading or saving a data file.
#include <QTest>
#include <cerrno>

#include "platform/report_text.h"
#include "support/strict_warnings.h"

using sorvi::DataFile;
using sorvi::FileStep;

class ReportTextTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void eachStepInItsOwnWords();
};

void ReportTextTest::eachStepInItsOwnWords() {
  const DataFile settings = DataFile::kSettings, codes = DataFile::kCodeList, urls = DataFile::kBookmarkList;
  const struct {
    DataFile file;
    FileStep step;
    int error;
    const char* path;
    const char* text;
  } rows[] = {
      {settings, FileStep::kDone, 0, "/d/Sorvi.ini", ""},
      {settings, FileStep::kReadFailed, EACCES, "/d/Sorvi.ini",
       "設定ファイル /d/Sorvi.ini を読み込めません。\n既定の設定で動作し、このファイルには書き込みません。"},
      {settings, FileStep::kOverwriteRefused, 0, "/d/Sorvi.ini",
       "/d/Sorvi.ini に書き込めません（読み込めなかったファイルのため上書きしません）"},
      {settings, FileStep::kWriteFailed, EISDIR, "/d/Sorvi.ini",
       "/d/Sorvi.ini に書き込めません（同じ名前のフォルダがあります）"},
      {settings, FileStep::kWriteFailed, 0, "/d/Sorvi.ini", "/d/Sorvi.ini に書き込めません"},
      {codes, FileStep::kReadFailed, EACCES, "/d/SV_Code.txt", "ファイル /d/SV_Code.txt は開けません"},
      {urls, FileStep::kOverwriteRefused, 0, "/d/SV_List.txt",
       "URL一覧を保存できませんでした。\n/d/SV_List.txt は読み込めなかったため、上書きしません。"},
      {codes, FileStep::kWriteFailed, ENOSPC, "/d/SV_Code.txt",
       "銘柄一覧を保存できませんでした。\n/d/"
       "SV_Code.txt\n(ディスクがいっぱいです)\n\n元のファイルはそのまま残っています。"},
      {urls, FileStep::kCopyFailed, ENOSPC, "/d/SV_List.txt.unsaved",
       "URL一覧の変更を /d/SV_List.txt.unsaved に残せませんでした。\n(ディスクがいっぱいです)"},
  };
  for (const auto& row : rows)
    QCOMPARE(sorvi::ReportText({row.file, row.step, row.path, row.error}), QString(row.text));
}

QTEST_APPLESS_MAIN(ReportTextTest)
#include "report_text_test.moc"

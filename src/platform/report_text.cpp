#include "platform/report_text.h"

#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include "platform/confirm_box.h"
#include "platform/system_error_text.h"

namespace sorvi {

namespace {

QString PathText(const FileReport& report) { return QFile::decodeName(QByteArray::fromStdString(report.path)); }

QString ErrorText(int error) { return QString::fromStdString(SystemErrorText(error)); }

QString ListName(DataFile file) { return file == DataFile::kCodeList ? "銘柄一覧" : "URL一覧"; }

QString SettingsText(const FileReport& report) {
  if (report.step == FileStep::kReadFailed) {
    return QString("設定ファイル %1 を読み込めません。\n既定の設定で動作し、このファイルには書き込みません。")
        .arg(PathText(report));
  }
  QString reason;
  if (report.step == FileStep::kOverwriteRefused)
    reason = "読み込めなかったファイルのため上書きしません";
  else if (report.error != 0)
    reason = ErrorText(report.error);
  QString text = PathText(report) + " に書き込めません";
  if (!reason.isEmpty()) text += "（" + reason + "）";
  return text;
}

QString ListText(const FileReport& report) {
  const QString list = ListName(report.file);
  switch (report.step) {
    case FileStep::kDone: return {};
    case FileStep::kReadFailed: return QString("ファイル %1 は開けません").arg(PathText(report));
    case FileStep::kOverwriteRefused:
      return QString("%1を保存できませんでした。\n%2 は読み込めなかったため、上書きしません。")
          .arg(list, PathText(report));
    case FileStep::kWriteFailed:
      return QString("%1を保存できませんでした。\n%2\n(%3)\n\n元のファイルはそのまま残っています。")
          .arg(list, PathText(report), ErrorText(report.error));
    case FileStep::kCopyFailed:
      return QString("%1の変更を %2 に残せませんでした。\n(%3)").arg(list, PathText(report), ErrorText(report.error));
  }
  return {};
}

struct Note {
  QMessageBox::Icon icon;
  QString text;
};

QList<Note> Notes(const FileReport& report) {
  QList<Note> notes;
  if (report.file == DataFile::kCodeList) {
    if (report.unread_bytes > 0) {
      notes.push_back({QMessageBox::Warning,
                       QString("SV_Code.txt の途中に NUL 文字があり、その後ろの %1 バイトは読み込んでいません。\n"
                               "銘柄一覧を保存すると、この部分はファイルから失われます。")
                           .arg(report.unread_bytes)});
    }
    if (report.orphan_lines > 0) {
      // The lines were kept in a group of their own; the file itself is
      // untouched until the next save.
      notes.push_back({QMessageBox::Information, QString("SV_Code.txt の先頭にグループのない銘柄が %1 行ありました。\n"
                                                         "「[未分類]」グループにまとめました。")
                                                     .arg(report.orphan_lines)});
    }
  } else if (report.file == DataFile::kBookmarkList) {
    QStringList lost;
    if (report.unread_bytes > 0)
      lost << QString("途中に NUL 文字があり、その後ろの %1 バイトは読み込んでいません。").arg(report.unread_bytes);
    if (report.unkept_lines > 0)
      lost << QString("ブックマークの形になっていない行が %1 行あり、読み込んでいません。").arg(report.unkept_lines);
    if (!lost.isEmpty()) {
      notes.push_back({QMessageBox::Warning, "SV_List.txt の" + lost.join("\nまた、") +
                                                 "\nURL一覧を保存すると、この部分はファイルから失われます。"});
    }
  }
  return notes;
}

}  // namespace

QString ReportText(const FileReport& report) {
  if (!report.Failed()) return {};
  return report.file == DataFile::kSettings ? SettingsText(report) : ListText(report);
}

void PostReportNotes(QWidget* window, const FileReport& report) {
  for (const Note& note : Notes(report)) {
    // Said before a save writes the list without what was left out.
    QTimer::singleShot(0, window, [window, note] {
      if (note.icon == QMessageBox::Warning)
        QMessageBox::warning(window, "そるび", note.text);
      else
        QMessageBox::information(window, "そるび", note.text);
    });
  }
}

void ShowReport(QWidget* window, const FileReport& report) {
  if (report.Failed()) ShowErrorBox(window, ReportText(report));
  PostReportNotes(window, report);
}

}  // namespace sorvi

#include "platform/web_download.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <chrono>

#include "platform/download_file_name.h"
#include "platform/download_header_probe.h"
#include "platform/web_browser.h"
#include "platform/web_page.h"
#include "platform/web_questions.h"

namespace sorvi::web_download {
namespace {

// How long the save dialog may wait for the server to tell the name again.
constexpr std::chrono::milliseconds kProbeTimeout{3000};

QString ReasonText(QWebEngineDownloadRequest::DownloadInterruptReason reason) {
  using R = QWebEngineDownloadRequest;
  switch (reason) {
    case R::FileAccessDenied: return QStringLiteral("ファイルに書き込めません");
    case R::FileNoSpace: return QStringLiteral("ディスクの空きが足りません");
    case R::FileNameTooLong: return QStringLiteral("ファイル名が長すぎます");
    case R::FileTooLarge: return QStringLiteral("ファイルが大きすぎます");
    case R::FileFailed:
    case R::FileTransientError:
    case R::FileBlocked:
    case R::FileSecurityCheckFailed:
    case R::FileTooShort:
    case R::FileHashMismatch:
    case R::FileVirusInfected: return QStringLiteral("ファイルを保存できません");
    case R::NetworkFailed:
    case R::NetworkTimeout:
    case R::NetworkDisconnected:
    case R::NetworkServerDown:
    case R::NetworkInvalidRequest: return QStringLiteral("ネットワークのエラー");
    case R::ServerUnauthorized:
    case R::ServerForbidden: return QStringLiteral("サーバーに拒否されました");
    case R::ServerCertProblem: return QStringLiteral("サーバー証明書に問題があります");
    case R::UserCanceled: return QStringLiteral("中止しました");
    default: return QStringLiteral("サーバーのエラー");
  }
}

QString FinalPath(const QWebEngineDownloadRequest* download) {
  return QDir(download->downloadDirectory()).filePath(download->downloadFileName());
}

// Follows one accepted download for the browser that started it.
void Follow(QWebEngineDownloadRequest* download, QPointer<WebBrowser> browser) {
  auto report_progress = [download, browser] {
    if (browser && download->state() == QWebEngineDownloadRequest::DownloadInProgress)
      emit browser->DownloadProgress(browser, FinalPath(download), download->receivedBytes(), download->totalBytes());
  };
  QObject::connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, download, report_progress);
  QObject::connect(download, &QWebEngineDownloadRequest::totalBytesChanged, download, report_progress);
  QObject::connect(download, &QWebEngineDownloadRequest::isFinishedChanged, download, [download, browser] {
    if (!download->isFinished()) return;
    const QString path = FinalPath(download);
    const QString name = QFileInfo(path).fileName();
    const bool ok = download->state() == QWebEngineDownloadRequest::DownloadCompleted;
    const QString message =
        ok ? QStringLiteral("ダウンロードが完了しました: %1").arg(QDir::toNativeSeparators(path))
           : QStringLiteral("ダウンロードに失敗しました: %1 (%2)").arg(name, ReasonText(download->interruptReason()));
    if (browser) emit browser->DownloadFinished(browser, path, ok, message);
  });
}

// The desktop's download folder when it exists, else the home folder. The
// file dialog would show a folder that does not exist as a relative path.
QString ProposedFolder() {
  const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
  if (!downloads.isEmpty() && QFileInfo(downloads).isDir()) return QDir(downloads).absolutePath();
  return QDir::homePath();
}

}  // namespace

void HandleRequest(QWebEngineDownloadRequest* download, DownloadHeaderProbe* probe) {
  QPointer<WebBrowser> browser;
  if (auto* page = qobject_cast<WebPage*>(download->page())) browser = page->Browser();

  QPointer<QWebEngineDownloadRequest> guarded(download);
  QString name = download->suggestedFileName().isEmpty() ? download->downloadFileName() : download->suggestedFileName();
  if (!EngineNameIsSound(name)) {
    const QUrl referrer = download->page() ? download->page()->url() : QUrl();
    name = DownloadFileName(probe->ContentDisposition(download->url(), referrer, kProbeTimeout), download->url());
    if (!guarded) return;
  }

  SaveFileQuestion question;
  // The top-level window, not the view, which may go while the dialog is
  // open (the dialog copes with its parent going, but would vanish).
  question.parent = browser ? browser->window() : QApplication::activeWindow();
  if (question.parent && question.parent == browser.data()) question.parent = nullptr;
  question.proposed_path = QDir(ProposedFolder()).filePath(name);
  question.url = download->url();

  const QString chosen = web_questions::AskSaveFile(question);
  if (!guarded) return;  // the engine has gone meanwhile
  if (chosen.isEmpty()) {
    download->cancel();
    if (browser) emit browser->DownloadAsked(browser, false);
    return;
  }
  const QFileInfo target(chosen);
  download->setDownloadDirectory(target.absolutePath());
  download->setDownloadFileName(target.fileName());
  Follow(download, browser);
  download->accept();
  if (browser) emit browser->DownloadAsked(browser, true);
  if (browser) emit browser->DownloadProgress(browser, FinalPath(download), 0, download->totalBytes());
}

}  // namespace sorvi::web_download

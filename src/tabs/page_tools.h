#pragma once
// What the user does to the page itself: find in it, zoom it, the full
// screen a page asks for, and its downloads in the status bar. A tab a
// pop-up got for a file to download stays empty: it is closed, and its
// browser kept until the download has ended.
#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <vector>

#include "tabs/find_bar.h"
#include "tabs/tab_shortcuts.h"

class QTimer;
class QWidget;

namespace sorvi {

class TabStack;

class ActiveTabHost;
class BrowserTab;
class DownloadKeeper;
class FullScreenHost;
class WebBrowser;

class PageTools : public QObject, private TabShortcutHost, private FindBarHost {
  Q_OBJECT
 public:
  // `page_control` is the tab control (the find bar lies over it), `window`
  // the main window (full screen, the shortcuts, kept browsers).
  PageTools(TabStack* page_control, QWidget* window, ActiveTabHost& host, QObject* parent = nullptr);

  // Follows the downloads and full screen of `tab`'s page.
  void Watch(BrowserTab* tab);
  // Closes the tabs left empty by a page that turned into a download.
  void IdleStep();
  // Stops following the tab control, takes the shortcuts and the find bar
  // away and puts a page shown full screen back; before the tabs go.
  void Drop();

  // Ctrl+F: the find bar over the active tab.
  void OpenFindBar() override;
  // Ctrl+plus / minus / 0 and Ctrl+wheel: the active tab's zoom.
  void Zoom(ZoomKey key) override;
  // The page shown full screen, null when none.
  WebBrowser* FullScreenBrowser() const;
  // Browsers of closed tabs whose downloads go on.
  int KeptDownloadBrowsers() const;

 signals:
  // For the status bar, whichever tab the download belongs to.
  void StatusTextChanged(const QString& text);
  void ProgressChanged(int progress, int progress_max);
  // The active tab's zoom: "150%", empty at 100 %.
  void ZoomTextChanged(const QString& text);

 private:
  WebBrowser* ActiveBrowser() const;
  bool HasPage() const override;
  bool OverPage(const QWidget* widget) const override;
  WebBrowser* FindTarget() const override;
  QWidget* ShownPage() const override;
  void OnDownloadAsked(BrowserTab* tab);
  void OnDownloadProgress(BrowserTab* tab, const QString& path, qint64 received, qint64 total);
  void OnDownloadFinished(BrowserTab* tab, const QString& path, bool ok, const QString& message);
  void FollowFullScreen(WebBrowser* browser);
  bool LeaveFullScreen() override;

  TabStack* page_control_;
  QWidget* window_;
  ActiveTabHost& host_;
  FindBar* find_bar_ = nullptr;
  FullScreenHost* full_screen_ = nullptr;
  TabShortcuts* shortcuts_ = nullptr;
  DownloadKeeper* downloads_ = nullptr;
  // Tabs left empty by a page that turned into a download, with where its
  // downloads under way go: closed at the idle moment.
  struct DownloadOnlyTab {
    QPointer<BrowserTab> tab;
    QSet<QString> running;
    QString finished;  // what the last download that ended said
    // Newer engines may never end the navigation that became a download;
    // past this the tab closes all the same.
    QDeadlineTimer busy_until;
  };
  QTimer* wake_ = nullptr;  // brings an idle moment when one is due
  std::vector<DownloadOnlyTab> download_only_tabs_;
};

}  // namespace sorvi

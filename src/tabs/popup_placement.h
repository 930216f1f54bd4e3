#pragma once
// Pages that pages open, and where navigations of pages go. It makes every
// browser of the tabs and answers for them as their owner: a new-window
// request places its pop-up at once, with the name and size the page asked
// for, in a new tab beside its opener or in place of the active tab's
// browser; each announced navigation names its tab and may bring a tab of
// the clicked page's family forward. The decisions are the navigation
// policy's; the strip carries out those that change tabs.
#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <string>

#include "core/settings/app_options.h"
#include "core/tabs/navigation_policy.h"
#include "platform/web_browser_owner.h"

namespace sorvi {

class BrowserTab;

// What the placement needs of the tab strip.
class PopupHost {
 public:
  // The tabs in tab order, as the policy sees them.
  virtual TabsView PolicyView() const = 0;
  virtual BrowserTab* TabAt(int index) const = 0;
  // A tab for `popup` where the policy put it, made the active tab.
  virtual void AddPopupTab(WebBrowser* popup, const NewTabPlacement& place) = 0;
  // A switch with the bookkeeping of the user's, `sender` as the sender.
  virtual void SwitchWithBookkeeping(int index, QObject* sender) = 0;
  // A tab asleep takes `popup` as its browser, the pop-up's navigation
  // instead of its own page.
  virtual void WakeWith(BrowserTab* tab, WebBrowser* popup) = 0;

 protected:
  ~PopupHost() = default;
};

class PopupPlacement : public QObject, public WebBrowserOwner {
  Q_OBJECT
 public:
  // `options` is the window's, read as it is at each use; browsers keep
  // the engine's data in `data_dir`.
  PopupPlacement(PopupHost& host, const AppOptions& options, const QString& data_dir, QObject* parent = nullptr);

  // A browser owned here, unplaced; the engine starts with the first one.
  WebBrowser* CreateBrowser();
  // Deletes every browser made here that is still alive: pop-ups never
  // placed, browsers retired since the last idle moment, browsers kept for
  // their downloads.
  void DeleteBrowsers();

  // ---- the browsers' questions ----
  bool BeforeNavigate2(WebBrowser* sender, const QString& url, bool top_level,
                       const QString& target_frame_name) override;
  // Places the pop-up at once, before the engine loads anything into it.
  WebBrowser* NewWindow2(WebBrowser* sender, const NewWindowRequest& request) override;

  // A left press inside a page of the active tab, whose family it is.
  void PageClicked(int active_family);
  // Retired browsers go, the pop-up burst and an old click end.
  void IdleStep();

  // A family number no tab has had yet (`TabSerial` counts them).
  int NewFamily() { return ++tab_serial_; }

  NavigationPolicy& Policy() { return policy_; }
  const NavigationPolicy& Policy() const { return policy_; }

 private:
  WebBrowser* BrowserById(BrowserId id) const;
  // The sleeping tab a page's window name aims at: of the opener's family,
  // as the engine finds a live one only among pages tied to its opener.
  BrowserTab* SleepingTarget(const WebBrowser* opener, const QString& name) const;
  void Retire(WebBrowser* browser);
  void TakeOverActiveTab(WebBrowser* popup, const Takeover& takeover, WebBrowser* sender);

  PopupHost& host_;
  const AppOptions& options_;
  QString data_dir_;
  NavigationPolicy policy_;
  int tab_serial_ = 0;  // `TabSerial`: the last family given out
  // Every browser made here, by id, for the policy's decisions.
  std::map<BrowserId, QPointer<WebBrowser>> browsers_;
};

}  // namespace sorvi

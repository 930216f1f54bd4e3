#pragma once
// Pages opened one after another, as if the user opened them one by one:
// the next waits until the tab opened before has settled, its page loaded
// and the key macro it waited for played (a load key macro plays only in
// the active tab). A page that never settles is waited for a while only.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <deque>
#include <vector>

#include "tabs/open_request.h"

class QTimer;

namespace sorvi {

class ActiveTabHost;
class BrowserTab;

class OpenQueue : public QObject {
  Q_OBJECT
 public:
  OpenQueue(const ActiveTabHost& host, QObject* parent);

  // Opens the first page now and the rest at later idle moments; requests
  // still waiting from an earlier call are dropped.
  void Start(std::vector<OpenRequest> requests);
  bool Waiting() const { return !pending_.empty(); }
  void IdleStep();

 signals:
  // Open this page now.
  void OpenDue(const sorvi::OpenRequest& request);

 private:
  bool Settled() const;
  void OpenNext();

  const ActiveTabHost& host_;
  std::deque<OpenRequest> pending_;
  QPointer<BrowserTab> last_;
  QElapsedTimer since_;
  QTimer* wake_;
};

}  // namespace sorvi

#include "platform/desktop_notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

namespace sorvi {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// A service that does not answer within this long is taken as none.
constexpr int kAnswerMs = 5000;

QDBusMessage Call(const QString& method) { return QDBusMessage::createMethodCall(kService, kPath, kInterface, method); }

}  // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent) {}

int DesktopNotifier::Notify(const QString& title, const QString& body) {
  const int number = ++next_number_;
  waiting_.push_back({number, title, body});
  if (capabilities_ == Capabilities::kKnown) {
    for (const Waiting& notice : std::exchange(waiting_, {})) Send(notice);
  } else if (capabilities_ == Capabilities::kUnknown) {
    AskCapabilities();
  }
  return number;
}

void DesktopNotifier::AskCapabilities() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    // Told after the caller has its number.
    QTimer::singleShot(0, this, [this] { Fail(std::exchange(waiting_, {})); });
    return;
  }
  if (!subscribed_) {
    subscribed_ = true;
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(OnActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this, SLOT(OnClosed(uint, uint)));
  }
  capabilities_ = Capabilities::kAsking;
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(Call(QStringLiteral("GetCapabilities")), kAnswerMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<QStringList> reply = *call;
    if (reply.isError()) {
      capabilities_ = Capabilities::kUnknown;
      Fail(std::exchange(waiting_, {}));
      return;
    }
    capabilities_ = Capabilities::kKnown;
    actions_ = reply.value().contains(QStringLiteral("actions"));
    markup_ = reply.value().contains(QStringLiteral("body-markup"));
    for (const Waiting& notice : std::exchange(waiting_, {})) Send(notice);
  });
}

void DesktopNotifier::Send(const Waiting& notice) {
  QDBusMessage message = Call(QStringLiteral("Notify"));
  QStringList actions;
  if (actions_) actions << QStringLiteral("default") << QStringLiteral("表示");
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("jp.example.sorvi"));
  message << QStringLiteral("そるび") << uint(0) << QStringLiteral("sorvi") << notice.title
          << (markup_ ? notice.body.toHtmlEscaped() : notice.body) << actions << hints << int(-1);
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message, kAnswerMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, notice](QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
      capabilities_ = Capabilities::kUnknown;
      Fail({notice});
      return;
    }
    shown_.insert(reply.value(), notice.number);
  });
}

void DesktopNotifier::Fail(const std::vector<Waiting>& notices) {
  for (const Waiting& notice : notices) emit Unavailable(notice.number);
}

void DesktopNotifier::OnActionInvoked(uint id, const QString&) {
  const auto it = shown_.constFind(id);
  if (it != shown_.constEnd()) emit Clicked(*it);
}

void DesktopNotifier::OnClosed(uint id, uint) { shown_.remove(id); }

}  // namespace sorvi

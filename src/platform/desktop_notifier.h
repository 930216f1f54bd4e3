#pragma once
// Notifications on the desktop through its notification service
// (org.freedesktop.Notifications on the session bus). Nothing waits on the
// bus: every call is answered later, and a desktop without a bus or
// without the service is reported through Unavailable, for the caller to
// say so its own way.
#include <QHash>
#include <QObject>
#include <QString>
#include <vector>

namespace sorvi {

class DesktopNotifier : public QObject {
  Q_OBJECT
 public:
  explicit DesktopNotifier(QObject* parent = nullptr);

  // Shows `body` under `title` (plain texts). Returns the number the
  // signals below name it by.
  int Notify(const QString& title, const QString& body);

 signals:
  // Notification `number` could not be shown.
  void Unavailable(int number);
  // The user clicked notification `number` (where the service offers
  // actions).
  void Clicked(int number);

 private slots:
  // Signals of the service, connected by name.
  void OnActionInvoked(uint id, const QString& action);
  void OnClosed(uint id, uint reason);

 private:
  struct Waiting {
    int number;
    QString title;
    QString body;
  };
  // What the service can do is asked once, before the first notification
  // and again after a failure (the service may have been replaced).
  void AskCapabilities();
  void Send(const Waiting& notice);
  void Fail(const std::vector<Waiting>& notices);

  enum class Capabilities { kUnknown, kAsking, kKnown };
  Capabilities capabilities_ = Capabilities::kUnknown;
  bool actions_ = false;  // clicks come back
  bool markup_ = false;   // the body is read as markup
  bool subscribed_ = false;
  std::vector<Waiting> waiting_;
  QHash<uint, int> shown_;  // the service's id to our number
  int next_number_ = 0;
};

}  // namespace sorvi

#pragma once
// A small HTTP server for UI tests, in the test's own process and thread on
// 127.0.0.1 with a port the system picks. It serves registered paths, can
// answer with a redirect or after a delay, and records every request with
// its raw bytes so tests can check exactly what a page sent.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QUrl>

class QSslConfiguration;
class QTcpServer;
class QTcpSocket;

namespace sorvi::testing {

class LocalHttpServer : public QObject {
  Q_OBJECT

 public:
  struct Request {
    QByteArray method;
    QByteArray target;  // the request line's target as sent: path?query
    QByteArray path;    // raw, before '?'
    QByteArray query;   // raw, after '?' (empty when none)
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;

    QByteArray DecodedPath() const { return QByteArray::fromPercentEncoding(path); }
    QByteArray DecodedQuery() const { return QByteArray::fromPercentEncoding(query); }
    // First header of that name (case-insensitive), or empty.
    QByteArray Header(const QByteArray& name) const;
  };

  struct Reply {
    int status = 200;
    QByteArray content_type = "text/html; charset=utf-8";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // extra ones, e.g. Set-Cookie
    int delay_ms = 0;                              // answer only after this
    // "user:password": a request without that Basic log-in gets 401 asking
    // for it in `realm`, with `denied_body` as its page.
    QByteArray basic_login;
    QByteArray realm = "Sorvi test";
    QByteArray denied_body = "<html><body>denied</body></html>";
  };

  explicit LocalHttpServer(QObject* parent = nullptr);
  // The same over TLS with the given certificate: Origin() is then
  // "https://127.0.0.1:<port>".
  explicit LocalHttpServer(const QSslConfiguration& tls, QObject* parent = nullptr);
  ~LocalHttpServer() override;

  bool IsListening() const;
  quint16 Port() const;
  // "http://127.0.0.1:<port>"
  QByteArray Origin() const;
  // Origin() + path_and_query, parsed without decoding anything.
  QUrl Url(const QByteArray& path_and_query) const;

  // `path` is matched against the raw request path (without the query).
  void Serve(const QByteArray& path, const QByteArray& body,
             const QByteArray& content_type = "text/html; charset=utf-8");
  void Serve(const QByteArray& path, const Reply& reply);
  void Redirect(const QByteArray& path, const QByteArray& location, int status = 302);

  QList<Request> Requests() const { return requests_; }
  QList<Request> RequestsFor(const QByteArray& path) const;
  int Count(const QByteArray& path) const;
  void ClearRequests();
  // Runs the event loop until `path` has been requested `count` times in
  // all; false on timeout.
  bool WaitForRequest(const QByteArray& path, int count = 1, int timeout_ms = 10000);

 signals:
  void RequestReceived(const QByteArray& path);

 private:
  void OnNewConnection();
  void OnReadyRead(QTcpSocket* socket);
  void Answer(QTcpSocket* socket, const Request& request);

  void Listen();

  QTcpServer* server_;
  bool tls_ = false;
  QHash<QByteArray, Reply> replies_;
  QHash<QTcpSocket*, QByteArray> pending_;
  QList<Request> requests_;
};

}  // namespace sorvi::testing

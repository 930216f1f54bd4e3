#include "support/local_http_server.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QPointer>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace sorvi::testing {
namespace {

QByteArray ReasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 401: return "Unauthorized";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 404: return "Not Found";
    default: return "Status";
  }
}

}  // namespace

QByteArray LocalHttpServer::Request::Header(const QByteArray& name) const {
  for (const auto& header : headers)
    if (header.first.compare(name, Qt::CaseInsensitive) == 0) return header.second;
  return QByteArray();
}

LocalHttpServer::LocalHttpServer(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) { Listen(); }

LocalHttpServer::LocalHttpServer(const QSslConfiguration& tls, QObject* parent) : QObject(parent), tls_(true) {
  auto* server = new QSslServer(this);
  server->setSslConfiguration(tls);
  server_ = server;
  Listen();
}

void LocalHttpServer::Listen() {
  // A TLS connection is pending only once its handshake is done, well after
  // newConnection.
  if (tls_)
    connect(server_, &QTcpServer::pendingConnectionAvailable, this, &LocalHttpServer::OnNewConnection);
  else
    connect(server_, &QTcpServer::newConnection, this, &LocalHttpServer::OnNewConnection);
  server_->listen(QHostAddress::LocalHost, 0);
}

LocalHttpServer::~LocalHttpServer() = default;

bool LocalHttpServer::IsListening() const { return server_->isListening(); }

quint16 LocalHttpServer::Port() const { return server_->serverPort(); }

QByteArray LocalHttpServer::Origin() const {
  return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + QByteArray::number(Port());
}

QUrl LocalHttpServer::Url(const QByteArray& path_and_query) const {
  return QUrl::fromEncoded(Origin() + path_and_query, QUrl::StrictMode);
}

void LocalHttpServer::Serve(const QByteArray& path, const QByteArray& body, const QByteArray& content_type) {
  Reply reply;
  reply.body = body;
  reply.content_type = content_type;
  replies_.insert(path, reply);
}

void LocalHttpServer::Serve(const QByteArray& path, const Reply& reply) { replies_.insert(path, reply); }

void LocalHttpServer::Redirect(const QByteArray& path, const QByteArray& location, int status) {
  Reply reply;
  reply.status = status;
  reply.headers.append(qMakePair(QByteArray("Location"), location));
  replies_.insert(path, reply);
}

QList<LocalHttpServer::Request> LocalHttpServer::RequestsFor(const QByteArray& path) const {
  QList<Request> found;
  for (const Request& request : requests_)
    if (request.path == path) found.append(request);
  return found;
}

int LocalHttpServer::Count(const QByteArray& path) const { return int(RequestsFor(path).size()); }

void LocalHttpServer::ClearRequests() { requests_.clear(); }

bool LocalHttpServer::WaitForRequest(const QByteArray& path, int count, int timeout_ms) {
  QDeadlineTimer deadline(timeout_ms);
  while (Count(path) < count) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(10);
  }
  return true;
}

void LocalHttpServer::OnNewConnection() {
  while (QTcpSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      pending_.remove(socket);
      socket->deleteLater();
    });
  }
}

void LocalHttpServer::OnReadyRead(QTcpSocket* socket) {
  QByteArray& buffer = pending_[socket];
  buffer += socket->readAll();
  const qsizetype header_end = buffer.indexOf("\r\n\r\n");
  if (header_end < 0) return;

  Request request;
  const QList<QByteArray> lines = buffer.left(header_end).split('\n');
  const QList<QByteArray> request_line = lines.value(0).trimmed().split(' ');
  if (request_line.size() < 2) {
    socket->disconnectFromHost();
    return;
  }
  request.method = request_line[0];
  request.target = request_line[1];
  const qsizetype question = request.target.indexOf('?');
  request.path = question < 0 ? request.target : request.target.left(question);
  request.query = question < 0 ? QByteArray() : request.target.mid(question + 1);
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray line = lines[i].trimmed();
    const qsizetype colon = line.indexOf(':');
    if (colon > 0) request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
  }
  const qsizetype body_length = request.Header("Content-Length").toLongLong();
  if (buffer.size() < header_end + 4 + body_length) return;  // wait for the rest of the body
  request.body = buffer.mid(header_end + 4, body_length);
  pending_.remove(socket);

  requests_.append(request);
  emit RequestReceived(request.path);
  const int delay = replies_.value(request.path).delay_ms;
  if (delay > 0) {
    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(delay, this, [this, guarded, request] {
      if (guarded) Answer(guarded, request);
    });
  } else {
    Answer(socket, request);
  }
}

void LocalHttpServer::Answer(QTcpSocket* socket, const Request& request) {
  Reply reply;
  if (replies_.contains(request.path)) {
    reply = replies_.value(request.path);
    if (!reply.basic_login.isEmpty() && request.Header("Authorization") != "Basic " + reply.basic_login.toBase64()) {
      reply.status = 401;
      reply.content_type = "text/html; charset=utf-8";
      reply.body = reply.denied_body;
      reply.headers = {{"WWW-Authenticate", "Basic realm=\"" + reply.realm + "\""}};
    }
  } else {
    reply.status = 404;
    reply.body = "<html><head><title>404</title></head><body>Not found</body></html>";
  }
  QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + ReasonPhrase(reply.status) + "\r\n";
  if (!reply.content_type.isEmpty()) head += "Content-Type: " + reply.content_type + "\r\n";
  for (const auto& header : reply.headers) head += header.first + ": " + header.second + "\r\n";
  head += "Cache-Control: no-store\r\n";
  head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
  head += "Connection: close\r\n\r\n";
  socket->write(head + (request.method == "HEAD" ? QByteArray() : reply.body));
  socket->disconnectFromHost();
}

}  // namespace sorvi::testing

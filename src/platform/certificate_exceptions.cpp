#include "platform/certificate_exceptions.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QWebEngineCertificateError>

#include "platform/web_questions.h"

namespace sorvi::certificate_exceptions {
namespace {

QSet<QString>& AllowedHosts() {
  static QSet<QString> hosts;
  return hosts;
}

// Errors waiting for the question already open about their host.
QHash<QString, QList<QWebEngineCertificateError>>& Waiting() {
  static QHash<QString, QList<QWebEngineCertificateError>> waiting;
  return waiting;
}

}  // namespace

QString ErrorText(int type) {
  using E = QWebEngineCertificateError;
  switch (type) {
    case E::CertificateCommonNameInvalid: return QStringLiteral("証明書の名前がサイトの名前と一致しません。");
    case E::CertificateDateInvalid: return QStringLiteral("証明書の有効期限が切れているか、まだ有効になっていません。");
    case E::CertificateAuthorityInvalid: return QStringLiteral("証明書の発行者が信頼されていません。");
    case E::CertificateRevoked: return QStringLiteral("証明書は失効しています。");
    case E::CertificateWeakSignatureAlgorithm:
    case E::CertificateWeakKey: return QStringLiteral("証明書の暗号が弱すぎます。");
    case E::CertificateNameConstraintViolation:
    case E::CertificateNonUniqueName: return QStringLiteral("証明書の名前が正しくありません。");
    case E::CertificateValidityTooLong: return QStringLiteral("証明書の有効期間が長すぎます。");
    case E::SslObsoleteVersion: return QStringLiteral("サーバーは古い暗号化方式を使っています。");
    default: return QStringLiteral("証明書が正しくありません。");
  }
}

bool IsAllowed(const QString& host) { return AllowedHosts().contains(host.toLower()); }

void Decide(const QWebEngineCertificateError& error, QWidget* dialog_parent) {
  QWebEngineCertificateError pending = error;
  const QString host = error.url().host().toLower();
  if (!error.isOverridable()) {
    pending.rejectCertificate();  // the engine's error page says why
    return;
  }
  if (IsAllowed(host)) {
    pending.acceptCertificate();
    return;
  }
  auto& waiting = Waiting();
  if (waiting.contains(host)) {  // a question about this host is open
    pending.defer();
    waiting[host].append(pending);
    return;
  }
  waiting[host];  // the question is open
  CertificateQuestion question;
  question.parent = dialog_parent;
  question.host = host;
  question.error = ErrorText(error.type());
  const bool go_on = web_questions::AskContinueDespiteCertificate(question);
  if (go_on) AllowedHosts().insert(host);
  QList<QWebEngineCertificateError> answered = waiting.take(host);
  answered.prepend(pending);
  for (QWebEngineCertificateError each : answered) {
    if (go_on)
      each.acceptCertificate();
    else
      each.rejectCertificate();
  }
}

}  // namespace sorvi::certificate_exceptions

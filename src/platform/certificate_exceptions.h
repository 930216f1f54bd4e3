#pragma once
// Internal to WebBrowser: what to do about a bad server certificate. The
// user is asked (Japanese question naming the host and the error, refusing
// by default); a host the user let through stays allowed until the program
// ends. Nothing is written anywhere.
#include <QString>

class QWebEngineCertificateError;
class QWidget;

namespace sorvi::certificate_exceptions {

// Answers `error` now or, while the same host is already being asked
// about, together with that question.
void Decide(const QWebEngineCertificateError& error, QWidget* dialog_parent);

// The Japanese description of an engine certificate error code.
QString ErrorText(int type);

// Whether the user let `host` through during this run.
bool IsAllowed(const QString& host);

}  // namespace sorvi::certificate_exceptions

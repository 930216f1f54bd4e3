#pragma once
// The questions the browser asks the user for the engine: where to save a
// download, a log-in, whether to go on despite a bad certificate. Each has
// a Japanese dialog of its own; a hook set here answers instead (tests, or
// an owner with dialogs of its own). Nothing of the engine shows here.
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace sorvi {

struct SaveFileQuestion {
  QWidget* parent = nullptr;  // the browser's top-level window (may be null)
  QString proposed_path;      // download directory + the server's file name
  QUrl url;                   // where the file comes from
};

struct LoginQuestion {
  QWidget* parent = nullptr;
  QString host;   // the server (or proxy) asking
  QString realm;  // the server's name for the protected area
  bool proxy = false;
};

struct LoginAnswer {
  QString user;
  QString password;
};

struct CertificateQuestion {
  QWidget* parent = nullptr;
  QString host;
  QString error;  // what is wrong with the certificate, in Japanese
};

namespace web_questions {

// The chosen path, or empty to cancel.
using SaveFileHook = std::function<QString(const SaveFileQuestion&)>;
// True with the answer filled in; false to cancel.
using LoginHook = std::function<bool(const LoginQuestion&, LoginAnswer*)>;
// True to go on to the site.
using CertificateHook = std::function<bool(const CertificateQuestion&)>;

// An empty hook puts the program's own dialog back.
void SetSaveFileHook(SaveFileHook hook);
void SetLoginHook(LoginHook hook);
void SetCertificateHook(CertificateHook hook);

// Ask through the hook or the dialog. Each runs a nested event loop.
QString AskSaveFile(const SaveFileQuestion& question);
bool AskLogin(const LoginQuestion& question, LoginAnswer* answer);
bool AskContinueDespiteCertificate(const CertificateQuestion& question);

}  // namespace web_questions
}  // namespace sorvi

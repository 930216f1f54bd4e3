#include "platform/web_questions.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "platform/login_dialog.h"

namespace sorvi::web_questions {
namespace {

SaveFileHook& SaveFileHookSlot() {
  static SaveFileHook hook;
  return hook;
}
LoginHook& LoginHookSlot() {
  static LoginHook hook;
  return hook;
}
CertificateHook& CertificateHookSlot() {
  static CertificateHook hook;
  return hook;
}

}  // namespace

void SetSaveFileHook(SaveFileHook hook) { SaveFileHookSlot() = std::move(hook); }
void SetLoginHook(LoginHook hook) { LoginHookSlot() = std::move(hook); }
void SetCertificateHook(CertificateHook hook) { CertificateHookSlot() = std::move(hook); }

// The dialogs live on the heap behind a QPointer: their parent window may be
// destroyed while they are open, and takes them along.

QString AskSaveFile(const SaveFileQuestion& question) {
  if (SaveFileHookSlot()) return SaveFileHookSlot()(question);
  QPointer<QFileDialog> dialog = new QFileDialog(question.parent, QStringLiteral("名前を付けて保存"));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->selectFile(question.proposed_path);
  const bool accepted = dialog->exec() == QDialog::Accepted;
  if (!dialog) return QString();
  const QString path = accepted && !dialog->selectedFiles().isEmpty() ? dialog->selectedFiles().first() : QString();
  delete dialog;
  return path;
}

bool AskLogin(const LoginQuestion& question, LoginAnswer* answer) {
  if (LoginHookSlot()) return LoginHookSlot()(question, answer);
  QPointer<LoginDialog> dialog = new LoginDialog(question, question.parent);
  const bool accepted = dialog->exec() == QDialog::Accepted;
  if (!dialog) return false;
  if (accepted) *answer = dialog->Answer();
  delete dialog;
  return accepted;
}

bool AskContinueDespiteCertificate(const CertificateQuestion& question) {
  if (CertificateHookSlot()) return CertificateHookSlot()(question);
  QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, QStringLiteral("セキュリティの警告"),
                                              QStringLiteral("%1 のサーバー証明書に問題があります。\n\n%2\n\n"
                                                             "このサイトは本物でない可能性があります。続行しますか？")
                                                  .arg(question.host, question.error),
                                              QMessageBox::NoButton, question.parent);
  QPushButton* go_on = box->addButton(QStringLiteral("続行する"), QMessageBox::AcceptRole);
  QPushButton* stop = box->addButton(QStringLiteral("続行しない"), QMessageBox::RejectRole);
  box->setDefaultButton(stop);
  box->setEscapeButton(stop);
  box->exec();
  if (!box) return false;
  const bool go = box->clickedButton() == go_on;
  delete box;
  return go;
}

}  // namespace sorvi::web_questions

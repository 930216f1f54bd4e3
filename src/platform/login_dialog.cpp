#include "platform/login_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace sorvi {

LoginDialog::LoginDialog(const LoginQuestion& question, QWidget* parent)
    : QDialog(parent), user_(new QLineEdit(this)), password_(new QLineEdit(this)) {
  setWindowTitle(question.proxy ? QStringLiteral("プロキシの認証") : QStringLiteral("認証が必要です"));
  auto* layout = new QVBoxLayout(this);
  const QString who = question.proxy ? QStringLiteral("プロキシ %1").arg(question.host) : question.host;
  QString text = QStringLiteral("%1 にはユーザー名とパスワードが必要です。").arg(who.toHtmlEscaped());
  if (!question.realm.isEmpty()) text += QStringLiteral("<br>領域: %1").arg(question.realm.toHtmlEscaped());
  auto* label = new QLabel(text, this);
  label->setTextFormat(Qt::RichText);
  label->setWordWrap(true);
  layout->addWidget(label);

  auto* form = new QFormLayout;
  password_->setEchoMode(QLineEdit::Password);
  form->addRow(QStringLiteral("ユーザー名(&U):"), user_);
  form->addRow(QStringLiteral("パスワード(&P):"), password_);
  layout->addLayout(form);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("ログイン"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

LoginAnswer LoginDialog::Answer() const { return {user_->text(), password_->text()}; }

}  // namespace sorvi

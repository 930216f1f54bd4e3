#pragma once
// The small log-in box for a server or proxy that asks for a user name and
// a password. Nothing typed here is kept by the program.
#include <QDialog>

#include "platform/web_questions.h"

class QLineEdit;

namespace sorvi {

class LoginDialog : public QDialog {
  Q_OBJECT

 public:
  LoginDialog(const LoginQuestion& question, QWidget* parent = nullptr);
  LoginAnswer Answer() const;

 private:
  QLineEdit* user_;
  QLineEdit* password_;
};

}  // namespace sorvi

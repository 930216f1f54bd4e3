#pragma once
// "インターネット設定": what the program's web pages use of the network —
// the proxy, the languages asked of sites — and the deletion of cookies,
// cache and site data. OK applies the settings at once and keeps them in
// section Internet of Sorvi.ini.
#include <QDialog>
#include <QString>

#include "core/settings/internet_settings.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sorvi {

class TFormInternet : public QDialog {
  Q_OBJECT

 public:
  // `current`: the settings in effect; `ini_path`: where OK writes them.
  TFormInternet(const InternetSettings& current, QString ini_path, QWidget* parent = nullptr);

  // Valid after the dialog was accepted (then already in effect).
  const InternetSettings& Settings() const { return settings_; }

  void ButtonClearClick();
  void ButtonOkClick();

 private:
  void UpdateEnabled();

  QString ini_path_;
  InternetSettings settings_;

  QRadioButton* RadioProxySystem;
  QRadioButton* RadioProxyNone;
  QRadioButton* RadioProxyManual;
  QLineEdit* EditProxy;
  QLineEdit* EditLanguages;
  QPushButton* ButtonClear;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;
};

}  // namespace sorvi

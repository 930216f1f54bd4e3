#pragma once
// "インターネット設定": what the program's web pages use of the network —
// the proxy, the languages asked of sites — and the deletion of cookies,
// cache and site data. OK applies the settings at once and keeps them in
// section Internet of Sorvi.ini.
#include <QDialog>
#include <QString>
#include <functional>

#include "core/files/file_report.h"
#include "core/settings/internet_settings.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace sorvi {

// Keeps what OK confirmed in the settings file, as one change; the report
// says whether that was refused.
using InternetSettingsStore = std::function<FileReport(const InternetSettings&)>;

class TFormInternet : public QDialog {
  Q_OBJECT

 public:
  // `current`: the settings in effect; OK hands the new ones to `store`.
  TFormInternet(const InternetSettings& current, InternetSettingsStore store, QWidget* parent = nullptr);

  // Valid after the dialog was accepted (then already in effect).
  const InternetSettings& Settings() const { return settings_; }

 private:
  void ButtonClearClick();
  void ButtonOkClick();
  void UpdateEnabled();

  InternetSettingsStore store_;
  InternetSettings settings_;

  QRadioButton* proxy_system_radio_;
  QRadioButton* proxy_none_radio_;
  QRadioButton* proxy_manual_radio_;
  QLineEdit* proxy_edit_;
  QLineEdit* languages_edit_;
  QPushButton* clear_button_;
  QPushButton* ok_button_;
  QPushButton* cancel_button_;
};

}  // namespace sorvi

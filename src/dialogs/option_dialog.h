#pragma once
// "動作環境設定": edits the eight option values and whether the last
// run's tabs open at start. OK applies them, writes
// section Option and tells the caller what the open tabs need; CANCEL
// changes nothing.
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "core/files/file_report.h"
#include "core/settings/app_options.h"
#include "core/settings/option_rules.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace sorvi {

// Keeps what OK confirmed in the settings file, as one change; the report
// says whether that was refused.
using OptionStore = std::function<FileReport(const OptionDialogResult&)>;

class TFormOption : public QDialog {
  Q_OBJECT

 public:
  // `options` are the values in effect (not re-read from the file); OK
  // hands the new ones to `store`.
  TFormOption(const AppOptions& options, OptionStore store, QWidget* parent = nullptr);

  // Shows the dialog modally. After OK: the new values (in effect even
  // when writing them was refused, which has been reported) and which open
  // tabs they concern. nullopt after CANCEL, Esc or the close box.
  static std::optional<OptionDialogResult> Run(const AppOptions& options, const OptionStore& store, QWidget* parent);

  // Valid after the dialog was accepted.
  const OptionDialogResult& Result() const { return result_; }

 private:
  void FormCreate();
  void ButtonEditorClick();
  void ButtonOkClick();

  AppOptions before_;
  OptionStore store_;
  OptionDialogResult result_;

  QLineEdit* editor_edit_;
  QPushButton* editor_button_;
  QSpinBox* interval_paste_spin_;
  QSpinBox* interval_default_spin_;
  QCheckBox* link_target_box_;
  QCheckBox* client_box_;
  QCheckBox* silent_box_;
  QCheckBox* focus_lock_box_;
  QCheckBox* auto_save_box_;
  QCheckBox* restore_session_box_;
  QCheckBox* mark_stocks_box_;
  QCheckBox* sleep_tabs_box_;
  QSpinBox* sleep_minutes_spin_;
  QPushButton* ok_button_;
  QPushButton* cancel_button_;
};

}  // namespace sorvi

#include "dialogs/option_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

#include "platform/confirm_box.h"
#include "platform/cp932.h"
#include "platform/report_text.h"

namespace sorvi {
namespace {

// A spin box that names its text field and keeps it from being typed into.
class IntervalBox : public QSpinBox {
 public:
  IntervalBox(QWidget* parent, const char* edit_name) : QSpinBox(parent) {
    lineEdit()->setObjectName(edit_name);
    // Only the arrows (and the arrow keys) change it, always by whole steps.
    lineEdit()->setReadOnly(true);
  }
};

QSpinBox* MakeIntervalBox(QWidget* parent, const char* name, const char* edit_name, int top) {
  auto* box = new IntervalBox(parent, edit_name);
  box->setObjectName(name);
  box->setGeometry(92, top, 56, 20);
  box->setRange(kIntervalMin, kIntervalMax);
  box->setSingleStep(kIntervalStep);
  box->setWrapping(false);
  box->setGroupSeparatorShown(false);
  box->setAlignment(Qt::AlignRight);
  return box;
}

QLabel* MakeRightLabel(QWidget* parent, const QString& text, int left, int top, int width) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(left, top, width, 16);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& text, int left, int top) {
  auto* check = new QCheckBox(text, parent);
  check->setObjectName(name);
  check->move(left, top);
  check->adjustSize();
  return check;
}

}  // namespace

TFormOption::TFormOption(const AppOptions& options, OptionStore store, QWidget* parent)
    : QDialog(parent), before_(options), store_(std::move(store)) {
  setWindowTitle("動作環境設定");
  setObjectName("FormOption");
  setFixedSize(422, 259);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  auto* editor_label = new QLabel("テキストエディタ", this);
  editor_label->move(16, 16);
  editor_edit_ = new QLineEdit(this);
  editor_edit_->setObjectName("LabeledEditEditor");
  editor_edit_->setGeometry(16, 32, 352, 20);
  editor_label->setBuddy(editor_edit_);
  editor_button_ = new QPushButton("参照", this);
  editor_button_->setObjectName("ButtonEditor");
  editor_button_->setGeometry(369, 32, 37, 20);
  editor_button_->setAutoDefault(false);

  auto* group = new QGroupBox("インターバル(100～3000ミリ秒)", this);
  group->setObjectName("GroupBoxInterval");
  group->setGeometry(16, 64, 181, 81);
  MakeRightLabel(group, "貼り付け後", 4, 23, 74);
  interval_paste_spin_ = MakeIntervalBox(group, "UpDownIntervalPaste", "EditIntervalPaste", 20);
  MakeRightLabel(group, "デフォルト", 4, 51, 74);
  interval_default_spin_ = MakeIntervalBox(group, "UpDownIntervalDefault", "EditIntervalDefault", 48);

  link_target_box_ = MakeCheck(this, "CheckBoxLinkTarget", "リンクのターゲットを考慮する", 220, 68);
  client_box_ = MakeCheck(this, "CheckBoxClient", "常にタブ領域内全体に表示", 220, 88);
  silent_box_ = MakeCheck(this, "CheckBoxSilent", "ダイアログの表示抑止", 220, 108);
  focus_lock_box_ = MakeCheck(this, "CheckBoxFocusLock", "マクロフォーカス設定をロック", 220, 128);
  auto_save_box_ = MakeCheck(this, "CheckBoxAutoSave", "終了時にデータを自動保存", 28, 164);
  restore_session_box_ = MakeCheck(this, "CheckBoxRestoreSession", "前回のタブを開く", 28, 186);
  mark_stocks_box_ = MakeCheck(this, "CheckBoxMarkStocks", "ページ上の登録銘柄を強調", 28, 208);
  sleep_tabs_box_ = MakeCheck(this, "CheckBoxSleepTabs", "使っていないタブを休ませる", 28, 230);
  sleep_minutes_spin_ = new QSpinBox(this);
  sleep_minutes_spin_->setObjectName("UpDownSleepMinutes");
  sleep_minutes_spin_->setGeometry(sleep_tabs_box_->geometry().right() + 8, 228, 56, 20);
  sleep_minutes_spin_->setRange(kSleepMinutesMin, kSleepMinutesMax);
  sleep_minutes_spin_->setAlignment(Qt::AlignRight);
  auto* minutes_label = new QLabel("分後", this);
  minutes_label->setGeometry(sleep_minutes_spin_->geometry().right() + 4, 230, 40, 16);
  sleep_minutes_spin_->setEnabled(false);
  connect(sleep_tabs_box_, &QCheckBox::toggled, sleep_minutes_spin_, &QWidget::setEnabled);

  ok_button_ = new QPushButton("OK", this);
  ok_button_->setObjectName("ButtonOk");
  ok_button_->setGeometry(229, 168, 77, 25);
  ok_button_->setDefault(true);
  cancel_button_ = new QPushButton("CANCEL", this);
  cancel_button_->setObjectName("ButtonCancel");
  cancel_button_->setGeometry(318, 168, 61, 25);
  cancel_button_->setAutoDefault(false);

  setTabOrder(ok_button_, editor_edit_);
  setTabOrder(editor_edit_, editor_button_);
  setTabOrder(editor_button_, interval_paste_spin_);
  setTabOrder(interval_paste_spin_, interval_default_spin_);
  setTabOrder(interval_default_spin_, link_target_box_);
  setTabOrder(link_target_box_, client_box_);
  setTabOrder(client_box_, silent_box_);
  setTabOrder(silent_box_, focus_lock_box_);
  setTabOrder(focus_lock_box_, auto_save_box_);
  setTabOrder(auto_save_box_, restore_session_box_);
  setTabOrder(restore_session_box_, mark_stocks_box_);
  setTabOrder(mark_stocks_box_, sleep_tabs_box_);
  setTabOrder(sleep_tabs_box_, sleep_minutes_spin_);
  setTabOrder(sleep_minutes_spin_, cancel_button_);

  connect(editor_button_, &QPushButton::clicked, this, &TFormOption::ButtonEditorClick);
  connect(ok_button_, &QPushButton::clicked, this, &TFormOption::ButtonOkClick);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
  FormCreate();
}

std::optional<OptionDialogResult> TFormOption::Run(const AppOptions& options, const OptionStore& store,
                                                   QWidget* parent) {
  TFormOption dialog(options, store, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Result();
}

void TFormOption::FormCreate() {
  editor_edit_->setText(SjisToQString(before_.Editor));
  // A value from the file may lie outside the range or between steps: the
  // boxes show the nearest step, which is stored only if OK is pressed.
  interval_paste_spin_->setValue(IntervalShown(before_.IntervalPaste));
  interval_default_spin_->setValue(IntervalShown(before_.IntervalDefault));
  link_target_box_->setChecked(before_.LinkTarget);
  client_box_->setChecked(before_.Client);
  silent_box_->setChecked(before_.Silent);
  focus_lock_box_->setChecked(before_.FocusLock);
  auto_save_box_->setChecked(before_.AutoSave);
  restore_session_box_->setChecked(before_.RestoreSession);
  mark_stocks_box_->setChecked(before_.MarkStocks);
  sleep_tabs_box_->setChecked(before_.SleepTabs.on);
  sleep_minutes_spin_->setValue(before_.SleepTabs.minutes);
}

void TFormOption::ButtonEditorClick() {
  QFileDialog dialog(this, "テキストエディタ");
  dialog.setOption(QFileDialog::DontUseNativeDialog);  // the program filter needs Qt's own dialog
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList filters = {"プログラム (*)", "すべてのファイル (*)"};
  dialog.setNameFilters(filters);
  const QDir::Filters programs = QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot;
  const QDir::Filters all = QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot;
  dialog.setFilter(programs);
  connect(&dialog, &QFileDialog::filterSelected, &dialog,
          [&](const QString& filter) { dialog.setFilter(filter == filters.first() ? programs : all); });
  const QString current = editor_edit_->text();
  if (!current.isEmpty()) {
    const QFileInfo info(current);
    if (info.dir().exists()) dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  editor_edit_->setText(dialog.selectedFiles().first());
}

void TFormOption::ButtonOkClick() {
  OptionDialogInput input;
  const QString editor = editor_edit_->text();
  input.editor_text = QStringToSjis(editor);
  input.editor_exists = !editor.isEmpty() && QFileInfo(editor).isFile();
  input.interval_paste = interval_paste_spin_->value();
  input.interval_default = interval_default_spin_->value();
  input.link_target = link_target_box_->isChecked();
  input.client = client_box_->isChecked();
  input.silent = silent_box_->isChecked();
  input.focus_lock = focus_lock_box_->isChecked();
  input.auto_save = auto_save_box_->isChecked();
  input.restore_session = restore_session_box_->isChecked();
  input.mark_stocks = mark_stocks_box_->isChecked();
  input.sleep_tabs = sleep_tabs_box_->isChecked();
  input.sleep_minutes = sleep_minutes_spin_->value();
  result_ = ApplyOptionDialog(before_, input);
  // The new values stay in effect for this run even when the write was
  // refused; the dialog still closes.
  if (const FileReport report = store_(result_); report.Failed()) ShowErrorBox(this, ReportText(report));
  accept();
}

}  // namespace sorvi

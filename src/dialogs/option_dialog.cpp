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
  setFixedSize(422, 235);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* editor_label = new QLabel("テキストエディタ", this);
  editor_label->move(16, 16);
  LabeledEditEditor = new QLineEdit(this);
  LabeledEditEditor->setObjectName("LabeledEditEditor");
  LabeledEditEditor->setGeometry(16, 32, 352, 20);
  editor_label->setBuddy(LabeledEditEditor);
  ButtonEditor = new QPushButton("参照", this);
  ButtonEditor->setObjectName("ButtonEditor");
  ButtonEditor->setGeometry(369, 32, 37, 20);
  ButtonEditor->setAutoDefault(false);

  auto* group = new QGroupBox("インターバル(100～3000ミリ秒)", this);
  group->setObjectName("GroupBoxInterval");
  group->setGeometry(16, 64, 181, 81);
  MakeRightLabel(group, "貼り付け後", 4, 23, 74);
  UpDownIntervalPaste = MakeIntervalBox(group, "UpDownIntervalPaste", "EditIntervalPaste", 20);
  MakeRightLabel(group, "デフォルト", 4, 51, 74);
  UpDownIntervalDefault = MakeIntervalBox(group, "UpDownIntervalDefault", "EditIntervalDefault", 48);

  CheckBoxLinkTarget = MakeCheck(this, "CheckBoxLinkTarget", "リンクのターゲットを考慮する", 220, 68);
  CheckBoxClient = MakeCheck(this, "CheckBoxClient", "常にタブ領域内全体に表示", 220, 88);
  CheckBoxSilent = MakeCheck(this, "CheckBoxSilent", "ダイアログの表示抑止", 220, 108);
  CheckBoxFocusLock = MakeCheck(this, "CheckBoxFocusLock", "マクロフォーカス設定をロック", 220, 128);
  CheckBoxAutoSave = MakeCheck(this, "CheckBoxAutoSave", "終了時にデータを自動保存", 28, 164);
  CheckBoxRestoreSession = MakeCheck(this, "CheckBoxRestoreSession", "前回のタブを開く", 28, 186);
  CheckBoxMarkStocks = MakeCheck(this, "CheckBoxMarkStocks", "ページ上の登録銘柄を強調", 28, 208);

  ButtonOk = new QPushButton("OK", this);
  ButtonOk->setObjectName("ButtonOk");
  ButtonOk->setGeometry(229, 168, 77, 25);
  ButtonOk->setDefault(true);
  ButtonCancel = new QPushButton("CANCEL", this);
  ButtonCancel->setObjectName("ButtonCancel");
  ButtonCancel->setGeometry(318, 168, 61, 25);
  ButtonCancel->setAutoDefault(false);

  setTabOrder(ButtonOk, LabeledEditEditor);
  setTabOrder(LabeledEditEditor, ButtonEditor);
  setTabOrder(ButtonEditor, UpDownIntervalPaste);
  setTabOrder(UpDownIntervalPaste, UpDownIntervalDefault);
  setTabOrder(UpDownIntervalDefault, CheckBoxLinkTarget);
  setTabOrder(CheckBoxLinkTarget, CheckBoxClient);
  setTabOrder(CheckBoxClient, CheckBoxSilent);
  setTabOrder(CheckBoxSilent, CheckBoxFocusLock);
  setTabOrder(CheckBoxFocusLock, CheckBoxAutoSave);
  setTabOrder(CheckBoxAutoSave, CheckBoxRestoreSession);
  setTabOrder(CheckBoxRestoreSession, CheckBoxMarkStocks);
  setTabOrder(CheckBoxMarkStocks, ButtonCancel);

  connect(ButtonEditor, &QPushButton::clicked, this, &TFormOption::ButtonEditorClick);
  connect(ButtonOk, &QPushButton::clicked, this, &TFormOption::ButtonOkClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  FormCreate();
}

std::optional<OptionDialogResult> TFormOption::Run(const AppOptions& options, const OptionStore& store,
                                                   QWidget* parent) {
  TFormOption dialog(options, store, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Result();
}

void TFormOption::FormCreate() {
  LabeledEditEditor->setText(SjisToQString(before_.Editor));
  // A value from the file may lie outside the range or between steps: the
  // boxes show the nearest step, which is stored only if OK is pressed.
  UpDownIntervalPaste->setValue(IntervalShown(before_.IntervalPaste));
  UpDownIntervalDefault->setValue(IntervalShown(before_.IntervalDefault));
  CheckBoxLinkTarget->setChecked(before_.LinkTarget);
  CheckBoxClient->setChecked(before_.Client);
  CheckBoxSilent->setChecked(before_.Silent);
  CheckBoxFocusLock->setChecked(before_.FocusLock);
  CheckBoxAutoSave->setChecked(before_.AutoSave);
  CheckBoxRestoreSession->setChecked(before_.RestoreSession);
  CheckBoxMarkStocks->setChecked(before_.MarkStocks);
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
  const QString current = LabeledEditEditor->text();
  if (!current.isEmpty()) {
    const QFileInfo info(current);
    if (info.dir().exists()) dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  LabeledEditEditor->setText(dialog.selectedFiles().first());
}

void TFormOption::ButtonOkClick() {
  OptionDialogInput input;
  const QString editor = LabeledEditEditor->text();
  input.editor_text = QStringToSjis(editor);
  input.editor_exists = !editor.isEmpty() && QFileInfo(editor).isFile();
  input.interval_paste = UpDownIntervalPaste->value();
  input.interval_default = UpDownIntervalDefault->value();
  input.link_target = CheckBoxLinkTarget->isChecked();
  input.client = CheckBoxClient->isChecked();
  input.silent = CheckBoxSilent->isChecked();
  input.focus_lock = CheckBoxFocusLock->isChecked();
  input.auto_save = CheckBoxAutoSave->isChecked();
  input.restore_session = CheckBoxRestoreSession->isChecked();
  input.mark_stocks = CheckBoxMarkStocks->isChecked();
  result_ = ApplyOptionDialog(before_, input);
  // The new values stay in effect for this run even when the write was
  // refused; the dialog still closes.
  if (const FileReport report = store_(result_); report.Failed()) ShowErrorBox(this, ReportText(report));
  accept();
}

}  // namespace sorvi

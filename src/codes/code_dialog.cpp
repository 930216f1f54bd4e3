#include "codes/code_dialog.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/codes/code_list_edit.h"
#include "core/codes/stock_code_list.h"
#include "platform/cp932.h"
#include "platform/shown_text_accessible.h"
#include "platform/tool_window.h"

namespace sorvi {

TFormCodeDlg::TFormCodeDlg(Mode mode, QWidget* parent) : QDialog(parent), mode_(mode) {
  MakeStayOnTopToolWindow(this);
  setWindowTitle(mode == Mode::Edit ? "編集" : "追加");

  auto* label_code = new QLabel("コード", this);
  PanelCode = new QFrame(this);
  PanelCode->setObjectName("PanelCode");
  PanelCode->setFrameShape(QFrame::Box);
  PanelCode->setAutoFillBackground(true);
  MaskEditCode = new QLineEdit(PanelCode);
  MaskEditCode->setObjectName("MaskEditCode");
  ReadAsShown(MaskEditCode);
  // Four digits; places not typed show (and count) as "0".
  MaskEditCode->setInputMask("9999;0");
  MaskEditCode->setMaxLength(4);
  MaskEditCode->setFrame(false);
  MaskEditCode->setAttribute(Qt::WA_InputMethodEnabled, false);
  MaskEditCode->setFixedWidth(MaskEditCode->fontMetrics().horizontalAdvance("00000") + 8);
  auto* panel_layout = new QHBoxLayout(PanelCode);
  panel_layout->setContentsMargins(2, 2, 2, 2);
  panel_layout->addWidget(MaskEditCode);

  RadioButton1 = new QRadioButton("グループ", this);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton2 = new QRadioButton("銘柄", this);
  RadioButton2->setObjectName("RadioButton2");
  auto* kinds = new QButtonGroup(this);
  kinds->addButton(RadioButton1);
  kinds->addButton(RadioButton2);
  // toggled also fires when the program checks a button.
  connect(RadioButton1, &QRadioButton::toggled, this, &TFormCodeDlg::RadioButtonClick);
  connect(RadioButton2, &QRadioButton::toggled, this, &TFormCodeDlg::RadioButtonClick);

  auto* label_title = new QLabel("名称", this);
  LabeledEditTitle = new QLineEdit(this);
  LabeledEditTitle->setObjectName("LabeledEditTitle");
  label_title->setBuddy(LabeledEditTitle);

  ButtonOk = new QPushButton("OK", this);
  ButtonOk->setObjectName("ButtonOk");
  ButtonOk->setDefault(true);
  ButtonCancel = new QPushButton("CANCEL", this);
  ButtonCancel->setObjectName("ButtonCancel");
  ButtonOk->setAutoDefault(false);
  ButtonCancel->setAutoDefault(false);
  connect(ButtonOk, &QPushButton::clicked, this, &TFormCodeDlg::ButtonOkClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QWidget::close);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label_code, 0, 0);
  grid->addWidget(PanelCode, 0, 1, Qt::AlignLeft);
  grid->addWidget(RadioButton1, 0, 2);
  grid->addWidget(RadioButton2, 0, 3);
  grid->addWidget(label_title, 1, 0);
  grid->addWidget(LabeledEditTitle, 1, 1, 1, 3);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(ButtonOk);
  buttons->addWidget(ButtonCancel);
  grid->addLayout(buttons, 2, 0, 1, 4);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  setMinimumSize(267, 123);

  RadioButton1->setChecked(true);
  RadioButtonClick();
}

void TFormCodeDlg::SetNode(bool is_group, const std::string& node_text) {
  node_is_group_ = is_group;
  if (is_group) {
    original_name_ = std::string(GroupName(node_text));
    RadioButton1->setChecked(true);
    RadioButton2->setEnabled(false);
  } else {
    original_code_ = std::string(StockCode(node_text));
    original_name_ = std::string(StockName(node_text));
    RadioButton2->setChecked(true);
    RadioButton1->setEnabled(false);
    MaskEditCode->setText(SjisToQString(original_code_));
  }
  LabeledEditTitle->setText(SjisToQString(original_name_));
  RadioButtonClick();
}

void TFormCodeDlg::SetAddContext(Selected selected) {
  RadioButton1->setEnabled(selected != Selected::Stock);
  RadioButton2->setEnabled(selected != Selected::None);
  (selected == Selected::Stock ? RadioButton2 : RadioButton1)->setChecked(true);
  RadioButtonClick();
}

void TFormCodeDlg::RadioButtonClick() {
  const bool stock = RadioButton2->isChecked();
  MaskEditCode->setEnabled(stock);
  const QPalette::ColorRole role = stock ? QPalette::Base : QPalette::Button;
  for (QWidget* w : {static_cast<QWidget*>(PanelCode), static_cast<QWidget*>(MaskEditCode)}) {
    QPalette pal = w->palette();
    const QColor colour = palette().color(QPalette::Active, role);
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::Base, colour);
    w->setPalette(pal);
  }
}

bool TFormCodeDlg::MakesGroup() const { return mode_ == Mode::Edit ? node_is_group_ : RadioButton1->isChecked(); }

std::string TFormCodeDlg::CodeBytes() const {
  // A code the user left alone keeps its bytes, even ones the mask would
  // not take (a code read from a hand-edited file).
  if (mode_ == Mode::Edit && !MaskEditCode->isModified() && original_code_.size() == 4) return original_code_;
  return MaskedStockCode(MaskEditCode->displayText().toStdString());
}

std::string TFormCodeDlg::NameBytes() const {
  if (mode_ == Mode::Edit && !LabeledEditTitle->isModified()) return original_name_;
  return QStringToSjis(LabeledEditTitle->text());
}

std::string TFormCodeDlg::ComposedText() const {
  if (MakesGroup()) return ComposeGroupText(NameBytes());
  std::string text = CodeBytes();
  text += ' ';
  text += NameBytes();
  return text;
}

void TFormCodeDlg::ButtonOkClick() {
  emit Confirmed(MakesGroup(), ComposedText());
  close();
}

void TFormCodeDlg::reject() { close(); }

void TFormCodeDlg::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    emit Closed();
  }
  // QDialog would route this through reject(), which closes again.
  QWidget::closeEvent(event);
}

}  // namespace sorvi

#include "codes/code_dialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>
#include <QValidator>

#include "core/codes/code_list_edit.h"
#include "core/codes/stock_code_list.h"
#include "core/codes/stock_code_rule.h"
#include "platform/cp932.h"
#include "platform/shown_text_accessible.h"

namespace sorvi {
namespace {

const char kCodeHint[] = "数字4桁、または 130A のように2桁目と4桁目に英大文字";

QString RefusalText(CodeCharVerdict verdict) {
  switch (verdict) {
    case CodeCharVerdict::kDigitOnly: return QStringLiteral("コードの1桁目と3桁目には数字だけが入ります");
    case CodeCharVerdict::kExcludedLetter:
      return QStringLiteral("B, E, I, O, Q, V, Z は数字と紛らわしいためコードに使われません");
    default: return QStringLiteral("コードには数字と英字だけが入ります");
  }
}

// Keeps a pasted text to the rule as well; typed keys are refused (and
// explained) before they reach the field.
class StockCodeValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    for (int i = 0; i < input.size(); ++i) {
      const QChar c = input[i];
      if (c == u' ') continue;  // a place not filled
      if (c.unicode() > 0x7F || CheckCodeChar(size_t(i), char(c.unicode())) != CodeCharVerdict::kTaken) return Invalid;
    }
    return Acceptable;
  }
};

}  // namespace

TFormCodeDlg::TFormCodeDlg(Mode mode, QWidget* parent) : ListItemDialog(mode, parent), mode_(mode) {
  auto* label_code = new QLabel("コード", this);
  code_panel_ = new QFrame(this);
  code_panel_->setObjectName("PanelCode");
  code_panel_->setFrameShape(QFrame::Box);
  code_panel_->setAutoFillBackground(true);
  code_edit_ = new QLineEdit(code_panel_);
  code_edit_->setObjectName("MaskEditCode");
  ReadAsShown(code_edit_);
  // Four places, small letters made capitals; places not typed show (and
  // count) as "0". Which place takes what is the stock code rule's.
  code_edit_->setInputMask(">NNNN;0");
  code_edit_->setMaxLength(4);
  code_edit_->setValidator(new StockCodeValidator(code_edit_));
  code_edit_->setToolTip(kCodeHint);
  code_edit_->installEventFilter(this);
  code_edit_->setFrame(false);
  code_edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
  code_edit_->setFixedWidth(code_edit_->fontMetrics().horizontalAdvance("00000") + 8);
  auto* panel_layout = new QHBoxLayout(code_panel_);
  panel_layout->setContentsMargins(2, 2, 2, 2);
  panel_layout->addWidget(code_edit_);

  group_radio_ = new QRadioButton("グループ", this);
  group_radio_->setObjectName("RadioButton1");
  stock_radio_ = new QRadioButton("銘柄", this);
  stock_radio_->setObjectName("RadioButton2");
  auto* kinds = new QButtonGroup(this);
  kinds->addButton(group_radio_);
  kinds->addButton(stock_radio_);
  // toggled also fires when the program checks a button.
  connect(group_radio_, &QRadioButton::toggled, this, &TFormCodeDlg::ShowCodeFieldForKind);
  connect(stock_radio_, &QRadioButton::toggled, this, &TFormCodeDlg::ShowCodeFieldForKind);

  auto* label_title = new QLabel("名称", this);
  name_edit_ = new QLineEdit(this);
  name_edit_->setObjectName("LabeledEditTitle");
  label_title->setBuddy(name_edit_);

  ok_button_->setAutoDefault(false);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label_code, 0, 0);
  grid->addWidget(code_panel_, 0, 1, Qt::AlignLeft);
  grid->addWidget(group_radio_, 0, 2);
  grid->addWidget(stock_radio_, 0, 3);
  grid->addWidget(label_title, 1, 0);
  grid->addWidget(name_edit_, 1, 1, 1, 3);
  dropped_note_ = new QLabel(this);
  dropped_note_->setObjectName("LabelDropped");
  dropped_note_->hide();
  grid->addWidget(dropped_note_, 2, 0, 1, 4);
  grid->addLayout(ButtonRow(), 3, 0, 1, 4);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  setMinimumSize(267, 123);

  // The fields first, the buttons last.
  setTabOrder(name_edit_, ok_button_);
  setTabOrder(ok_button_, cancel_button_);
  group_radio_->setChecked(true);
  ShowCodeFieldForKind();
}

void TFormCodeDlg::SetNode(bool is_group, const std::string& node_text) {
  node_is_group_ = is_group;
  if (is_group) {
    original_name_ = std::string(GroupName(node_text));
    group_radio_->setChecked(true);
    stock_radio_->setEnabled(false);
  } else {
    original_code_ = std::string(StockCode(node_text));
    original_name_ = std::string(StockName(node_text));
    stock_radio_->setChecked(true);
    group_radio_->setEnabled(false);
    code_edit_->setText(SjisToQString(original_code_));
  }
  name_edit_->setText(SjisToQString(original_name_));
  ShowCodeFieldForKind();
}

void TFormCodeDlg::SetAddContext(Selected selected) {
  group_radio_->setEnabled(selected != Selected::Stock);
  stock_radio_->setEnabled(selected != Selected::None);
  (selected == Selected::Stock ? stock_radio_ : group_radio_)->setChecked(true);
  ShowCodeFieldForKind();
}

void TFormCodeDlg::SetProposal(const QString& code, const QString& name) {
  SetAddContext(Selected::Stock);
  code_edit_->setText(code);
  QString kept, dropped;
  for (const uint c : name.toUcs4()) {
    const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
    // The converter writes "?" for what the code page cannot hold.
    (c == u'?' || QStringToSjis(one) != "?" ? kept : dropped) += one;
  }
  name_edit_->setText(kept.trimmed());
  dropped_note_->setText(QStringLiteral("Shift-JIS にない文字「%1」を除きました").arg(dropped));
  dropped_note_->setVisible(!dropped.isEmpty());
}

bool TFormCodeDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched != code_edit_ || event->type() != QEvent::KeyPress) return ListItemDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  if (text.size() != 1 || !text[0].isPrint() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
    return false;
  const int place = code_edit_->hasSelectedText() ? code_edit_->selectionStart() : code_edit_->cursorPosition();
  if (place >= 4) return false;  // the field is full: the mask says no by itself
  const char16_t c = text[0].unicode();
  const CodeCharVerdict verdict = c > 0x7F ? CodeCharVerdict::kNotAllowed : CheckCodeChar(size_t(place), char(c));
  if (verdict == CodeCharVerdict::kTaken) {
    code_edit_->setToolTip(kCodeHint);
    return false;
  }
  // Said where the eyes are, and kept for the mouse to find again.
  const QString why = RefusalText(verdict);
  code_edit_->setToolTip(why);
  QToolTip::showText(code_edit_->mapToGlobal(QPoint(0, code_edit_->height())), why, code_edit_);
  return true;
}

void TFormCodeDlg::ShowCodeFieldForKind() {
  const bool stock = stock_radio_->isChecked();
  code_edit_->setEnabled(stock);
  const QPalette::ColorRole role = stock ? QPalette::Base : QPalette::Button;
  for (QWidget* w : {static_cast<QWidget*>(code_panel_), static_cast<QWidget*>(code_edit_)}) {
    QPalette pal = w->palette();
    const QColor colour = palette().color(QPalette::Active, role);
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::Base, colour);
    w->setPalette(pal);
  }
}

bool TFormCodeDlg::MakesGroup() const { return mode_ == Mode::Edit ? node_is_group_ : group_radio_->isChecked(); }

std::string TFormCodeDlg::CodeBytes() const {
  // A code the user left alone keeps its bytes, even ones the mask would
  // not take (a code read from a hand-edited file).
  if (mode_ == Mode::Edit && !code_edit_->isModified() && original_code_.size() == 4) return original_code_;
  return MaskedStockCode(code_edit_->displayText().toStdString());
}

std::string TFormCodeDlg::NameBytes() const {
  if (mode_ == Mode::Edit && !name_edit_->isModified()) return original_name_;
  return QStringToSjis(name_edit_->text());
}

std::string TFormCodeDlg::ComposedText() const {
  return MakesGroup() ? ComposeGroupText(NameBytes()) : ComposeStockText(CodeBytes(), NameBytes());
}

void TFormCodeDlg::ButtonOkClick() { emit Confirmed(MakesGroup(), ComposedText()); }

}  // namespace sorvi

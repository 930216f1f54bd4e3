#include "bookmarks/bookmark_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/bookmarks/bookmark_list_edit.h"
#include "platform/cp932.h"
#include "platform/tool_window.h"

namespace sorvi {
namespace {

QLineEdit* Edit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

}  // namespace

TFormURLDlg::TFormURLDlg(Mode mode, QWidget* parent) : QDialog(parent) {
  MakeStayOnTopToolWindow(this);
  setWindowTitle(mode == Mode::Edit ? "編集" : "追加");

  ButtonOk = new QPushButton("OK", this);
  ButtonOk->setObjectName("ButtonOk");
  ButtonOk->setDefault(true);
  LabeledEditName = Edit(this, "LabeledEditName");
  CheckBoxFix = new QCheckBox("タイトル固定", this);
  CheckBoxFix->setObjectName("CheckBoxFix");
  EditTitle = Edit(this, "EditTitle");
  LabeledEditAddr = Edit(this, "LabeledEditAddr");
  CheckBoxKeyMacro = new QCheckBox("キーマクロ", this);
  CheckBoxKeyMacro->setObjectName("CheckBoxKeyMacro");
  EditKeyMacro = Edit(this, "EditKeyMacro");
  ButtonCancel = new QPushButton("CANCEL", this);
  ButtonCancel->setObjectName("ButtonCancel");
  ButtonCancel->setAutoDefault(false);
  connect(ButtonOk, &QPushButton::clicked, this, [this] {
    emit Confirmed(Result());
    close();
  });
  connect(ButtonCancel, &QPushButton::clicked, this, &QWidget::close);

  auto* label_name = new QLabel("ブックマーク", this);
  label_name->setBuddy(LabeledEditName);
  auto* label_addr = new QLabel("URLマクロ", this);
  label_addr->setBuddy(LabeledEditAddr);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label_name, 0, 0);
  grid->addWidget(LabeledEditName, 1, 0);
  grid->addWidget(CheckBoxFix, 0, 1);
  grid->addWidget(EditTitle, 1, 1);
  grid->addWidget(label_addr, 2, 0, 1, 2);
  grid->addWidget(LabeledEditAddr, 3, 0, 1, 2);
  grid->addWidget(CheckBoxKeyMacro, 4, 0, 1, 2);
  grid->addWidget(EditKeyMacro, 5, 0, 1, 2);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(ButtonOk);
  buttons->addWidget(ButtonCancel);
  grid->addLayout(buttons, 6, 0, 1, 2);
  setMinimumSize(442, 193);

  setTabOrder(ButtonOk, LabeledEditName);
  setTabOrder(LabeledEditName, CheckBoxFix);
  setTabOrder(CheckBoxFix, EditTitle);
  setTabOrder(EditTitle, LabeledEditAddr);
  setTabOrder(LabeledEditAddr, CheckBoxKeyMacro);
  setTabOrder(CheckBoxKeyMacro, EditKeyMacro);
  setTabOrder(EditKeyMacro, ButtonCancel);
  // Typing starts in the name; Enter anywhere still means OK.
  LabeledEditName->setFocus();
}

void TFormURLDlg::SetBookmark(const UrlBookmark& bookmark) {
  original_ = bookmark;
  LabeledEditName->setText(SjisToQString(bookmark.name));
  CheckBoxFix->setChecked(bookmark.fixed_title != 0);
  EditTitle->setText(SjisToQString(bookmark.title));
  LabeledEditAddr->setText(SjisToQString(bookmark.url_macro));
  CheckBoxKeyMacro->setChecked(bookmark.key_macro_state == 1);
  EditKeyMacro->setText(SjisToQString(bookmark.key_macro));
}

std::string TFormURLDlg::Bytes(const QLineEdit* edit, const std::string& original) const {
  return edit->isModified() ? QStringToSjis(edit->text()) : original;
}

UrlBookmark TFormURLDlg::Result() const {
  UrlBookmark b;
  b.name = Bytes(LabeledEditName, original_.name);
  b.fixed_title = CheckBoxFix->isChecked() ? 1 : 0;
  b.title = Bytes(EditTitle, original_.title);
  b.url_macro = Bytes(LabeledEditAddr, original_.url_macro);
  SetKeyMacroPart(b, Bytes(EditKeyMacro, original_.key_macro), CheckBoxKeyMacro->isChecked());
  return b;
}

void TFormURLDlg::reject() { close(); }

void TFormURLDlg::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    emit Closed();
  }
  // QDialog would route this through reject(), which closes again.
  QWidget::closeEvent(event);
}

}  // namespace sorvi

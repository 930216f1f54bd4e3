#include "bookmarks/bookmark_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/bookmarks/bookmark_list_edit.h"
#include "platform/cp932.h"

namespace sorvi {
namespace {

QLineEdit* Edit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

}  // namespace

TFormURLDlg::TFormURLDlg(Mode mode, QWidget* parent) : ListItemDialog(mode, parent) {
  name_edit_ = Edit(this, "LabeledEditName");
  fixed_title_box_ = new QCheckBox("タイトル固定", this);
  fixed_title_box_->setObjectName("CheckBoxFix");
  title_edit_ = Edit(this, "EditTitle");
  address_edit_ = Edit(this, "LabeledEditAddr");
  key_macro_box_ = new QCheckBox("キーマクロ", this);
  key_macro_box_->setObjectName("CheckBoxKeyMacro");
  key_macro_edit_ = Edit(this, "EditKeyMacro");

  auto* label_name = new QLabel("ブックマーク", this);
  label_name->setBuddy(name_edit_);
  auto* label_addr = new QLabel("URLマクロ", this);
  label_addr->setBuddy(address_edit_);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label_name, 0, 0);
  grid->addWidget(name_edit_, 1, 0);
  grid->addWidget(fixed_title_box_, 0, 1);
  grid->addWidget(title_edit_, 1, 1);
  grid->addWidget(label_addr, 2, 0, 1, 2);
  grid->addWidget(address_edit_, 3, 0, 1, 2);
  grid->addWidget(key_macro_box_, 4, 0, 1, 2);
  grid->addWidget(key_macro_edit_, 5, 0, 1, 2);
  grid->addLayout(ButtonRow(), 6, 0, 1, 2);
  setMinimumSize(442, 193);

  setTabOrder(ok_button_, name_edit_);
  setTabOrder(name_edit_, fixed_title_box_);
  setTabOrder(fixed_title_box_, title_edit_);
  setTabOrder(title_edit_, address_edit_);
  setTabOrder(address_edit_, key_macro_box_);
  setTabOrder(key_macro_box_, key_macro_edit_);
  setTabOrder(key_macro_edit_, cancel_button_);
  // Typing starts in the name; Enter anywhere still means OK.
  name_edit_->setFocus();
}

void TFormURLDlg::SetBookmark(const UrlBookmark& bookmark) {
  original_ = bookmark;
  name_edit_->setText(SjisToQString(bookmark.name));
  fixed_title_box_->setChecked(bookmark.fixed_title != 0);
  title_edit_->setText(SjisToQString(bookmark.title));
  address_edit_->setText(SjisToQString(bookmark.url_macro));
  key_macro_box_->setChecked(bookmark.key_macro_state == 1);
  key_macro_edit_->setText(SjisToQString(bookmark.key_macro));
}

std::string TFormURLDlg::Bytes(const QLineEdit* edit, const std::string& original) const {
  return edit->isModified() ? QStringToSjis(edit->text()) : original;
}

UrlBookmark TFormURLDlg::Result() const {
  UrlBookmark b;
  b.name = Bytes(name_edit_, original_.name);
  b.fixed_title = fixed_title_box_->isChecked() ? 1 : 0;
  b.title = Bytes(title_edit_, original_.title);
  b.url_macro = Bytes(address_edit_, original_.url_macro);
  SetKeyMacroPart(b, Bytes(key_macro_edit_, original_.key_macro), key_macro_box_->isChecked());
  return b;
}

}  // namespace sorvi

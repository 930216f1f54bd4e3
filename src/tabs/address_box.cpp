#include "tabs/address_box.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "core/tabs/address_history.h"
#include "platform/cp932.h"

namespace sorvi {

namespace {

constexpr int kBytesRole = Qt::UserRole + 1;

std::string ItemBytes(const QComboBox* box, int index) {
  const QVariant bytes = box->itemData(index, kBytesRole);
  return bytes.isValid() ? bytes.toByteArray().toStdString() : QStringToSjis(box->itemText(index));
}

}  // namespace

AddressBox::AddressBox(QComboBox* box, QWidget* dialog_parent)
    : QObject(box), box_(box), dialog_parent_(dialog_parent) {
  if (QLineEdit* edit = box_->lineEdit()) {
    line_edit_ = edit;
    edit->installEventFilter(this);
    // The modifiers are those of the Enter being delivered, not the
    // keyboard's state when the request is carried out.
    connect(edit, &QLineEdit::returnPressed, this, [this] { emit Submitted(QGuiApplication::keyboardModifiers()); });
  }
}

QString AddressBox::Text() const { return box_->currentText(); }

void AddressBox::Show(const QString& text) { box_->setEditText(text); }

void AddressBox::Remember(const std::string& bytes, const QString& text) {
  box_->setEditText(text);
  if (bytes.empty()) return;
  std::vector<std::string> before = History();
  std::vector<std::string> after = before;
  int selected = -1;
  AddToHistory(after, bytes, kAddressHistoryLimit, &selected);

  // The rule puts the entry first and drops at most one old one; find that
  // one so that the other items keep their exact text.
  int removed = -1;
  if (after.size() == before.size()) {
    removed = static_cast<int>(before.size()) - 1;
    for (size_t k = 0; k + 1 < after.size(); ++k) {
      if (after[k + 1] != before[k]) {
        removed = static_cast<int>(k);
        break;
      }
    }
  }
  if (removed >= 0) box_->removeItem(removed);
  box_->insertItem(0, text);
  box_->setItemData(0, QByteArray::fromStdString(bytes), kBytesRole);
  if (selected == 0) box_->setCurrentIndex(0);
  box_->setEditText(text);
}

std::vector<std::string> AddressBox::History() const {
  std::vector<std::string> entries;
  entries.reserve(size_t(box_->count()));
  for (int i = 0; i < box_->count(); ++i) entries.push_back(ItemBytes(box_, i));
  return entries;
}

void AddressBox::LoadHistory(const std::vector<std::string>& entries) {
  box_->clear();
  for (const std::string& entry : entries) {
    box_->addItem(SjisToQString(entry));
    box_->setItemData(box_->count() - 1, QByteArray::fromStdString(entry), kBytesRole);
  }
  box_->setCurrentIndex(-1);
  box_->setEditText(QString());
}

void AddressBox::PickLocalFile() {
  const QString path = QFileDialog::getOpenFileName(dialog_parent_, QString(), file_dialog_dir_,
                                                    QStringLiteral("HTML(*.htm *.html);;すべてのファイル(*)"));
  if (path.isEmpty()) return;
  file_dialog_dir_ = QFileInfo(path).absolutePath();
  box_->setEditText(path);
  emit Submitted(QGuiApplication::keyboardModifiers());
}

bool AddressBox::eventFilter(QObject* watched, QEvent* event) {
  // Compared with the pointer kept, not asked of the box: the line edit
  // still gets events while the box is being destroyed around it.
  if (watched == nullptr || watched != line_edit_) return false;
  if (event->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    PickLocalFile();
    return true;
  }
  return false;
}

}  // namespace sorvi

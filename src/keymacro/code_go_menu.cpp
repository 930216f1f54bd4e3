#include "keymacro/code_go_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QMenu>

#include "platform/cp932.h"
#include "platform/menu_items.h"

namespace sorvi {

CodeGoMenu::CodeGoMenu(KeyCodeRegistry& registry, QWidget* menu_parent, QObject* parent)
    : QObject(parent), registry_(registry) {
  menu_ = new QMenu("実行", menu_parent);
  menu_->setObjectName("PopupMenuCodeGo");
  group_ = new QActionGroup(menu_);
  group_->setExclusive(true);
  url_item_ = AddMenuItem(menu_, "PopupMenuCodeGoURL", "URLを開く", 1);
  url_item_->setCheckable(true);
  group_->addAction(url_item_);
  connect(url_item_, &QAction::triggered, this, [this] { Run(url_item_, QGuiApplication::keyboardModifiers()); });
  separator_ = menu_->addSeparator();
  separator_->setObjectName("PopupMenuCodeGoSeparator");
  Rebuild();
}

void CodeGoMenu::Rebuild() {
  for (QAction* item : items_) {
    group_->removeAction(item);
    menu_->removeAction(item);
    item->deleteLater();  // the menu may be the one that is running this
  }
  items_.clear();
  // Whatever else followed the separator goes too: the list is ours.
  const QList<QAction*> actions = menu_->actions();
  const qsizetype sep = actions.indexOf(separator_);
  for (qsizetype i = sep + 1; sep >= 0 && i < actions.size(); ++i) menu_->removeAction(actions[i]);

  for (size_t i = 0; i < registry_.Entries.size(); ++i) {
    auto* item = new QAction(SjisToQString(registry_.Entries[i].Name).replace('&', "&&"), menu_);
    item->setCheckable(true);
    item->setData(static_cast<int>(i));
    group_->addAction(item);
    menu_->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] {
      emit MacroItemTriggered(item);
      Run(item, QGuiApplication::keyboardModifiers());
    });
    items_.push_back(item);
  }
  DefaultItem()->setChecked(true);
}

int CodeGoMenu::DefaultIndex() const { return registry_.Default == 0 ? 0 : registry_.Default + 1; }

QAction* CodeGoMenu::DefaultItem() const {
  const int32_t d = registry_.Default;
  if (d >= 1 && static_cast<size_t>(d) <= items_.size()) return items_[static_cast<size_t>(d) - 1];
  return url_item_;
}

const KeyCodeEntry* CodeGoMenu::Entry(const QAction* item) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == item && i < registry_.Entries.size()) return &registry_.Entries[i];
  }
  return nullptr;
}

void CodeGoMenu::Run(QAction* item, Qt::KeyboardModifiers modifiers) {
  if (!item || TakeDefaultClick(item, modifiers)) return;
  if (item == url_item_) {
    emit OpenBookmarkRequested();
  } else if (const KeyCodeEntry* entry = Entry(item)) {
    // A copy: playing runs the event loop, and a save may rebuild the list.
    emit CodeMacroRequested(std::string(entry->Macro));
  }
}

void CodeGoMenu::RunDefault(Qt::KeyboardModifiers modifiers) { Run(DefaultItem(), modifiers); }

bool CodeGoMenu::TakeDefaultClick(QAction* item, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::ControlModifier) {
    int32_t def = -1;
    if (item == url_item_) def = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i] == item) def = static_cast<int32_t>(i) + 1;
    }
    if (def >= 0) registry_.Default = def;
    DefaultItem()->setChecked(true);
    return true;
  }
  DefaultItem()->setChecked(true);
  return false;
}

}  // namespace sorvi

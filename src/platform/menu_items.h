#pragma once
// Menu items named as the program names them (tests and wiring find them by
// that name), with the item's tag as its data.
#include <QAction>
#include <QMenu>
#include <QString>

namespace sorvi {

inline QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption, int tag = 0) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setData(tag);
  return action;
}

}  // namespace sorvi

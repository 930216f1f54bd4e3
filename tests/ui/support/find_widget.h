#pragma once
// Finds a widget or menu item of the window by its object name, as a user
// finds it by its place; a missing one ends the test run loudly.
#include <QObject>
#include <QString>
#include <QtGlobal>

namespace sorvi::testing {

template <class T>
T* Find(const QObject* root, const char* name) {
  T* found = root->findChild<T*>(QString::fromLatin1(name));
  if (!found) qFatal("no %s named %s", T::staticMetaObject.className(), name);
  return found;
}

}  // namespace sorvi::testing

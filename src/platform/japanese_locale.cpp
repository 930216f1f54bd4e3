#include "platform/japanese_locale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace sorvi {

void UseJapanese(QCoreApplication* app) {
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  // The engine takes its language (error pages, form messages) from the
  // default locale when it starts.
  QLocale::setDefault(japanese);
  const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto* translator = new QTranslator(app);
  if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), dir))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;  // not installed: the dialogs stay in English
}

}  // namespace sorvi

// そるび: a tabbed viewer for stock charts and rankings.
#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/main_window.h"
#include "platform/app_version.h"
#include "platform/japanese_locale.h"
#include "platform/web_browser.h"

int main(int argc, char* argv[]) {
  // Answered before anything of the toolkit starts: works without a display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("sorvi %s\n", qPrintable(sorvi::AppVersion()));
      return 0;
    }
  }
  sorvi::PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  sorvi::UseJapanese(&app);
  QApplication::setApplicationName("Sorvi");
  QApplication::setApplicationDisplayName("そるび");
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(12);
  QApplication::setFont(font);
  try {
    sorvi::TFormMain window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, "そるび", QString::fromUtf8(error.what()));
    return 1;
  }
}

// そるび: a tabbed viewer for stock charts and rankings.
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/main_window.h"
#include "platform/app_version.h"
#include "platform/confirm_box.h"
#include "platform/data_directory.h"
#include "platform/japanese_locale.h"
#include "platform/terminate_signals.h"
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
  // The menu entry's name: desktops match the window to it and its icon.
  QGuiApplication::setDesktopFileName("jp.example.sorvi");
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QString(":/icons/sorvi-%1.png").arg(size), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(12);
  QApplication::setFont(font);
  try {
    // Needs the application's name, set above.
    const sorvi::DataDirectory data = sorvi::PrepareDataDirectory(
        QCoreApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    sorvi::TFormMain window(data.dir);
    window.show();
    sorvi::CloseOnTerminateSignals(&window, [&window] { window.CloseUnattended(); });
    if (!data.problem.isEmpty()) {
      QTimer::singleShot(0, &window, [&window, text = data.problem] { sorvi::ShowErrorBox(&window, text); });
    }
    return app.exec();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, "そるび", QString::fromUtf8(error.what()));
    return 1;
  }
}

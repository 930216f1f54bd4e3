#pragma once
// QTEST_MAIN for tests that open web views: the engine needs its attribute
// set before the application object exists, and runs in Japanese as in the
// program.
#include <QApplication>
#include <QTest>

#include "platform/japanese_locale.h"
#include "platform/web_browser.h"

#define SORVI_WEB_TEST_MAIN(TestClass)           \
  int main(int argc, char* argv[]) {             \
    sorvi::PrepareWebEngineBeforeQApplication(); \
    QApplication app(argc, argv);                \
    app.setAttribute(Qt::AA_Use96Dpi, true);     \
    sorvi::UseJapanese(&app);                    \
    TestClass test;                              \
    return QTest::qExec(&test, argc, argv);      \
  }

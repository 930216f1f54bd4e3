// The about box: the version of this build, the address label's hover
// colours, and a click on it handing the address to the desktop.
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "dialogs/about_dialog.h"
#include "platform/app_version.h"
#include "support/strict_warnings.h"

using sorvi::TFormAbout;

namespace {

QColor TextColor(QWidget* dialog, const char* name) {
  return dialog->findChild<QLabel*>(name)->palette().color(QPalette::WindowText);
}

// A mouse move as the widget under the pointer receives it.
void MoveOver(QWidget* widget, QPoint pos) {
  QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened << url; }
};

class AboutDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void showsTheBuildVersionInThreeLayers();
  void addressLabelsChangeColourUnderTheMouse();
  void clickOnTheAddressOpensItAndCloses();
  void backgroundIsTiled();
};

void AboutDialogTest::showsTheBuildVersionInThreeLayers() {
  TFormAbout about;
  about.show();
  QVERIFY(!sorvi::AppVersion().isEmpty());
  for (const char* name : {"Version1", "Version2", "Version3"})
    QCOMPARE(about.findChild<QLabel*>(name)->text(), QString("～ Version %1 ～").arg(sorvi::AppVersion()));
  QCOMPARE(TextColor(&about, "Version1"), QColor(0, 0, 255));
  QCOMPARE(about.size(), QSize(298, 213));
  // The blue line lies over its white and aqua copies.
  const QList<QObject*> order = about.children();
  QVERIFY(order.indexOf(about.findChild<QLabel*>("Version1")) > order.indexOf(about.findChild<QLabel*>("Version3")));
  QVERIFY(order.indexOf(about.findChild<QLabel*>("LabelURL1")) > order.indexOf(about.findChild<QLabel*>("LabelURL2")));
}

void AboutDialogTest::addressLabelsChangeColourUnderTheMouse() {
  TFormAbout about;
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  auto* url1 = about.findChild<QLabel*>("LabelURL1");
  MoveOver(&about, QPoint(10, 190));
  QTRY_COMPARE(TextColor(&about, "LabelURL1"), QColor(0, 0, 0));
  QCOMPARE(TextColor(&about, "LabelURL2"), QColor(255, 255, 0));
  MoveOver(url1, QPoint(5, 5));
  QTRY_COMPARE(TextColor(&about, "LabelURL1"), QColor(0, 0, 255));
  QCOMPARE(TextColor(&about, "LabelURL2"), QColor(255, 255, 255));
  // Back over the background.
  MoveOver(&about, QPoint(10, 190));
  QTRY_COMPARE(TextColor(&about, "LabelURL1"), QColor(0, 0, 0));
  QCOMPARE(TextColor(&about, "LabelURL2"), QColor(255, 255, 0));
}

void AboutDialogTest::clickOnTheAddressOpensItAndCloses() {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("https", &catcher, "Open");
  QDesktopServices::setUrlHandler("http", &catcher, "Open");
  TFormAbout about;
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  auto* url1 = about.findChild<QLabel*>("LabelURL1");
  QTest::mouseClick(url1, Qt::LeftButton, {}, QPoint(5, 5));
  QDesktopServices::unsetUrlHandler("https");
  QDesktopServices::unsetUrlHandler("http");
  QCOMPARE(catcher.opened, QList<QUrl>{QUrl(sorvi::AppHomepage())});
  QVERIFY(!about.isVisible());
}

void AboutDialogTest::backgroundIsTiled() {
  TFormAbout about;
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  const QImage shot = about.grab().toImage();
  // Corners far from every label show the same spot of two tiles.
  QCOMPARE(shot.pixelColor(2, 2), shot.pixelColor(128 + 2, 2));
  QCOMPARE(shot.pixelColor(2, 190), shot.pixelColor(256 + 2, 190));
  QCOMPARE(shot.pixelColor(2, 2), QColor(0xFF, 0xFB, 0xF0));
}

}  // namespace

QTEST_MAIN(AboutDialogTest)
#include "about_dialog_test.moc"

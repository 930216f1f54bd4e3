// The one conversion between the lists' code page 932 bytes and the screen.
#include <QRandomGenerator>
#include <QTest>

#include "platform/cp932.h"
#include "support/strict_warnings.h"

using namespace sorvi;

class Cp932Test : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void mapsLikeWindows_data();
  void mapsLikeWindows();
  void controlBytesStayThemselves();
  void charactersItCannotHoldBecomeQuestionMarks();
  void invalidBytesShowAsReplacementCharacters();
  void everyDoubleByteCodeSurvivesWhereWindowsKeepsIt();
  void randomBytesNeverCrash();
};

void Cp932Test::mapsLikeWindows_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("wave dash") << QByteArray("\x81\x60") << QString(QChar(0xFF5E));
  QTest::newRow("circled one") << QByteArray("\x87\x40") << QString(QChar(0x2460));
  QTest::newRow("small roman one") << QByteArray("\xFA\x40") << QString(QChar(0x2170));
  QTest::newRow("backslash") << QByteArray("\\") << QString("\\");
  QTest::newRow("tilde") << QByteArray("~") << QString("~");
  QTest::newRow("so with 0x5C") << QByteArray("\x83\x5C") << QString("ソ");
  QTest::newRow("hyo with 0x5C") << QByteArray("\x95\x5C") << QString("表");
  QTest::newRow("half-width kana") << QByteArray("\xB1\xB2") << QString("ｱｲ");
  QTest::newRow("full-width minus") << QByteArray("\x81\x7C") << QString(QChar(0xFF0D));
  QTest::newRow("mixed") << QByteArray("7203 \x83\x67\x83\x88\x83\x5E") << QString("7203 トヨタ");
}

void Cp932Test::mapsLikeWindows() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QCOMPARE(SjisToQString(bytes.toStdString()), text);
  QCOMPARE(QByteArray::fromStdString(QStringToSjis(text)), bytes);
}

void Cp932Test::controlBytesStayThemselves() {
  // Qt's own converter swaps these three; ours must not.
  for (char c : {char(0x1A), char(0x1C), char(0x7F)}) {
    const QString text = SjisToQString(std::string(1, c));
    QCOMPARE(text.size(), 1);
    QCOMPARE(text.at(0).unicode(), char16_t(uchar(c)));
    QCOMPARE(QStringToSjis(text), std::string(1, c));
  }
}

void Cp932Test::charactersItCannotHoldBecomeQuestionMarks() {
  QCOMPARE(QStringToSjis(QString("a") + QChar(0x00E9) + "b"), std::string("a?b"));
  QCOMPARE(QStringToSjis(QString::fromUtf8("株\xF0\x9F\x93\x88式")), std::string("\x8A\x94?\x8E\xAE"));
  // A lone surrogate is one unknown character, not a crash.
  QCOMPARE(QStringToSjis(QString(QChar(0xD800)) + "x"), std::string("?x"));
}

void Cp932Test::invalidBytesShowAsReplacementCharacters() {
  QCOMPARE(SjisToQString(std::string("a\x81")), QString("a") + QChar(0xFFFD));
  QCOMPARE(SjisToQString(std::string("\x81\x20z")), QString(QChar(0xFFFD)) + " z");
  QCOMPARE(SjisToQString(std::string("\xFD\xFE\xFF")).count(QChar(0xFFFD)), 3);
  const std::string with_nul("a\0b", 3);
  QCOMPARE(SjisToQString(with_nul).size(), 3);
}

void Cp932Test::everyDoubleByteCodeSurvivesWhereWindowsKeepsIt() {
  // Windows decodes every code of the lead-byte ranges that is defined, and
  // encodes it back to the same bytes except the known duplicates (NEC row
  // 13 and the IBM extensions that exist twice): 398 codes.
  int defined = 0, changed = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string bytes{char(lead), char(trail)};
      const QString text = SjisToQString(bytes);
      if (text.size() != 1 || text.at(0) == QChar(0xFFFD)) continue;
      ++defined;
      if (QStringToSjis(text) != bytes) ++changed;
    }
  }
  QCOMPARE(changed, 398);
  QVERIFY(defined > 7900);
}

void Cp932Test::randomBytesNeverCrash() {
  QRandomGenerator random(932);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes(size_t(random.bounded(64)), '\0');
    for (char& c : bytes) c = char(random.bounded(256));
    const QString text = SjisToQString(bytes);
    QVERIFY(text.size() <= qsizetype(bytes.size()));
    const std::string back = QStringToSjis(text);
    QVERIFY(back.size() <= bytes.size() * 2);
  }
}

QTEST_APPLESS_MAIN(Cp932Test)
#include "cp932_test.moc"

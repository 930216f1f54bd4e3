#include "platform/download_file_name.h"

#include <QStringDecoder>
#include <string>

#include "platform/cp932.h"

namespace sorvi {
namespace {

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The byte that the engine read as `c`, or -1 for a character it did not
// make of a single byte. Qt 6.4's engine reads such a name as ISO 8859-1;
// Qt 6.8's as windows-1252, whose 0x80-0x9F are other characters (the five
// bytes windows-1252 leaves undefined stay as in ISO 8859-1).
int EngineByte(QChar c) {
  if (c.unicode() <= 0xFF) return c.unicode();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  static constexpr char16_t kWindows1252High[32] = {
      0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  for (int i = 0; i < 32; ++i) {
    if (kWindows1252High[i] == c.unicode()) return 0x80 + i;
  }
#endif
  return -1;
}

bool IsUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  (void)QString(decoder(bytes));
  return !decoder.hasError();
}

}  // namespace

QString DownloadFileName(const QString& engine_name) {
  bool high = false;
  QByteArray bytes;
  for (const QChar c : engine_name) {
    const int b = EngineByte(c);
    if (b < 0) return engine_name;  // decoded properly already
    high = high || b >= 0x80;
    bytes += static_cast<char>(b);
  }
  if (!high) return engine_name;
  if (IsUtf8(bytes)) return engine_name;

  std::string sjis;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    sjis += static_cast<char>(b);
    if (!IsLeadByte(b)) continue;
    if (i + 1 < bytes.size() && IsTrailByte(static_cast<unsigned char>(bytes[i + 1])))
      sjis += bytes[++i];
    else
      sjis += '\x5c';  // the trail byte the engine took for an escape
  }
  const QString decoded = SjisToQString(sjis);
  return decoded.contains(QChar::ReplacementCharacter) ? engine_name : decoded;
}

}  // namespace sorvi

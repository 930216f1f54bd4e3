#include "platform/download_file_name.h"

#include <QStringDecoder>
#include <string>

#include "platform/cp932.h"

namespace sorvi {
namespace {

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

bool IsUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  (void)QString(decoder(bytes));
  return !decoder.hasError();
}

}  // namespace

QString DownloadFileName(const QString& engine_name) {
  bool high = false;
  for (const QChar c : engine_name) {
    if (c.unicode() > 0xFF) return engine_name;  // decoded properly already
    high = high || c.unicode() >= 0x80;
  }
  if (!high) return engine_name;
  const QByteArray bytes = engine_name.toLatin1();
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

#include "platform/download_file_name.h"

#include <string_view>

#include "core/text/download_name.h"
#include "platform/cp932.h"

namespace sorvi {
namespace {

QString Decoded(const std::optional<EncodedName>& name) {
  if (!name) return QString();
  const std::string& bytes = name->bytes;
  QString text;
  switch (name->charset) {
    case NameCharset::kUtf8: text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size())); break;
    case NameCharset::kCp932: text = SjisToQString(bytes); break;
    case NameCharset::kLatin1: text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size())); break;
  }
  // Bytes of a code that code page 932 leaves unassigned.
  return text.contains(QChar::ReplacementCharacter) ? QString() : text;
}

// Whether the engine may have made `c` of a single byte of a name: Qt 6.4
// reads such names as ISO 8859-1, Qt 6.8 as windows-1252, whose 0x80-0x9F
// are other characters.
bool SingleByteReading(QChar c) {
  if (c.unicode() <= 0xFF) return true;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  static constexpr char16_t kWindows1252High[] = {
      0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x017D, 0x2018,
      0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};
  for (const char16_t high : kWindows1252High) {
    if (high == c.unicode()) return true;
  }
#endif
  return false;
}

}  // namespace

bool EngineNameIsSound(const QString& engine_name) {
  if (engine_name.contains(QChar::ReplacementCharacter)) return false;
  bool high = false;
  for (const QChar c : engine_name) {
    // Decoded from UTF-8 or an extended name. A name the engine might have
    // read byte by byte goes to the server's own bytes, which say.
    if (!SingleByteReading(c)) return true;
    high = high || c.unicode() >= 0x80;
  }
  return !high;
}

QString DownloadFileName(const std::optional<QByteArray>& disposition, const QUrl& url) {
  QString name;
  if (disposition)
    name = Decoded(ContentDispositionFileName(std::string_view(disposition->data(), disposition->size())));
  if (name.isEmpty()) {
    const QByteArray path = url.path(QUrl::FullyEncoded).toLatin1();
    name = Decoded(UrlPathFileName(std::string_view(path.data(), path.size())));
  }
  return name.isEmpty() ? QStringLiteral("download") : name;
}

}  // namespace sorvi

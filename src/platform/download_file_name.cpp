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

}  // namespace

bool EngineNameIsSound(const QString& engine_name) {
  if (engine_name.contains(QChar::ReplacementCharacter)) return false;
  bool high = false;
  for (const QChar c : engine_name) {
    if (c.unicode() > 0xFF) return true;  // decoded from UTF-8 or an extended name
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

#include "platform/web_address.h"

#include <QStringDecoder>
#include <string>

#include "core/text/sjis.h"
#include "platform/cp932.h"

namespace sorvi::web_address {
namespace {

bool IsAsciiAlpha(uchar c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(uchar c) { return c >= '0' && c <= '9'; }
bool IsTrailByte(uchar c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }
bool IsHalfWidthKana(uchar c) { return c >= 0xA1 && c <= 0xDF; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The byte of a "%XX" escape at `i`, or -1.
int EscapeAt(const QByteArray& s, qsizetype i) {
  if (i + 2 >= s.size() || s[i] != '%') return -1;
  const int hi = HexValue(s[i + 1]);
  const int lo = HexValue(s[i + 2]);
  return (hi < 0 || lo < 0) ? -1 : hi * 16 + lo;
}

void AppendEscaped(QByteArray& out, uchar b) {
  static const char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[b >> 4];
  out += kHex[b & 15];
}

// Length of a leading "scheme:" (without the colon), or 0. "host:8080"
// is a host with a port, as a browser's address box takes it.
template <typename Text, typename At>
qsizetype SchemeLength(const Text& text, At at) {
  if (text.isEmpty() || !IsAsciiAlpha(at(0))) return 0;
  qsizetype i = 1;
  while (i < text.size()) {
    const uchar c = at(i);
    if (!(IsAsciiAlpha(c) || IsAsciiDigit(c) || c == '+' || c == '-' || c == '.')) break;
    ++i;
  }
  if (i >= text.size() || at(i) != ':') return 0;
  if (i + 1 < text.size() && IsAsciiDigit(at(i + 1))) return 0;
  return i;
}

qsizetype SchemeLength(const QByteArray& bytes) {
  return SchemeLength(bytes, [&](qsizetype i) { return uchar(bytes[i]); });
}

qsizetype SchemeLength(const QString& text) {
  return SchemeLength(text, [&](qsizetype i) {
    const char16_t c = text[i].unicode();
    return c < 0x80 ? uchar(c) : uchar(0);
  });
}

bool IsByteScheme(const QString& scheme) { return scheme == u"http" || scheme == u"https" || scheme == u"ftp"; }

// Keeps the bytes after the host as they are, except those a server would
// not get intact.
QByteArray EncodeAfterHost(const QByteArray& bytes, qsizetype from) {
  QByteArray out;
  out.reserve((bytes.size() - from) * 2);
  for (qsizetype i = from; i < bytes.size(); ++i) {
    const uchar b = uchar(bytes[i]);
    if (IsSjisLeadByte(b) && i + 1 < bytes.size() && IsTrailByte(uchar(bytes[i + 1]))) {
      const uchar trail = uchar(bytes[i + 1]);
      AppendEscaped(out, b);
      if (IsAsciiAlpha(trail))
        out += char(trail);
      else
        AppendEscaped(out, trail);  // 0x5C would become a path separator
      ++i;
    } else if (b >= 0x80 || b <= 0x20 || b == 0x7F || b == '"' || b == '<' || b == '>') {
      AppendEscaped(out, b);
    } else {
      out += char(b);
    }
  }
  return out;
}

QUrl FromByteSchemeAddress(const QByteArray& bytes, qsizetype scheme_length) {
  const QString scheme = QString::fromLatin1(bytes.left(scheme_length)).toLower();
  qsizetype rest = scheme_length + 1;
  QString head = scheme + u':';
  if (bytes.mid(rest, 2) == "//") {
    qsizetype end = rest + 2;
    while (end < bytes.size() && bytes[end] != '/' && bytes[end] != '?' && bytes[end] != '#') ++end;
    // A host in Japanese becomes its IDN form through QUrl.
    head += SjisToQString(std::string_view(bytes.constData() + rest, size_t(end - rest)));
    rest = end;
  }
  return QUrl(head + QString::fromLatin1(EncodeAfterHost(bytes, rest)), QUrl::TolerantMode);
}

bool IsValidUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  return !decoder.hasError();
}

// Decodes a run of escapes starting at `i` that forms code page 932 text;
// returns false (and leaves `text`, `end`) when it is not such a run.
bool DecodeSjisRun(const QByteArray& s, qsizetype i, QString* text, qsizetype* end) {
  QByteArray bytes;
  qsizetype j = i;
  for (int b = EscapeAt(s, j); b >= 0x80; b = EscapeAt(s, j)) {
    j += 3;
    if (IsSjisLeadByte(uchar(b))) {
      const int escaped_trail = EscapeAt(s, j);
      if (escaped_trail >= 0 && IsTrailByte(uchar(escaped_trail))) {
        bytes += char(b);
        bytes += char(escaped_trail);
        j += 3;
      } else if (escaped_trail < 0 && j < s.size() && uchar(s[j]) >= 0x40 && uchar(s[j]) <= 0x7E) {
        bytes += char(b);
        bytes += s[j];
        j += 1;
      } else {
        return false;
      }
    } else if (IsHalfWidthKana(uchar(b))) {
      bytes += char(b);
    } else {
      return false;
    }
  }
  if (bytes.isEmpty() || IsValidUtf8(bytes)) return false;
  const std::string_view view(bytes.constData(), size_t(bytes.size()));
  const QString decoded = SjisToQString(view);
  // Only what converts back to the very same bytes is shown decoded.
  if (decoded.contains(QChar(0xFFFD)) || QStringToSjis(decoded) != view) return false;
  // A full-width space ending the address would be trimmed off when the
  // shown text is opened again.
  if (j == s.size() && decoded.back().isSpace()) return false;
  *text = decoded;
  *end = j;
  return true;
}

}  // namespace

QUrl FromSjis(const QByteArray& sjis) {
  const std::string_view trimmed = TrimControlAndBlank(std::string_view(sjis.constData(), size_t(sjis.size())));
  const QByteArray bytes(trimmed.data(), qsizetype(trimmed.size()));
  if (bytes.isEmpty()) return QUrl();
  if (bytes.startsWith('/')) return QUrl::fromLocalFile(SjisToQString(trimmed));
  const qsizetype scheme_length = SchemeLength(bytes);
  if (scheme_length == 0) return FromByteSchemeAddress("http://" + bytes, 4);
  if (!IsByteScheme(QString::fromLatin1(bytes.left(scheme_length)).toLower()))
    return QUrl(SjisToQString(trimmed), QUrl::TolerantMode);
  return FromByteSchemeAddress(bytes, scheme_length);
}

QUrl FromText(const QString& text) {
  QString t = text.trimmed();
  const std::string sjis = QStringToSjis(t);
  if (SjisToQString(sjis) == t) return FromSjis(QByteArray::fromStdString(sjis));
  if (t.startsWith(u'/')) return QUrl::fromLocalFile(t);
  if (SchemeLength(t) == 0) t.prepend(u"http://");
  return QUrl(t, QUrl::TolerantMode);
}

QString Display(const QUrl& url) {
  if (url.isEmpty()) return QString();
  if (!IsByteScheme(url.scheme())) return url.toString();
  const QByteArray encoded = url.toEncoded();
  // Only bytes after the host were sent as code page 932 bytes; escapes in
  // the user name or password stand for UTF-8 and stay as they are.
  const QByteArray authority = url.toEncoded(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment);
  const qsizetype after_host = encoded.startsWith(authority) ? authority.size() : 0;
  QString out = QString::fromLatin1(encoded.left(after_host));
  out.reserve(encoded.size());
  qsizetype i = after_host;
  while (i < encoded.size()) {
    if (EscapeAt(encoded, i) >= 0x80) {
      QString text;
      qsizetype end = i;
      if (DecodeSjisRun(encoded, i, &text, &end)) {
        out += text;
        i = end;
        continue;
      }
      // Not code page 932 text: keep every escape of the run as it is, so
      // that no part of it is decoded on its own.
      while (EscapeAt(encoded, i) >= 0) {
        out += QLatin1String(encoded.constData() + i, 3);
        i += 3;
      }
      continue;
    }
    out += QChar(uchar(encoded[i]));
    ++i;
  }
  return out;
}

}  // namespace sorvi::web_address

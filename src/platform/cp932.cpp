#include "platform/cp932.h"

#include <iconv.h>
#include <cerrno>
#include <cstring>

namespace sorvi {
namespace {

// One descriptor per direction for the life of the program (UI thread only).
iconv_t Converter(const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  return cd;
}

iconv_t Decoder() {
  static iconv_t cd = Converter("UTF-16LE", "CP932");
  return cd;
}

iconv_t Encoder() {
  static iconv_t cd = Converter("CP932", "UTF-16LE");
  return cd;
}

}  // namespace

QString SjisToQString(std::string_view bytes) {
  QString out;
  if (bytes.empty()) return out;
  iconv_t cd = Decoder();
  if (cd == reinterpret_cast<iconv_t>(-1)) return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.resize(qsizetype(bytes.size()));  // never more UTF-16 units than bytes
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char* dst = reinterpret_cast<char*>(out.data());
  size_t dst_left = size_t(out.size()) * 2;
  while (in_left > 0) {
    if (iconv(cd, &in, &in_left, &dst, &dst_left) != size_t(-1)) break;
    if (errno == E2BIG) break;  // cannot happen: output is sized for the worst case
    // EILSEQ or EINVAL: show the offending byte as a replacement character.
    const char16_t replacement = u'\uFFFD';
    std::memcpy(dst, &replacement, 2);
    dst += 2;
    dst_left -= 2;
    ++in;
    --in_left;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(qsizetype((reinterpret_cast<QChar*>(dst) - out.data())));
  return out;
}

std::string QStringToSjis(const QString& text) {
  std::string out;
  if (text.isEmpty()) return out;
  iconv_t cd = Encoder();
  if (cd == reinterpret_cast<iconv_t>(-1)) return text.toLatin1().toStdString();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.resize(size_t(text.size()) * 2);  // at most two bytes per UTF-16 unit
  char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
  size_t in_left = size_t(text.size()) * 2;
  char* dst = out.data();
  size_t dst_left = out.size();
  while (in_left > 0) {
    if (iconv(cd, &in, &in_left, &dst, &dst_left) != size_t(-1)) break;
    if (errno == E2BIG) break;
    // A character the code page cannot hold (or a lone surrogate): "?" for
    // the whole character.
    const auto* at = reinterpret_cast<const char16_t*>(in);
    const bool pair = at[0] >= 0xD800 && at[0] <= 0xDBFF && in_left >= 4 && at[1] >= 0xDC00 && at[1] <= 0xDFFF;
    const size_t units = pair ? 2 : 1;
    *dst++ = '?';
    --dst_left;
    in += units * 2;
    in_left -= units * 2;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(size_t(dst - out.data()));
  return out;
}

}  // namespace sorvi

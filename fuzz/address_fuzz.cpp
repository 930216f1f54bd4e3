// Addresses between the address box and the engine, and the code page 932
// conversion under them: the bytes of an address come from the input, and
// so does a text as typed. An address shown and opened again leads to the
// same address; what reaches the engine is plain printable ASCII; the two
// conversions agree with each other.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/cp932.h"
#include "platform/web_address.h"

namespace sorvi::fuzz {
namespace {

void CheckConversions(std::string_view bytes, const QString& typed) {
  const QString text = SjisToQString(bytes);
  FUZZ_CHECK(text.size() <= qsizetype(bytes.size()), "more characters than bytes");
  if (!text.contains(QChar(0xFFFD))) {
    FUZZ_CHECK(SjisToQString(QStringToSjis(text)) == text, "a decoded text does not survive encoding");
  }
  const std::string sjis = QStringToSjis(typed);
  FUZZ_CHECK(sjis.size() <= size_t(typed.size()) * 2, "more than two bytes per unit");
  const QString back = SjisToQString(sjis);
  FUZZ_CHECK(!back.contains(QChar(0xFFFD)), "an encoded text does not decode");
  FUZZ_CHECK(QStringToSjis(back) == sjis, "encoding is not stable");
}

bool IsByteScheme(const QUrl& url) {
  return url.scheme() == "http" || url.scheme() == "https" || url.scheme() == "ftp";
}

// Second bytes of double-byte characters other than letters go to the
// engine escaped, even where the address had them bare; none of them is a
// delimiter of an address, so both forms name the same page.
QByteArray Canonical(const QByteArray& encoded) {
  QByteArray out;
  for (qsizetype i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%' && i + 2 < encoded.size()) {
      bool ok = false;
      const int b = encoded.mid(i + 1, 2).toInt(&ok, 16);
      if (ok && b >= 0x40 && b <= 0x7E && b != 0x5C) {
        out += char(b);
        i += 2;
        continue;
      }
    }
    out += encoded[i];
  }
  return out;
}

void CheckAddress(const QUrl& url, const char* from) {
  if (!url.isValid() || !IsByteScheme(url)) return;
  const QByteArray encoded = url.toEncoded();
  for (char c : encoded) {
    if (uchar(c) <= 0x20 || uchar(c) >= 0x7F) {
      std::fprintf(stderr, "%s: %s\n", from, encoded.constData());
      FUZZ_CHECK(false, "an address for the engine holds a byte that is not printable ASCII");
    }
  }
  const QString shown = web_address::Display(url);
  const QUrl reopened = web_address::FromText(shown);
  if (Canonical(reopened.toEncoded()) != Canonical(encoded)) {
    std::fprintf(stderr, "%s\n  address: %s\n  shown:   %s\n  reopens: %s\n", from, encoded.constData(),
                 shown.toUtf8().constData(), reopened.toEncoded().constData());
    FUZZ_CHECK(false, "the address shown opens another address");
  }
}

void Run(std::string_view bytes, std::string_view utf16) {
  QString typed;
  for (size_t i = 0; i + 1 < utf16.size(); i += 2)
    typed += QChar(char16_t(uchar(utf16[i]) | (uchar(utf16[i + 1]) << 8)));
  CheckConversions(bytes, typed);

  const QByteArray address(bytes.data(), qsizetype(bytes.size()));
  CheckAddress(web_address::FromSjis(address), "bytes");
  CheckAddress(web_address::FromText(typed), "typed");
  CheckAddress(web_address::FromText(SjisToQString(bytes)), "bytes as text");
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvi::fuzz;
  const std::vector<std::string_view> fields = SplitFields(AsView(data, size), 2);
  const ExactBytes bytes(fields[0]), utf16(fields[1]);
  Run(bytes.view(), utf16.view());
  return 0;
}

#include "core/text/download_name.h"

#include <algorithm>

#include "core/text/sjis.h"

namespace sorvi {
namespace {

bool IsSjisTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1, min = 0x80, code = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2, min = 0x800, code = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3, min = 0x10000, code = b & 0x07;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code = (code << 6) | (c & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

// Every byte a single-byte character or a lead byte with its trail byte.
bool IsWellFormedSjis(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSjisLeadByte(b)) {
      if (i + 1 >= s.size() || !IsSjisTrailByte(static_cast<unsigned char>(s[i + 1]))) return false;
      ++i;
    } else if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
      return false;
    }
  }
  return true;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%XX" becomes its byte; a '%' not followed by two hex digits stays.
std::string PercentDecoded(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int high = HexValue(s[i + 1]), low = HexValue(s[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// How a quoted value's backslashes are read.
enum class Quoting {
  kEscapes,    // every backslash escapes the next byte, as the header rules say
  kSjisPairs,  // a code page 932 lead byte takes the next byte as its own first
};

struct Params {
  std::optional<std::string> name;      // filename=
  std::string name_as_sent;             // its bytes between the quotes, nothing taken out
  std::optional<std::string> extended;  // filename*=, as sent
};

Params ReadParams(std::string_view value, Quoting quoting) {
  Params params;
  size_t i = value.find(';');  // past the disposition type
  while (i < value.size()) {
    ++i;  // the ';'
    const size_t equals = value.find_first_of("=;", i);
    if (equals == std::string_view::npos || value[equals] == ';') {
      i = equals;
      continue;
    }
    const std::string_view key = Trimmed(value.substr(i, equals - i));
    i = equals + 1;
    while (i < value.size() && IsBlank(value[i])) ++i;
    std::string parameter;
    std::string_view as_sent;
    if (i < value.size() && value[i] == '"') {
      const size_t start = i + 1;
      for (++i; i < value.size() && value[i] != '"'; ++i) {
        const auto b = static_cast<unsigned char>(value[i]);
        if (quoting == Quoting::kSjisPairs && IsSjisLeadByte(b) && i + 1 < value.size() &&
            IsSjisTrailByte(static_cast<unsigned char>(value[i + 1]))) {
          parameter += value[i++];
        } else if (value[i] == '\\' && i + 1 < value.size()) {
          ++i;
        }
        parameter += value[i];
      }
      as_sent = value.substr(start, std::min(i, value.size()) - start);
      i = value.find(';', i);  // whatever follows the closing quote up to the next parameter
    } else {
      const size_t end = value.find(';', i);
      parameter = Trimmed(value.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i));
      as_sent = parameter;
      i = end;
    }
    if (SjisEqualsIgnoringCase(key, "filename") && !params.name) {
      params.name = parameter;
      params.name_as_sent = as_sent;
    }
    if (SjisEqualsIgnoringCase(key, "filename*") && !params.extended) params.extended = parameter;
  }
  return params;
}

std::optional<EncodedName> Checked(std::string bytes, NameCharset charset) {
  for (char& c : bytes)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '/') c = '_';
  const std::string_view kept = Trimmed(bytes);
  if (kept.empty() || kept == "." || kept == "..") return std::nullopt;
  return EncodedName{std::string(kept), charset};
}

// charset'language'percent-encoded-bytes
std::optional<EncodedName> ExtendedName(std::string_view ext) {
  const size_t first = ext.find('\'');
  const size_t second = first == std::string_view::npos ? first : ext.find('\'', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::string_view charset = ext.substr(0, first);
  std::string bytes = PercentDecoded(ext.substr(second + 1));
  if (SjisEqualsIgnoringCase(charset, "UTF-8")) {
    if (IsUtf8(bytes)) return Checked(std::move(bytes), NameCharset::kUtf8);
  } else if (SjisEqualsIgnoringCase(charset, "ISO-8859-1")) {
    return Checked(std::move(bytes), NameCharset::kLatin1);
  } else if (SjisEqualsIgnoringCase(charset, "Shift_JIS") || SjisEqualsIgnoringCase(charset, "Windows-31J") ||
             SjisEqualsIgnoringCase(charset, "CP932")) {
    if (IsWellFormedSjis(bytes)) return Checked(std::move(bytes), NameCharset::kCp932);
  }
  return std::nullopt;
}

// Raw bytes as UTF-8 when they are, else as code page 932 when well formed.
std::optional<EncodedName> DecodedBytes(std::string bytes) {
  if (IsUtf8(bytes)) return Checked(std::move(bytes), NameCharset::kUtf8);
  if (IsWellFormedSjis(bytes)) return Checked(std::move(bytes), NameCharset::kCp932);
  return std::nullopt;
}

}  // namespace

std::optional<EncodedName> ContentDispositionFileName(std::string_view value) {
  const Params escaped = ReadParams(value, Quoting::kEscapes);
  const Params paired = ReadParams(value, Quoting::kSjisPairs);
  // The reading that fits the name's bytes as sent: UTF-8 (ASCII included)
  // follows the header rules; else code page 932 keeps each double-byte
  // character whole, as the server meant; else the header rules once more.
  const bool utf8 = escaped.name && IsUtf8(escaped.name_as_sent);
  const bool cp932 = !utf8 && paired.name && IsWellFormedSjis(*paired.name);
  const Params& chosen = cp932 ? paired : escaped;
  const Params& other = cp932 ? escaped : paired;
  // A usable extended name wins, wherever a reading finds it.
  for (const Params* params : {&chosen, &other})
    if (params->extended)
      if (auto name = ExtendedName(*params->extended)) return name;
  if (!chosen.name) return std::nullopt;
  if (cp932) return Checked(*chosen.name, NameCharset::kCp932);
  if (IsAscii(*chosen.name)) {
    if (auto decoded = DecodedBytes(PercentDecoded(*chosen.name))) return decoded;
    return Checked(*chosen.name, NameCharset::kUtf8);
  }
  return DecodedBytes(*chosen.name);
}

std::optional<EncodedName> UrlPathFileName(std::string_view encoded_path) {
  encoded_path = encoded_path.substr(0, encoded_path.find_first_of("?#"));
  const size_t slash = encoded_path.rfind('/');
  const std::string_view segment = slash == std::string_view::npos ? encoded_path : encoded_path.substr(slash + 1);
  return DecodedBytes(PercentDecoded(segment));
}

}  // namespace sorvi

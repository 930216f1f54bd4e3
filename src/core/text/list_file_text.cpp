#include "core/text/list_file_text.h"

#include <initializer_list>

namespace sorvi {
namespace {

struct TrailRange {
  unsigned char first, last;
};

// Assigned trail bytes of the lead bytes whose rows have holes; every other
// lead byte takes 40-7E and 80-FC.
bool IsAssigned(unsigned char lead, unsigned char trail) {
  auto in = [trail](std::initializer_list<TrailRange> ranges) {
    for (const TrailRange& r : ranges)
      if (trail >= r.first && trail <= r.last) return true;
    return false;
  };
  switch (lead) {
    case 0x81:
      return in({{0x40, 0x7E}, {0x80, 0xAC}, {0xB8, 0xBF}, {0xC8, 0xCE}, {0xDA, 0xE8}, {0xF0, 0xF7}, {0xFC, 0xFC}});
    case 0x82: return in({{0x4F, 0x58}, {0x60, 0x79}, {0x81, 0x9A}, {0x9F, 0xF1}});
    case 0x83: return in({{0x40, 0x7E}, {0x80, 0x96}, {0x9F, 0xB6}, {0xBF, 0xD6}});
    case 0x84: return in({{0x40, 0x60}, {0x70, 0x7E}, {0x80, 0x91}, {0x9F, 0xBE}});
    case 0x87: return in({{0x40, 0x5D}, {0x5F, 0x75}, {0x7E, 0x7E}, {0x80, 0x9C}});
    case 0x88: return in({{0x9F, 0xFC}});
    case 0x98: return in({{0x40, 0x72}, {0x9F, 0xFC}});
    case 0xEA: return in({{0x40, 0x7E}, {0x80, 0xA4}});
    case 0xEE: return in({{0x40, 0x7E}, {0x80, 0xEC}, {0xEF, 0xFC}});
    case 0xFC: return in({{0x40, 0x4B}});
    default: break;
  }
  const bool lead_ok = (lead >= 0x89 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xE9) || lead == 0xED ||
                       (lead >= 0xF0 && lead <= 0xFB);
  return lead_ok && ((trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC));
}

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

bool IsValidCp932(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
    if (!IsLead(b) || i + 1 >= bytes.size()) return false;
    if (!IsAssigned(b, static_cast<unsigned char>(bytes[i + 1]))) return false;
    ++i;
  }
  return true;
}

bool LooksLikeUtf8(std::string_view bytes) {
  bool multibyte = false;
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t length;
    unsigned int min;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4, min = 0x10000;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    unsigned int code = b & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code = (code << 6) | (c & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    multibyte = true;
    i += length;
  }
  return multibyte;
}

ListFileText CheckListFileText(std::string_view file_bytes) {
  ListFileText text{file_bytes, true};
  // The lists end at the first NUL; what follows is never read.
  if (const size_t nul = file_bytes.find('\0'); nul != std::string_view::npos) {
    text.unread_bytes = file_bytes.size() - nul;
    file_bytes = file_bytes.substr(0, nul);
  }
  if (file_bytes.starts_with("\xEF\xBB\xBF")) {
    text.bytes = file_bytes.substr(3);
    text.shift_jis = false;
    return text;
  }
  text.shift_jis = IsValidCp932(file_bytes) && !LooksLikeUtf8(file_bytes);
  return text;
}

}  // namespace sorvi

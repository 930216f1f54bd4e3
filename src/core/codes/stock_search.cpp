#include "core/codes/stock_search.h"

#include <array>

#include "core/text/sjis.h"

namespace sorvi {

namespace {

constexpr char16_t Dbcs(unsigned lead, unsigned trail) { return char16_t((lead << 8) | trail); }

// Half-width katakana 0xA1..0xDF and their full-width forms.
constexpr std::array<char16_t, 63> kHalfWidthKana = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348,  // ｡..ｫ
    0x8383, 0x8385, 0x8387, 0x8362, 0x815B,                                                  // ｬ..ｰ
    0x8341, 0x8343, 0x8345, 0x8347, 0x8349,                                                  // ｱ..ｵ
    0x834A, 0x834C, 0x834E, 0x8350, 0x8352,                                                  // ｶ..ｺ
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C,                                                  // ｻ..ｿ
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367,                                                  // ﾀ..ﾄ
    0x8369, 0x836A, 0x836B, 0x836C, 0x836D,                                                  // ﾅ..ﾉ
    0x836E, 0x8371, 0x8374, 0x8377, 0x837A,                                                  // ﾊ..ﾎ
    0x837D, 0x837E, 0x8380, 0x8381, 0x8382,                                                  // ﾏ..ﾓ
    0x8384, 0x8386, 0x8388,                                                                  // ﾔ..ﾖ
    0x8389, 0x838A, 0x838B, 0x838C, 0x838D,                                                  // ﾗ..ﾛ
    0x838F, 0x8393, 0x814A, 0x814B,                                                          // ﾜ ﾝ ﾞ ﾟ
};

constexpr char16_t kKatakanaU = 0x8345;   // ウ
constexpr char16_t kKatakanaVu = 0x8394;  // ヴ

bool TakesSemiVoicedMark(char16_t kana) { return kana >= 0x836E && kana <= 0x837A && (kana - 0x836E) % 3 == 0; }

// The kana that half-width input gives before a voiced mark: カ..チ (their
// voiced forms sit in between), ツ テ ト, and ハ..ホ.
bool TakesVoicedMark(char16_t kana) {
  if (kana >= 0x834A && kana <= 0x8360) return kana % 2 == 0;
  return kana == 0x8363 || kana == 0x8365 || kana == 0x8367 || TakesSemiVoicedMark(kana);
}

char16_t FoldDoubleByte(unsigned lead, unsigned trail) {
  if (lead == 0x81 && trail == 0x40) return u' ';
  if (lead == 0x82) {
    if (trail >= 0x4F && trail <= 0x58) return char16_t('0' + trail - 0x4F);
    if (trail >= 0x60 && trail <= 0x79) return char16_t('a' + trail - 0x60);
    if (trail >= 0x81 && trail <= 0x9A) return char16_t('a' + trail - 0x81);
    if (trail >= 0x9F && trail <= 0xF1) {
      // ぁ..ん line up with ァ..ン, whose row skips the byte 0x7F.
      unsigned k = 0x40 + (trail - 0x9F);
      if (k >= 0x7F) ++k;
      return Dbcs(0x83, k);
    }
  }
  return Dbcs(lead, trail);
}

}  // namespace

FoldedText FoldForSearch(std::string_view sjis) {
  FoldedText out;
  out.reserve(sjis.size());
  for (size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (IsSjisLeadByte(b) && i + 1 < sjis.size()) {
      out.push_back(FoldDoubleByte(b, static_cast<unsigned char>(sjis[++i])));
    } else if (b >= 'A' && b <= 'Z') {
      out.push_back(char16_t(b - 'A' + 'a'));
    } else if (b >= 0xA1 && b <= 0xDF) {
      const char16_t kana = kHalfWidthKana[b - 0xA1];
      const bool mark = kana == 0x814A || kana == 0x814B;
      if (mark && !out.empty()) {
        char16_t& last = out.back();
        if (kana == 0x814A && last == kKatakanaU) {
          last = kKatakanaVu;
          continue;
        }
        if (kana == 0x814A ? TakesVoicedMark(last) : TakesSemiVoicedMark(last)) {
          last = char16_t(last + (kana == 0x814A ? 1 : 2));
          continue;
        }
      }
      out.push_back(kana);
    } else {
      out.push_back(char16_t(b));
    }
  }
  return out;
}

void StockSearch::Assign(const std::vector<std::string>& texts) {
  folded_.clear();
  folded_.reserve(texts.size());
  for (const std::string& text : texts) folded_.push_back(FoldForSearch(text));
}

int StockSearch::FindFrom(std::string_view query, size_t from) const {
  const FoldedText key = FoldForSearch(query);
  if (key.empty() || folded_.empty()) return -1;
  const size_t n = folded_.size();
  from %= n;
  for (size_t step = 0; step < n; ++step) {
    const size_t i = (from + step) % n;
    if (folded_[i].find(key) != FoldedText::npos) return int(i);
  }
  return -1;
}

}  // namespace sorvi

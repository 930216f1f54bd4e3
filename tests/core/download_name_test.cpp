#include "core/text/download_name.h"

#include <gtest/gtest.h>

namespace sorvi {
namespace {

struct Row {
  const char* what;
  std::string input;
  std::optional<std::string> bytes;  // nullopt: no name
  NameCharset charset = NameCharset::kUtf8;
};

void Check(const Row& row, const std::optional<EncodedName>& got) {
  SCOPED_TRACE(row.what);
  ASSERT_EQ(got.has_value(), row.bytes.has_value());
  if (!got) return;
  EXPECT_EQ(got->bytes, *row.bytes);
  EXPECT_EQ(got->charset, row.charset);
}

const auto kSjis = NameCharset::kCp932;

TEST(DownloadNameTest, ContentDispositionValues) {
  const Row rows[] = {
      // Code page 932 inside quotes: 0x5C trail bytes are part of their character.
      {"ソニー株価表", "attachment; filename=\"\x83\x5c\x83\x6a\x81\x5b\x8a\x94\x89\xbf\x95\x5c.csv\"",
       "\x83\x5c\x83\x6a\x81\x5b\x8a\x94\x89\xbf\x95\x5c.csv", kSjis},
      {"表示データ", "attachment; filename=\"\x95\x5c\x8e\xa6\x83\x66\x81\x5b\x83\x5e.csv\"",
       "\x95\x5c\x8e\xa6\x83\x66\x81\x5b\x83\x5e.csv", kSjis},
      {"能力 then more parameters", "attachment; filename=\"\x94\x5c\x97\xcd.csv\"; size=10", "\x94\x5c\x97\xcd.csv",
       kSjis},
      {"表 before the closing quote", "attachment;filename=\"\x95\x5c\"", "\x95\x5c", kSjis},
      {"unquoted code page 932", "attachment; filename=\x83\x5c.csv ; x=1", "\x83\x5c.csv", kSjis},
      {"half-width katakana", "inline; filename=\"\xb6\xcb\xde.txt\"", "\xb6\xcb\xde.txt", kSjis},
      {"表 then an extended name", "attachment; filename=\"\x95\x5c\"; filename*=UTF-8''a", "a"},
      {"badly formed then an extended name", "attachment; filename=\"\xff\x95\x5c\"; filename*=UTF-8''a", "a"},
      {"畚亜, UTF-8 once the 0x5C is taken out", "attachment; filename=\"\xe1\x5c\x88\x9f\"", "\xe1\x5c\x88\x9f",
       kSjis},
      {"畚亜ﾄ表 then more parameters", "attachment; filename=\"\xe1\x5c\x88\x9f\xc4\x95\x5c\"; size=1",
       "\xe1\x5c\x88\x9f\xc4\x95\x5c", kSjis},
      // UTF-8 and ASCII follow the header rules: backslash escapes.
      {"UTF-8 as sent", "attachment; filename=\"\xe6\x97\xa5\xe8\xb6\xb3.csv\"", "\xe6\x97\xa5\xe8\xb6\xb3.csv"},
      {"escaped quote", "attachment; filename=\"a\\\"b.csv\"", "a\"b.csv"},
      {"escaped quote after UTF-8", "attachment; filename=\"\xe3\x81\x82\\\"b.csv\"", "\xe3\x81\x82\"b.csv"},
      {"percent-encoded UTF-8", "attachment; filename=\"%E6%A0%AA.csv\"", "\xe6\xa0\xaa.csv"},
      {"percent-encoded code page 932", "attachment; filename=%8A%94.csv", "\x8a\x94.csv", kSjis},
      {"percent that decodes to nothing readable", "attachment; filename=\"100%FF.csv\"", "100%FF.csv"},
      // The extended name wins over the plain one, in any order.
      {"extended UTF-8", "attachment; filename*=UTF-8''%E9%80%B1.csv; filename=\"plain.csv\"", "\xe9\x80\xb1.csv"},
      {"extended Shift_JIS", "attachment; FILENAME*=shift_jis'ja'%95%5C.csv", "\x95\x5c.csv", kSjis},
      {"extended Latin-1", "attachment; filename*=ISO-8859-1''caf%E9.csv", "caf\xe9.csv", NameCharset::kLatin1},
      {"extended of unknown charset", "attachment; filename*=EUC-JP''%B3%F4.csv; filename=a.csv", "a.csv"},
      {"extended UTF-8 that is not", "attachment; filename*=UTF-8''%95%5C.csv", std::nullopt},
      // Never a path, never nothing.
      {"slashes and controls", "attachment; filename=\"../etc/pass\twd\"", ".._etc_pass_wd"},
      {"dots only", "attachment; filename=\"..\"", std::nullopt},
      {"empty", "attachment; filename=\"\"", std::nullopt},
      {"no file name", "attachment", std::nullopt},
      {"neither UTF-8 nor code page 932", "attachment; filename=\"\x81\x20\xff.csv\"", std::nullopt},
  };
  for (const Row& row : rows) Check(row, ContentDispositionFileName(row.input));
}

TEST(DownloadNameTest, AddressPaths) {
  const Row rows[] = {
      {"code page 932 escaped", "/files/%8A%94%89%BF%95%5C.csv", "\x8a\x94\x89\xbf\x95\x5c.csv", kSjis},
      {"UTF-8 escaped", "/%E6%97%A5%E8%B6%B3.csv", "\xe6\x97\xa5\xe8\xb6\xb3.csv"},
      {"query and fragment are not the name", "/get/prices.csv?code=7203#top", "prices.csv"},
      {"an escaped slash stays in the name", "/a%2Fb.csv", "a_b.csv"},
      {"a directory", "/files/", std::nullopt},
      {"neither", "/%FF%FE.csv", std::nullopt},
  };
  for (const Row& row : rows) Check(row, UrlPathFileName(row.input));
}

}  // namespace
}  // namespace sorvi

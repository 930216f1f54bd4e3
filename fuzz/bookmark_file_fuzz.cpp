// SV_List.txt: any bytes as the file. Every bookmark read has fields the
// format can hold, and what is read saves and reads back as the same list.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/bookmarks/url_bookmark.h"
#include "core/text/list_file_text.h"
#include "fuzz_support.h"

namespace sorvi::fuzz {
namespace {

bool HoldsLineEndOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

void Run(std::string_view file_bytes) {
  const ListFileText text = CheckListFileText(file_bytes);
  const std::vector<UrlBookmark> list = ParseBookmarkFile(text.bytes);

  // A "[" at the start of the text or after a CR or LF opens a bookmark.
  const std::string_view readable = text.bytes.substr(0, text.bytes.find('\0'));
  size_t header_lines = 0;
  for (size_t i = 0; i < readable.size(); ++i)
    header_lines += readable[i] == '[' && (i == 0 || readable[i - 1] == '\r' || readable[i - 1] == '\n');
  FUZZ_CHECK(list.size() == header_lines, "not one bookmark per [ line");

  for (const UrlBookmark& b : list) {
    FUZZ_CHECK(b.fixed_title == 0 || b.fixed_title == 1, "fixed title flag out of range");
    FUZZ_CHECK(b.key_macro_state >= -1 && b.key_macro_state <= 1, "key macro state out of range");
    FUZZ_CHECK(b.key_macro_state != -1 || b.key_macro.empty(), "key macro text without a key macro line");
    for (const std::string* field : {&b.name, &b.title, &b.url_macro, &b.key_macro})
      FUZZ_CHECK(!HoldsLineEndOrNul(*field), "a field holds a line end");
    const char first = b.url_macro.empty() ? 'x' : b.url_macro.front();
    FUZZ_CHECK(first != '[' && first != '*' && first != '-' && first != '+',
               "URL macro starts like another kind of line");
  }

  const std::string saved = SerializeBookmarkList(list);
  const ExactBytes saved_copy(saved);
  const std::vector<UrlBookmark> again = ParseBookmarkFile(saved_copy.view());
  FUZZ_CHECK(again == list, "saved list reads back otherwise");
  FUZZ_CHECK(SerializeBookmarkList(again) == saved, "second save differs from the first");
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const sorvi::fuzz::ExactBytes input(sorvi::fuzz::AsView(data, size));
  sorvi::fuzz::Run(input.view());
  return 0;
}

// Texts a web page or server hands the program: the features of
// window.open, a page title as the tab caption, and a download's
// Content-Disposition value (or address path) as the server sent it.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/tabs/tab_title.h"
#include "core/tabs/window_features.h"
#include "core/text/download_name.h"
#include "core/text/sjis.h"
#include "fuzz_support.h"
#include "platform/download_file_name.h"

namespace sorvi::fuzz {
namespace {

void CheckFeatures(std::string_view features) {
  const RequestedWindowSize size = ParseWindowFeatures(features);
  FUZZ_CHECK(size.width >= 0 && size.width <= 1000000 && size.height >= 0 && size.height <= 1000000,
             "a requested size out of range");
  FUZZ_CHECK(size.has_width || size.width == 0, "a width without a width feature");
  FUZZ_CHECK(size.has_height || size.height == 0, "a height without a height feature");
  // A feature added at the end is the one that counts.
  const RequestedWindowSize later = ParseWindowFeatures(std::string(features) + ",width=123, HEIGHT = 45px");
  FUZZ_CHECK(later.has_width && later.width == 123 && later.has_height && later.height == 45,
             "a size given last is not the one read");
}

void CheckCaption(std::string_view title) {
  const std::string caption = TabCaptionFromTitle(title);
  if (caption == title) return;
  FUZZ_CHECK(title.size() > 40 && (title.starts_with("http") || title.starts_with("file")),
             "a title changed that should be shown whole");
  FUZZ_CHECK(caption.ends_with(" ...") && caption.size() <= 40, "a cut caption of the wrong form");
  const std::string_view kept = std::string_view(caption).substr(0, caption.size() - 4);
  FUZZ_CHECK(title.starts_with(kept) && SjisPrefix(title, kept.size()) == kept,
             "a cut caption that is no whole-character prefix of the title");
}

void CheckDownloadName(std::string_view value) {
  for (const std::optional<EncodedName>& name : {ContentDispositionFileName(value), UrlPathFileName(value)}) {
    if (!name) continue;
    FUZZ_CHECK(!name->bytes.empty() && name->bytes.size() <= value.size(), "a file name longer than its source");
    FUZZ_CHECK(name->bytes.find_first_of(std::string_view("/\0", 2)) == std::string::npos,
               "a file name with a slash or NUL");
    FUZZ_CHECK(name->bytes != "." && name->bytes != "..", "a file name that names a folder");
  }
  const QString proposed = DownloadFileName(QByteArray(value.data(), qsizetype(value.size())), QUrl());
  FUZZ_CHECK(!proposed.isEmpty() && !proposed.contains(QChar('/')) && !proposed.contains(QChar(u'\0')),
             "a proposed name that is a path");
  FUZZ_CHECK(!proposed.contains(QChar::ReplacementCharacter), "a proposed name half decoded");
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvi::fuzz;
  const std::vector<std::string_view> fields = SplitFields(AsView(data, size), 3);
  const ExactBytes features(fields[0]), title(fields[1]), name(fields[2]);
  CheckFeatures(features.view());
  CheckCaption(title.view());
  CheckDownloadName(name.view());
  return 0;
}

// Texts a web page or server hands the program: the features of
// window.open, a page title as the tab caption, and a download's file name
// as the engine reads it from Content-Disposition.
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/tabs/tab_title.h"
#include "core/tabs/window_features.h"
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

void CheckDownloadName(std::string_view latin1) {
  QString name;
  for (char c : latin1) name += QChar(uchar(c));
  const QString result = DownloadFileName(name);
  // Decoding may join bytes into characters, never make a path of a name.
  for (const QChar c : {QChar('/'), QChar(u'\0')})
    FUZZ_CHECK(name.contains(c) || !result.contains(c), "a file name gained a slash or NUL");
  FUZZ_CHECK(result.size() <= name.size(), "a file name got longer");
  if (result != name) FUZZ_CHECK(!result.contains(QChar::ReplacementCharacter), "a name given back half decoded");
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

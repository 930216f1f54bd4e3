#include "support/page_script.h"

#include <memory>
#include <optional>

#include "platform/web_browser.h"

namespace sorvi::testing {

QVariant Js(WebBrowser* browser, const QString& script, int timeout_ms) {
  // A late answer, after the wait gave up, must land in something still
  // alive: the state is shared with the callback, never this frame's locals.
  auto answer = std::make_shared<std::optional<QVariant>>();
  browser->RunJavaScript(script, [answer](const QVariant& value) { *answer = value; });
  WaitUntil([&] { return answer->has_value(); }, timeout_ms);
  return answer->value_or(QVariant());
}

}  // namespace sorvi::testing

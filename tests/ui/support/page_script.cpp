#include "support/page_script.h"

#include <memory>
#include <optional>

#include "platform/web_browser.h"

namespace sorvi::testing {

namespace {

QVariant Answer(WebBrowser* browser, const QString& script, int timeout_ms, bool apart) {
  // A late answer, after the wait gave up, must land in something still
  // alive: the state is shared with the callback, never this frame's locals.
  auto answer = std::make_shared<std::optional<QVariant>>();
  const auto keep = [answer](const QVariant& value) { *answer = value; };
  if (apart) {
    browser->RunJavaScriptApart(script, keep);
  } else {
    browser->RunJavaScript(script, keep);
  }
  WaitUntil([&] { return answer->has_value(); }, timeout_ms);
  return answer->value_or(QVariant());
}

}  // namespace

QVariant Js(WebBrowser* browser, const QString& script, int timeout_ms) {
  return Answer(browser, script, timeout_ms, false);
}

QVariant JsApart(WebBrowser* browser, const QString& script, int timeout_ms) {
  return Answer(browser, script, timeout_ms, true);
}

}  // namespace sorvi::testing

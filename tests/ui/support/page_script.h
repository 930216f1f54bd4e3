#pragma once
// Runs a script in a page and waits for what it gives back.
#include <QString>
#include <QVariant>

#include "support/event_wait.h"

namespace sorvi {
class WebBrowser;
}

namespace sorvi::testing {

// The script's result, or an invalid QVariant when none came within
// `timeout_ms` (or the browser went away meanwhile).
QVariant Js(WebBrowser* browser, const QString& script, int timeout_ms = kWaitTimeoutMs);
// The same in the program's own world of the page; answered after every
// script the program asked there before.
QVariant JsApart(WebBrowser* browser, const QString& script, int timeout_ms = kWaitTimeoutMs);

}  // namespace sorvi::testing

#pragma once
// Internal to WebBrowser: the one engine profile and the list of live
// browsers that WebEngine::Shutdown releases before destroying it.
#include <vector>

class QWebEngineProfile;

namespace sorvi {

class WebBrowser;

namespace web_engine {

// The profile, made at the first call after start-up or after Shutdown.
QWebEngineProfile* Profile();

// The browsers alive, in the order they were made.
const std::vector<WebBrowser*>& Browsers();

void RegisterBrowser(WebBrowser* browser);
void UnregisterBrowser(WebBrowser* browser);

}  // namespace web_engine
}  // namespace sorvi

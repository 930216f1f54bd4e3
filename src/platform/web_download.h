#pragma once
// Internal to WebBrowser: a response the engine cannot show. The user is
// asked where to save it (nothing is saved without asking), then progress
// and the outcome go out through the signals of the browser that started it.
class QWebEngineDownloadRequest;

namespace sorvi::web_download {

// Connected to the profile's download requests. Must decide before it
// returns: the engine drops a request that is neither accepted nor
// cancelled by then.
void HandleRequest(QWebEngineDownloadRequest* download);

}  // namespace sorvi::web_download

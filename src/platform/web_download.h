#pragma once
// Internal to WebBrowser: a response the engine cannot show. The user is
// asked where to save it (nothing is saved without asking), then progress
// and the outcome go out through the signals of the browser that started it.
class QWebEngineDownloadRequest;

namespace sorvi {
class DownloadHeaderProbe;
}

namespace sorvi::web_download {

// Connected to the profile's download requests. Must decide before it
// returns: the engine drops a request that is neither accepted nor
// cancelled by then. A name the engine could not read is asked of the
// server again through `probe`.
void HandleRequest(QWebEngineDownloadRequest* download, DownloadHeaderProbe* probe);

}  // namespace sorvi::web_download

#pragma once
// The questions a browser's page asks that the engine waits on: whether a
// navigation may go on, and which browser a window the page opens goes into.
// The browser asks its owner directly and takes the answer as it returns, so
// nothing depends on how a notification would be delivered.
#include <QString>

namespace sorvi {

class WebBrowser;

// What a page said when it asked for a new window.
struct NewWindowRequest {
  // DisplayAddress of what the window is to load; "about:blank" for a
  // window opened without an address.
  QString url;
  // The window name aimed at (window.open's name, a link's or form's
  // target); empty for none and for "_blank".
  QString targetName;
  // The inner size the page asked for; -1 for each one it did not give.
  int width = -1;
  int height = -1;
  // Opened by a modified click (Ctrl, middle button): no name, no size.
  bool background = false;
};

class WebBrowserOwner {
 public:
  // Before every navigation of the page or one of its frames. `url` is
  // DisplayAddress of the target; `top_level` false for a frame.
  // `target_frame_name` is the name of the window the page loads into (see
  // WebBrowser::WindowName; the name a link or script aimed at when it
  // found this window by name), empty for frames. False stops the
  // navigation. Server redirects are not announced. A page that a script
  // opens on "about:blank" announces that address when it starts loading;
  // stopping it, or re-issuing it with Navigate2, changes nothing.
  virtual bool BeforeNavigate2(WebBrowser* browser, const QString& url, bool top_level,
                               const QString& target_frame_name) = 0;
  // The page opens a window (script, target=_blank, a new window name), with
  // the address, name and size it asked for. Returns a new browser
  // (WebBrowser::Create), placed as it is to be shown, and the engine loads
  // the window into it (its first navigation is announced by the new
  // browser as usual); null drops the request.
  virtual WebBrowser* NewWindow2(WebBrowser* browser, const NewWindowRequest& request) = 0;

 protected:
  ~WebBrowserOwner() = default;
};

}  // namespace sorvi

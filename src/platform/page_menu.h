#pragma once
// What a page's context menu was asked for on, and the one place that may
// add items of the program's own to it (set once by the window).
#include <QString>
#include <QUrl>

class QMenu;

namespace sorvi {

class WebBrowser;

struct PageMenuContext {
  QString link_text;
  QUrl link_url;
  QString selected_text;
  bool editable = false;  // the click was in an input field or an editable area
};

class PageMenuExtension {
 public:
  // Adds items to `menu`, which is about to show over `browser`'s page.
  virtual void AddToPageMenu(QMenu* menu, WebBrowser* browser, const PageMenuContext& context) = 0;

 protected:
  ~PageMenuExtension() = default;
};

// Null takes the extension away; it must outlive every page menu it added to.
void SetPageMenuExtension(PageMenuExtension* extension);
PageMenuExtension* CurrentPageMenuExtension();

}  // namespace sorvi

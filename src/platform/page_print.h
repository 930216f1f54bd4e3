#pragma once
// The print command: the platform's print dialog, then the page on the
// chosen printer.
namespace sorvi {

class WebBrowser;

// The dialog belongs to the browser's top-level window, not to the browser:
// a page may close its tab (or a retired view may go) while the dialog is
// open. Nothing is printed when the browser is gone by then.
void PrintPage(WebBrowser* browser);

}  // namespace sorvi

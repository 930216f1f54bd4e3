#include "platform/page_print.h"

#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QWebEngineView>
#include <memory>

#include "platform/web_browser.h"

namespace sorvi {

void PrintPage(WebBrowser* browser) {
  if (!browser) return;
  const QPointer<WebBrowser> guard(browser);
  QWidget* window = browser->window();
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  QPointer<QPrintDialog> dialog = new QPrintDialog(printer.get(), window == browser ? nullptr : window);
  const bool accepted = dialog->exec() == QDialog::Accepted;
  if (!dialog) return;  // its window went while it was open
  delete dialog;
  if (!accepted || !guard) return;
  auto* view = guard->findChild<QWebEngineView*>();
  if (!view) return;
  // The printer must live until the engine has finished with it: the
  // connection holds it and goes with `job`.
  auto* job = new QObject(guard);
  QObject::connect(view, &QWebEngineView::printFinished, job, [job, printer](bool) { job->deleteLater(); });
  view->print(printer.get());
}

}  // namespace sorvi

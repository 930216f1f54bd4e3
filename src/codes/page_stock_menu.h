#pragma once
// "コードリストに追加" in a page's context menu: a stock code in the link
// or the selection right-clicked goes into a group of the user's choice
// through the code dialog, its name proposed from the page.
#include <QObject>
#include <QString>

#include "platform/page_menu.h"

namespace sorvi {

class CodeListController;

class PageStockMenu : public QObject, public PageMenuExtension {
  Q_OBJECT
 public:
  // Serves every page's menu while it lives.
  PageStockMenu(CodeListController& codes, QWidget* window);
  ~PageStockMenu() override;

  void AddToPageMenu(QMenu* menu, WebBrowser* browser, const PageMenuContext& context) override;

 private:
  // `group` -1: a new group, named by the user first.
  void Add(WebBrowser* browser, int group, const QString& code, const QString& around);

  CodeListController& codes_;
  QWidget* window_;
};

}  // namespace sorvi

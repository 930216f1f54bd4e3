#pragma once
// Flipping through the stocks: a step selects the next or previous stock of
// the code tree alone and repeats for it what the user last did for one
// stock. A bookmark opened for one stock opens again for the new one in the
// tab it opened last time (the current tile's tab with tiles; a new tab when
// that one was closed), its load key macro bound to the new stock; a
// stock-code macro plays again into the lock target. The status bar shows
// the stock and its place among all stocks.
#include <QObject>
#include <QPointer>
#include <QString>
#include <string>

#include "core/bookmarks/url_bookmark.h"
#include "tabs/open_request.h"

class QAction;
class QMenu;

namespace sorvi {

class BrowserTab;
class CodeTreeView;
class KeyMacroController;
class StockSelection;
class TabController;

class StockFlip : public QObject {
  Q_OBJECT
 public:
  // `selection` is the tree's as the other lists read it; no step is taken
  // while `player` plays a macro.
  StockFlip(CodeTreeView& tree, const StockSelection& selection, TabController& tabs, const KeyMacroController& player,
            QObject* parent = nullptr);

  // "次の銘柄" and "前の銘柄", naming their keys, put into `menu` before `before`.
  void AddMenuItems(QMenu* menu, QAction* before);

  // What the user does for one stock, told as it happens. A bookmark is
  // told once its page has been opened, a code macro when it is to play;
  // either counts only while one stock alone is selected.
  void BookmarkOpened(const UrlBookmark& bookmark);
  void CodeMacroChosen(const std::string& macro);

  // The flip: the next stock in the tree (`forward`) or the previous one.
  void Step(bool forward);

 signals:
  // A page to open as any other request.
  void OpenRequested(const sorvi::OpenRequest& request);
  // A stock-code macro to play for the selected stock.
  void CodeMacroRequested(const std::string& macro);
  void StatusNote(const QString& text);

 private:
  bool OneStockSelected() const;
  void OpenBookmark();
  QString PlaceText() const;

  CodeTreeView& tree_;
  const StockSelection& selection_;
  TabController& tabs_;
  const KeyMacroController& player_;

  // What the user last did for one stock.
  enum class Done { kNothing, kBookmark, kCodeMacro };
  Done done_ = Done::kNothing;
  UrlBookmark bookmark_;
  QPointer<BrowserTab> bookmark_tab_;  // where the bookmark opened last
  std::string code_macro_;
};

}  // namespace sorvi

#include "app/stock_flip.h"

#include <QAction>
#include <QMenu>

#include "bookmarks/bookmark_request.h"
#include "codes/code_tree_view.h"
#include "codes/stock_code_model.h"
#include "core/bookmarks/stock_selection.h"
#include "core/codes/stock_steps.h"
#include "keymacro/key_macro_controller.h"
#include "platform/cp932.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"

namespace sorvi {

StockFlip::StockFlip(CodeTreeView& tree, const StockSelection& selection, TabController& tabs,
                     const KeyMacroController& player, QObject* parent)
    : QObject(parent), tree_(tree), selection_(selection), tabs_(tabs), player_(player) {}

void StockFlip::AddMenuItems(QMenu* menu, QAction* before) {
  auto* next = new QAction("次の銘柄\tAlt+↓", menu);
  next->setObjectName("PopupMenuCodeNext");
  auto* previous = new QAction("前の銘柄\tAlt+↑", menu);
  previous->setObjectName("PopupMenuCodePrevious");
  menu->insertActions(before, {next, previous});
  connect(next, &QAction::triggered, this, [this] { Step(true); });
  connect(previous, &QAction::triggered, this, [this] { Step(false); });
}

bool StockFlip::OneStockSelected() const {
  return selection_.SelectedNodeIsStock() && tree_.SelectedPositions().size() == 1;
}

void StockFlip::BookmarkOpened(const UrlBookmark& bookmark) {
  if (!OneStockSelected()) return;
  done_ = Done::kBookmark;
  bookmark_ = bookmark;
  bookmark_tab_ = tabs_.ActiveTab();
}

void StockFlip::CodeMacroChosen(const std::string& macro) {
  if (!OneStockSelected()) return;
  done_ = Done::kCodeMacro;
  code_macro_ = macro;
}

void StockFlip::Step(bool forward) {
  // A play runs the event loop: a key pressed meanwhile waits for nothing.
  if (player_.Playing()) return;
  const StockCodeList& list = tree_.CodeModel().List();
  const std::optional<NodePos> to = StepStock(list, tree_.SelectedPosition(), forward);
  if (!to) {
    emit StatusNote(PlaceOfStock(list, NodePos{}).count == 0 ? QStringLiteral("銘柄がありません")
                    : forward                                ? QStringLiteral("最後の銘柄です")
                                                             : QStringLiteral("最初の銘柄です"));
    return;
  }
  tree_.RevealNode(*to);
  switch (done_) {
    case Done::kBookmark:
      OpenBookmark();
      emit StatusNote(PlaceText());
      break;
    case Done::kCodeMacro:
      emit StatusNote(PlaceText());
      emit CodeMacroRequested(code_macro_);
      break;
    case Done::kNothing: emit StatusNote(PlaceText()); break;
  }
}

void StockFlip::OpenBookmark() {
  OpenRequest request = BookmarkRequestForStock(bookmark_, selection_.GatherUrlSelection());
  if (request.empty()) return;
  // Side by side, the user picks the tile by clicking into it.
  BrowserTab* tab = tabs_.Tiles() == TileLayout::kSingle ? bookmark_tab_.data() : tabs_.ActiveTab();
  if (tab && tab != tabs_.ActiveTab()) {
    int index = 0;
    while (index < tabs_.Count() && tabs_.TabAt(index) != tab) ++index;
    // Refused while a load key macro waits for another tab.
    if (!tabs_.SwitchTo(index, this)) return;
  }
  if (tab) {
    request.in_active_tab = true;
  } else {
    request.new_tab = true;
  }
  emit OpenRequested(request);
  bookmark_tab_ = tabs_.ActiveTab();
}

QString StockFlip::PlaceText() const {
  const std::optional<NodePos> pos = tree_.SelectedPosition();
  if (!pos) return QString();
  const StockCodeList& list = tree_.CodeModel().List();
  const std::string_view text = NodeText(list, *pos);
  const StockPlace place = PlaceOfStock(list, *pos);
  return QStringLiteral("%1 %2 (%3/%4)")
      .arg(SjisToQString(StockCode(text)), SjisToQString(StockName(text)))
      .arg(place.number)
      .arg(place.count);
}

}  // namespace sorvi

#include "codes/code_list_controller.h"

#include <QAction>
#include <QMenu>

#include "codes/code_tree_view.h"
#include "codes/stock_code_model.h"
#include "core/bookmarks/per_stock_selection.h"
#include "core/codes/stock_code_list.h"
#include "core/files/data_files.h"
#include "platform/menu_items.h"

namespace sorvi {

CodeListController::CodeListController(CodeTreeView* tree, const QString& data_dir, const AppOptions& options,
                                       QWidget* window)
    : QObject(window), tree_(*tree), model_(tree->CodeModel()), window_(window) {
  document_ = new ListDocument(*this, DataFile::kCodeList, data_dir + kCodeListFileName, "銘柄一覧",
                               ListDocument::LoadMark::kCleared, options, window, this);
  BuildMenu(window);
  WireEditing();
  connect(&tree_, &CodeTreeView::ContextMenuRequested, this, [this](const QPoint& at) { menu_->popup(at); });
}

void CodeListController::BuildMenu(QWidget* window) {
  menu_ = new QMenu(window);
  menu_->setObjectName("PopupMenuCode");
  menu_->addSeparator();
  copy1_ = AddMenuItem(menu_, "PopupMenuCodeCopy1", "コード コピー", 1);
  copy2_ = AddMenuItem(menu_, "PopupMenuCodeCopy2", "名称 コピー", 2);
  menu_->addSeparator();
  items_ = document_->AddMenuItems(menu_, "PopupMenuCode");
}

void CodeListController::OpenBookmarkForSelection() {
  // A double-click on a group that opens pages must not also toggle it.
  tree_.ClearExpandWish();
  if (tree_.selectionModel()->hasSelection()) emit OpenBookmarkRequested();
}

void CodeListController::LoadListBytes(std::string_view bytes, FileReport* report) {
  StockCodeLoad load = ParseStockCodeFile(bytes);
  model_.Reset(std::move(load.list));
  report->orphan_lines = load.orphan_lines;
}

const StockCodeList& CodeListController::List() const { return model_.List(); }

std::string CodeListController::ListFileBytes() const { return SerializeStockCodeList(List()); }

std::string CodeListController::ExpandStateText() const {
  std::vector<bool> expanded;
  for (int g = 0; g < model_.rowCount(); ++g) expanded.push_back(tree_.isExpanded(model_.index(g, 0)));
  return MakeExpandState(expanded);
}

void CodeListController::RestoreExpandState(std::string_view state) {
  if (state.empty()) return;
  const std::vector<bool> expanded = ApplyExpandState(state, size_t(model_.rowCount()));
  for (size_t g = 0; g < expanded.size() && g < state.size(); ++g) {
    tree_.SetExpandedByProgram(model_.index(int(g), 0), expanded[g]);
  }
  tree_.ClearExpandWish();
}

void CodeListController::ScrollToTop() {
  if (model_.rowCount() > 0) tree_.scrollTo(model_.index(0, 0), QAbstractItemView::PositionAtTop);
}

std::vector<TreeNodeView> CodeListController::Nodes() const {
  const std::vector<NodePos> selected = tree_.SelectedPositions();
  auto next = selected.begin();
  const auto take = [&](NodePos pos) {
    const bool hit = next != selected.end() && *next == pos;
    if (hit) ++next;
    return hit;
  };
  std::vector<TreeNodeView> nodes;
  const StockCodeList& list = List();
  for (size_t g = 0; g < list.groups.size(); ++g) {
    const StockGroup& group = list.groups[g];
    nodes.push_back({0, group.text, take(NodePos{int(g)})});
    for (size_t s = 0; s < group.stocks.size(); ++s)
      nodes.push_back({1, group.stocks[s], take(NodePos{int(g), int(s)})});
  }
  return nodes;
}

UrlSelection CodeListController::GatherUrlSelection() const { return GatherSelection(Nodes()); }

std::vector<UrlSelection> CodeListController::GatherUrlSelectionPerStock() const {
  return GatherSelectionPerStock(Nodes());
}

std::string CodeListController::SelectedNodeCaption() const {
  const std::optional<NodePos> pos = tree_.SelectedPosition();
  return pos ? std::string(NodeText(List(), *pos)) : std::string();
}

bool CodeListController::SelectedNodeIsStock() const {
  const std::optional<NodePos> pos = tree_.SelectedPosition();
  return pos && !pos->IsGroup();
}

}  // namespace sorvi

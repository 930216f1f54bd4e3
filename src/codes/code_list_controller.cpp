#include "codes/code_list_controller.h"

#include <QAction>
#include <QMenu>

#include "codes/code_tree_view.h"
#include "core/bookmarks/per_stock_selection.h"
#include "core/codes/stock_code_list.h"
#include "core/text/list_file_text.h"
#include "platform/cp932.h"
#include "platform/list_edit_cycle.h"
#include "platform/list_file.h"
#include "platform/menu_items.h"

namespace sorvi {

CodeListController::CodeListController(CodeTreeView* tree, const QString& data_dir, const AppOptions& options,
                                       QWidget* window)
    : QObject(window), tree_(*tree), options_(options), window_(window) {
  file_ = new ListFile(
      DataFile::kCodeList, data_dir + "SV_Code.txt", [this] { return ListFileBytes(); }, window, this);
  BuildMenu(window);
  connect(file_, &ListFile::ModifiedChanged, save_, &QAction::setEnabled);
  connect(file_, &ListFile::ModifiedChanged, this, &CodeListController::ModifiedChanged);
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
  edit_ = AddMenuItem(menu_, "PopupMenuCodeEdit", "編集");
  copy_ = AddMenuItem(menu_, "PopupMenuCodeCopy", "複製");
  del_ = AddMenuItem(menu_, "PopupMenuCodeDel", "削除");
  add_ = AddMenuItem(menu_, "PopupMenuCodeAdd", "追加");
  editor_ = AddMenuItem(menu_, "PopupMenuCodeEditor", "エディタ");
  save_ = AddMenuItem(menu_, "PopupMenuCodeSave", "保存");
  save_->setEnabled(false);
  connect(save_, &QAction::triggered, this, [this] { SaveAndReport(); });
}

void CodeListController::OpenBookmarkForSelection() {
  // A double-click on a group that opens pages must not also toggle it.
  tree_.ClearExpandWish();
  if (!tree_.selectedItems().isEmpty()) emit OpenBookmarkRequested();
}

QString CodeListController::FilePath() const { return file_->Path(); }

void CodeListController::OpenEditor() { cycle_->Run(SjisToQString(options_.Editor)); }

FileReport CodeListController::LoadList() {
  FileReport report = file_->Report(FileStep::kDone);
  const FileReadResult file = file_->Read();
  if (file.status == ReadStatus::kMissing) return report;
  if (file.status == ReadStatus::kUnreadable) {
    ShowList({});
    return file_->Report(FileStep::kReadFailed, file.error);
  }
  ShowListBytes(file.bytes, &report);
  SetModified(false);
  return report;
}

FileReport CodeListController::LoadUnsavedCopy(const std::string& bytes) {
  FileReport report = file_->Report(FileStep::kDone);
  ShowListBytes(bytes, &report);
  SetModified(true);
  return report;
}

void CodeListController::ShowListBytes(const std::string& bytes, FileReport* report) {
  // What an editor may have left (a UTF-8 byte-order mark) must not glue
  // itself to the first line.
  const ListFileText text = CheckListFileText(bytes);
  StockCodeLoad load = ParseStockCodeFile(text.bytes);
  ShowList(std::move(load.list));
  report->unread_bytes = text.unread_bytes;
  report->orphan_lines = load.orphan_lines;
}

void CodeListController::ShowList(StockCodeList list) {
  list_ = std::move(list);
  tree_.ShowList(list_);
}

FileReport CodeListController::SaveList() { return file_->Save(); }

bool CodeListController::SaveAndReport() { return file_->SaveAndReport(); }

std::string CodeListController::ListFileBytes() const { return SerializeStockCodeList(list_); }

bool CodeListController::IsModified() const { return file_->IsModified(); }

void CodeListController::SetModified(bool modified) { file_->SetModified(modified); }

bool CodeListController::LoadFailed() const { return file_->LoadFailed(); }

std::string CodeListController::ExpandStateText() const {
  std::vector<bool> expanded;
  for (int g = 0; g < tree_.topLevelItemCount(); ++g) expanded.push_back(tree_.topLevelItem(g)->isExpanded());
  return MakeExpandState(expanded);
}

void CodeListController::RestoreExpandState(std::string_view state) {
  if (state.empty()) return;
  const std::vector<bool> expanded = ApplyExpandState(state, size_t(tree_.topLevelItemCount()));
  for (size_t g = 0; g < expanded.size() && g < state.size(); ++g) {
    tree_.SetExpandedByProgram(tree_.topLevelItem(int(g)), expanded[g]);
  }
  tree_.ClearExpandWish();
}

void CodeListController::ScrollToTop() {
  if (tree_.topLevelItemCount() > 0) tree_.scrollToItem(tree_.topLevelItem(0), QAbstractItemView::PositionAtTop);
}

std::vector<TreeNodeView> CodeListController::Nodes() const {
  std::vector<TreeNodeView> nodes;
  for (size_t g = 0; g < list_.groups.size(); ++g) {
    const StockGroup& group = list_.groups[g];
    const QTreeWidgetItem* item = tree_.topLevelItem(int(g));
    nodes.push_back({0, group.text, item && item->isSelected()});
    for (size_t s = 0; s < group.stocks.size(); ++s) {
      const QTreeWidgetItem* stock = item ? item->child(int(s)) : nullptr;
      nodes.push_back({1, group.stocks[s], stock && stock->isSelected()});
    }
  }
  return nodes;
}

UrlSelection CodeListController::GatherUrlSelection() const { return GatherSelection(Nodes()); }

std::vector<UrlSelection> CodeListController::GatherUrlSelectionPerStock() const {
  return GatherSelectionPerStock(Nodes());
}

std::string CodeListController::SelectedNodeCaption() const {
  const std::optional<NodePos> pos = tree_.SelectedPosition();
  return pos ? std::string(NodeText(list_, *pos)) : std::string();
}

bool CodeListController::SelectedNodeIsStock() const {
  const std::optional<NodePos> pos = tree_.SelectedPosition();
  return pos && !pos->IsGroup();
}

}  // namespace sorvi

#include "codes/code_list_controller.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QMenu>

#include "codes/code_tree_view.h"
#include "core/bookmarks/per_stock_selection.h"
#include "core/codes/stock_code_list.h"
#include "core/files/file_io.h"
#include "core/text/list_file_text.h"
#include "platform/confirm_box.h"
#include "platform/cp932.h"
#include "platform/list_edit_cycle.h"
#include "platform/menu_items.h"
#include "platform/report_text.h"

namespace sorvi {

CodeListController::CodeListController(CodeTreeView* tree, const QString& data_dir, const AppOptions& options,
                                       QWidget* window)
    : QObject(window), tree_(*tree), data_dir_(data_dir), options_(options), window_(window) {
  BuildMenu(window);
  WireEditing();
  connect(&tree_, &CodeTreeView::ContextMenuRequested, this, [this](const QPoint& at) { menu_->popup(at); });
  connect(&tree_, &CodeTreeView::DefaultActionRequested, this, [this] {
    if (QAction* item = go_group_->checkedAction()) PopupMenuCodeGoClick(item);
  });
}

void CodeListController::BuildMenu(QWidget* window) {
  menu_ = new QMenu(window);
  menu_->setObjectName("PopupMenuCode");
  go_menu_ = menu_->addMenu("実行");
  go_menu_->setObjectName("PopupMenuCodeGo");
  go_group_ = new QActionGroup(go_menu_);
  go_url_ = AddMenuItem(go_menu_, "PopupMenuCodeGoURL", "URLを開く", 1);
  go_url_->setCheckable(true);
  go_url_->setChecked(true);
  go_group_->addAction(go_url_);
  go_separator_ = go_menu_->addSeparator();
  go_separator_->setObjectName("PopupMenuCodeGoSeparator");
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
  connect(go_url_, &QAction::triggered, this, [this] { PopupMenuCodeGoClick(go_url_); });
}

void CodeListController::PopupMenuCodeGoClick(QAction* item) {
  if (go_item_handler_ && go_item_handler_(item)) return;
  if (item == go_url_) {
    // A double-click on a group that opens pages must not also toggle it.
    tree_.ClearExpandWish();
    if (!tree_.selectedItems().isEmpty()) emit OpenBookmarkRequested();
  }
}

QString CodeListController::FilePath() const { return data_dir_ + "SV_Code.txt"; }

FileReport CodeListController::Report(FileStep step, int error) const {
  return {DataFile::kCodeList, step, QFile::encodeName(FilePath()).toStdString(), error};
}

void CodeListController::OpenEditor() { cycle_->Run(SjisToQString(options_.Editor)); }

FileReport CodeListController::LoadList() {
  FileReport report = Report(FileStep::kDone);
  const FileReadResult file = ReadFile(report.path);
  if (file.status == ReadStatus::kMissing) return report;
  tree_.clear();
  if (file.status == ReadStatus::kUnreadable) {
    load_failed_ = true;
    return Report(FileStep::kReadFailed, file.error);
  }
  load_failed_ = false;
  ShowListBytes(file.bytes, &report);
  SetModified(false);
  return report;
}

FileReport CodeListController::LoadUnsavedCopy(const std::string& bytes) {
  FileReport report = Report(FileStep::kDone);
  tree_.clear();
  ShowListBytes(bytes, &report);
  SetModified(true);
  return report;
}

void CodeListController::ShowListBytes(const std::string& bytes, FileReport* report) {
  // What an editor may have left (a UTF-8 byte-order mark) must not glue
  // itself to the first line.
  const ListFileText text = CheckListFileText(bytes);
  const StockCodeLoad load = ParseStockCodeFile(text.bytes);
  // Built detached and inserted in one go: thousands of stocks one by one
  // would make the view re-layout each time.
  QList<QTreeWidgetItem*> groups;
  groups.reserve(qsizetype(load.list.groups.size()));
  for (const StockGroup& group : load.list.groups) {
    QTreeWidgetItem* node = CodeTreeView::MakeGroupItem(group.text);
    QList<QTreeWidgetItem*> stocks;
    stocks.reserve(qsizetype(group.stocks.size()));
    for (const std::string& stock : group.stocks) stocks.push_back(CodeTreeView::MakeStockItem(stock));
    node->addChildren(stocks);
    groups.push_back(node);
  }
  tree_.addTopLevelItems(groups);
  report->unread_bytes = text.unread_bytes;
  report->orphan_lines = load.orphan_lines;
}

FileReport CodeListController::SaveList() {
  // What could not be read is never replaced by what is shown.
  if (load_failed_) return Report(FileStep::kOverwriteRefused);
  int error = 0;
  if (!ReplaceFileContents(QFile::encodeName(FilePath()).toStdString(), ListFileBytes(), &error)) {
    return Report(FileStep::kWriteFailed, error);
  }
  SetModified(false);
  return Report(FileStep::kDone);
}

bool CodeListController::SaveAndReport() {
  const FileReport report = SaveList();
  ShowReport(window_, report);
  return !report.Failed();
}

std::string CodeListController::ListFileBytes() const {
  StockCodeList list;
  for (int g = 0; g < tree_.topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = tree_.topLevelItem(g);
    StockGroup out{CodeTreeView::NodeText(group), {}};
    out.stocks.reserve(size_t(group->childCount()));
    for (int s = 0; s < group->childCount(); ++s) out.stocks.push_back(CodeTreeView::NodeText(group->child(s)));
    list.groups.push_back(std::move(out));
  }
  return SerializeStockCodeList(list);
}

void CodeListController::SetModified(bool modified) {
  const bool changed = modified != modified_;
  modified_ = modified;
  save_->setEnabled(modified);
  if (changed) emit ModifiedChanged(modified);
}

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

template <typename Rule>
auto CodeListController::WithTreeNodes(Rule rule) const {
  // Depth-first walk: the texts must outlive the views handed to the rule.
  std::vector<std::string> texts;
  std::vector<std::pair<int, bool>> shape;
  for (int g = 0; g < tree_.topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = tree_.topLevelItem(g);
    texts.push_back(CodeTreeView::NodeText(group));
    shape.emplace_back(0, group->isSelected());
    for (int s = 0; s < group->childCount(); ++s) {
      texts.push_back(CodeTreeView::NodeText(group->child(s)));
      shape.emplace_back(1, group->child(s)->isSelected());
    }
  }
  std::vector<TreeNodeView> nodes;
  nodes.reserve(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) nodes.push_back({shape[i].first, texts[i], shape[i].second});
  return rule(nodes);
}

UrlSelection CodeListController::GatherUrlSelection() const { return WithTreeNodes(GatherSelection); }

std::vector<UrlSelection> CodeListController::GatherUrlSelectionPerStock() const {
  return WithTreeNodes(GatherSelectionPerStock);
}

QTreeWidgetItem* CodeListController::SelectedNode() const {
  QTreeWidgetItem* node = tree_.currentItem();
  if (!node || !node->isSelected()) {
    const QList<QTreeWidgetItem*> selected = tree_.selectedItems();
    node = selected.isEmpty() ? nullptr : selected.first();
  }
  return node;
}

std::string CodeListController::SelectedNodeCaption() const { return CodeTreeView::NodeText(SelectedNode()); }

bool CodeListController::SelectedNodeIsStock() const {
  QTreeWidgetItem* node = SelectedNode();
  return node && node->parent();
}

}  // namespace sorvi

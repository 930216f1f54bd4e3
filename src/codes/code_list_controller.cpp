#include "codes/code_list_controller.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "codes/code_tree_view.h"
#include "platform/confirm_box.h"
#include "platform/menu_items.h"
#include "core/codes/stock_code_list.h"
#include "core/files/file_io.h"
#include "core/text/list_file_text.h"
#include "platform/cp932.h"
#include "platform/list_edit_cycle.h"

namespace sorvi {

CodeListController::CodeListController(CodeTreeView* tree, const QString& exe_dir, const AppOptions& options,
                                       QWidget* window)
    : QObject(window), tree_(*tree), exe_dir_(exe_dir), options_(options), window_(window) {
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
  connect(save_, &QAction::triggered, this, [this] { PopupMenuCodeSaveClick(); });
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

void CodeListController::ShowError(const QString& text) {
  ShowErrorBox(window_, text);
}

QString CodeListController::FilePath() const { return exe_dir_ + "SV_Code.txt"; }

void CodeListController::PopupMenuCodeEditorClick(QObject* sender) {
  if (sender) {
    cycle_->Run(SjisToQString(options_.Editor));
    return;
  }
  const FileReadResult file = ReadFile(QFile::encodeName(FilePath()).toStdString());
  if (file.status == ReadStatus::kMissing) return;
  tree_.clear();
  if (file.status == ReadStatus::kUnreadable) {
    load_failed_ = true;
    throw std::runtime_error(QString("ファイル %1 は開けません").arg(FilePath()).toStdString());
  }
  load_failed_ = false;
  ShowListBytes(file.bytes);
  SetModified(false);
}

void CodeListController::LoadUnsavedCopy(const std::string& bytes) {
  tree_.clear();
  ShowListBytes(bytes);
  SetModified(true);
}

void CodeListController::ShowListBytes(const std::string& bytes) {
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

  if (text.unread_bytes > 0) {
    // Said before a save writes the list without them.
    const QString message = QString("SV_Code.txt の途中に NUL 文字があり、その後ろの %1 バイトは読み込んでいません。\n"
                                    "銘柄一覧を保存すると、この部分はファイルから失われます。")
                                .arg(text.unread_bytes);
    QTimer::singleShot(0, window_, [this, message] { QMessageBox::warning(window_, "そるび", message); });
  }
  if (load.orphan_lines > 0) {
    // Lines above the first group have been kept in a group of their own
    // (the file itself is untouched until the next save); say so.
    const QString message =
        QString("SV_Code.txt の先頭にグループのない銘柄が %1 行ありました。\n"
                "「[未分類]」グループにまとめました。")
            .arg(load.orphan_lines);
    QTimer::singleShot(0, window_, [this, message] { QMessageBox::information(window_, "そるび", message); });
  }
}

bool CodeListController::PopupMenuCodeSaveClick() {
  if (load_failed_) {
    // What could not be read is never replaced by what is shown.
    ShowError(QString("銘柄一覧を保存できませんでした。\n%1 は読み込めなかったため、上書きしません。").arg(FilePath()));
    return false;
  }
  std::string error;
  if (!ReplaceFileContents(QFile::encodeName(FilePath()).toStdString(), ListFileBytes(), &error)) {
    ShowError(QString("銘柄一覧を保存できませんでした。\n%1\n(%2)\n\n元のファイルはそのまま残っています。")
                  .arg(FilePath(), QString::fromLocal8Bit(error.c_str())));
    return false;
  }
  SetModified(false);
  return true;
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
  tree_.Tag = 1;
  for (size_t g = 0; g < expanded.size() && g < state.size(); ++g) {
    tree_.SetExpandedByProgram(tree_.topLevelItem(int(g)), expanded[g]);
  }
  tree_.Tag = 0;
}

void CodeListController::ScrollToTop() {
  if (tree_.topLevelItemCount() > 0) tree_.scrollToItem(tree_.topLevelItem(0), QAbstractItemView::PositionAtTop);
}

UrlSelection CodeListController::GatherUrlSelection() const {
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
  return GatherSelection(nodes);
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

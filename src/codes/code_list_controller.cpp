#include "codes/code_list_controller.h"

#include <QAction>
#include <QActionGroup>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "codes/code_tree_view.h"
#include "core/codes/stock_code_list.h"
#include "core/files/file_io.h"

namespace sorvi {

CodeListController::CodeListController(TFormMain& form) : QObject(&form), form_(form), tree_(*form.TreeViewCode) {
  connect(form_.PopupMenuCodeSave, &QAction::triggered, this, [this] { PopupMenuCodeSaveClick(); });
  connect(&tree_, &CodeTreeView::ContextMenuRequested, this,
          [this](const QPoint& at) { form_.PopupMenuCode->popup(at); });
  connect(form_.PopupMenuCodeGoURL, &QAction::triggered, this,
          [this] { PopupMenuCodeGoClick(form_.PopupMenuCodeGoURL); });
  connect(&tree_, &CodeTreeView::DefaultActionRequested, this, [this] {
    if (QAction* item = form_.PopupMenuCodeGoGroup->checkedAction()) PopupMenuCodeGoClick(item);
  });
}

void CodeListController::PopupMenuCodeGoClick(QAction* item) {
  if (item == form_.PopupMenuCodeGoURL) {
    // A double-click on a group that opens pages must not also toggle it.
    tree_.ClearExpandWish();
    if (!tree_.selectedItems().isEmpty()) form_.Bookmarks()->ListViewURLDblClick(item);
  }
}

QString CodeListController::FilePath() const { return form_.ExeDir + "SV_Code.txt"; }

void CodeListController::PopupMenuCodeEditorClick(QObject* /*sender*/) {
  const std::string path = QFile::encodeName(FilePath()).toStdString();
  if (!FileExists(path)) return;
  tree_.clear();
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) throw std::runtime_error(QString("ファイル %1 は開けません").arg(FilePath()).toStdString());

  const StockCodeLoad load = ParseStockCodeFile(*bytes);
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
  SetModified(false);

  if (load.orphan_lines > 0) {
    // Lines above the first group have been kept in a group of their own
    // (the file itself is untouched until the next save); say so.
    const QString message =
        QString("SV_Code.txt の先頭にグループのない銘柄が %1 行ありました。\n"
                "「[未分類]」グループにまとめました。")
            .arg(load.orphan_lines);
    QTimer::singleShot(0, &form_, [this, message] {
      QMessageBox::information(&form_, "そるび", message);
    });
  }
}

bool CodeListController::PopupMenuCodeSaveClick() {
  StockCodeList list;
  for (int g = 0; g < tree_.topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = tree_.topLevelItem(g);
    StockGroup out{CodeTreeView::NodeText(group), {}};
    out.stocks.reserve(size_t(group->childCount()));
    for (int s = 0; s < group->childCount(); ++s) out.stocks.push_back(CodeTreeView::NodeText(group->child(s)));
    list.groups.push_back(std::move(out));
  }
  std::string error;
  if (!ReplaceFileContents(QFile::encodeName(FilePath()).toStdString(), SerializeStockCodeList(list), &error)) {
    form_.ShowError(QString("銘柄一覧を保存できませんでした。\n%1\n(%2)\n\n元のファイルはそのまま残っています。")
                        .arg(FilePath(), QString::fromLocal8Bit(error.c_str())));
    return false;
  }
  SetModified(false);
  return true;
}

bool CodeListController::IsModified() const { return form_.PopupMenuCodeSave->isEnabled(); }

void CodeListController::SetModified(bool modified) { form_.PopupMenuCodeSave->setEnabled(modified); }

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

std::string CodeListController::SelectedNodeCaption() const {
  QTreeWidgetItem* node = tree_.currentItem();
  if (!node || !node->isSelected()) {
    const QList<QTreeWidgetItem*> selected = tree_.selectedItems();
    node = selected.isEmpty() ? nullptr : selected.first();
  }
  return CodeTreeView::NodeText(node);
}

}  // namespace sorvi

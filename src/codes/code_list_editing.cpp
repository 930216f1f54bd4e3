// Editing the stock code tree: the menu's entry states, copying to the
// clipboard, the code dialog, duplicate, delete, drag and drop and the
// external editor. Decisions are the list rules' (core/codes/code_list_edit);
// code_tree_edit carries them out on the tree's items.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>

#include "codes/code_dialog.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_edit.h"
#include "codes/code_tree_view.h"
#include "core/codes/code_list_edit.h"
#include "core/codes/stock_code_list.h"
#include "platform/confirm_box.h"
#include "platform/cp932.h"
#include "platform/list_edit_cycle.h"
#include "platform/report_text.h"
#include "platform/tool_window.h"

namespace sorvi {

void CodeListController::WireEditing() {
  connect(menu_, &QMenu::aboutToShow, this, &CodeListController::PopupMenuCodePopup);
  connect(copy1_, &QAction::triggered, this, [this] { PopupMenuCodeClipClick(copy1_->data().toInt()); });
  connect(copy2_, &QAction::triggered, this, [this] { PopupMenuCodeClipClick(copy2_->data().toInt()); });
  connect(edit_, &QAction::triggered, this, &CodeListController::PopupMenuCodeEditClick);
  connect(add_, &QAction::triggered, this, &CodeListController::PopupMenuCodeAddClick);
  connect(copy_, &QAction::triggered, this, &CodeListController::PopupMenuCodeCopyClick);
  connect(del_, &QAction::triggered, this, &CodeListController::PopupMenuCodeDelClick);
  connect(editor_, &QAction::triggered, this, &CodeListController::OpenEditor);
  connect(&tree_, &CodeTreeView::DeleteKeyPressed, this, &CodeListController::PopupMenuCodeDelClick);
  connect(&tree_, &CodeTreeView::DropRequested, this, &CodeListController::TreeViewCodeDragDrop);

  ListEditCycle::Hooks hooks;
  hooks.is_modified = [this] { return modified_; };
  hooks.ask = [this](const QString& text) { return AskYesNoCancel(window_, "確認", text, QuestionPlace(window_)); };
  hooks.save = [this] { return SaveAndReport(); };
  hooks.reload = [this] { ShowReport(window_, LoadList()); };
  hooks.show_error = [this](const QString& message) { ShowErrorBox(window_, message); };
  cycle_ = new ListEditCycle(window_, FilePath(), "銘柄一覧を保存しますか？", std::move(hooks), this);
}

TFormCodeDlg* CodeListController::CodeDialog() const { return dialog_.data(); }

void CodeListController::PopupMenuCodePopup() {
  QTreeWidgetItem* node = tree_.SelectedNode();
  copy1_->setEnabled(node && node->parent());
  for (QAction* item : {copy2_, edit_, copy_, del_}) item->setEnabled(node != nullptr);
}

void CodeListController::PopupMenuCodeClipClick(int tag) {
  QTreeWidgetItem* node = tree_.SelectedNode();
  if (!node) return;
  const std::string text = CodeTreeView::NodeText(node);
  std::string_view part;
  if (!node->parent()) part = GroupName(text);
  else part = tag == 1 ? StockCode(text) : StockName(text);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(SjisToQString(part));
}

void CodeListController::PopupMenuCodeEditClick() {
  if (tree_.SelectedNode()) OpenCodeDialog(false);
}

void CodeListController::PopupMenuCodeAddClick() { OpenCodeDialog(true); }

void CodeListController::OpenCodeDialog(bool add) {
  if (dialog_) {  // one at a time
    dialog_->raise();
    dialog_->activateWindow();
    return;
  }
  QTreeWidgetItem* node = tree_.SelectedNode();
  auto* dialog = new TFormCodeDlg(add ? TFormCodeDlg::Mode::Add : TFormCodeDlg::Mode::Edit, window_);
  dialog_ = dialog;
  QPoint at;
  if (node) {
    // Below the node, so the node being edited stays in sight.
    tree_.scrollToItem(node);
    const QRect rect = tree_.visualItemRect(node);
    at = tree_.viewport()->mapToGlobal(QPoint(rect.left(), rect.bottom() + 1));
  } else {
    at = QPoint(window_->frameGeometry().left() + 19, tree_.mapToGlobal(QPoint(0, 0)).y());
  }
  if (add) {
    dialog->SetAddContext(!node ? TFormCodeDlg::Selected::None
                                : node->parent() ? TFormCodeDlg::Selected::Stock : TFormCodeDlg::Selected::Group);
  } else {
    dialog->SetNode(node->parent() == nullptr, CodeTreeView::NodeText(node));
  }
  // The selection must not change under the dialog.
  tree_.setEnabled(false);
  connect(dialog, &TFormCodeDlg::Confirmed, this,
          [this, add](bool is_group, const std::string& text) { CodeDialogConfirmed(add, is_group, text); });
  connect(dialog, &TFormCodeDlg::Closed, this, [this] {
    dialog_ = nullptr;  // released later; a new one may open now
    tree_.setEnabled(true);
    tree_.setFocus();
  });
  PlaceInWorkArea(dialog, at);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void CodeListController::CodeDialogConfirmed(bool add, bool is_group, const std::string& text) {
  QTreeWidgetItem* node = tree_.SelectedNode();
  if (!add) {
    if (!node) return;
    // The node's own level decides, not the dialog's buttons.
    CodeTreeView::SetNodeText(node, text);
    SetModified(true);
    return;
  }
  StockCodeList list = TreeToList(tree_);
  std::optional<NodePos> selected;
  if (node) selected = PositionOf(tree_, node);
  const std::optional<NodePos> at = AddNode(list, selected, is_group, text);
  if (!at) return;
  InsertNodeItem(tree_, *at, text);
  SetModified(true);
}

void CodeListController::PopupMenuCodeCopyClick() {
  QTreeWidgetItem* node = tree_.SelectedNode();
  if (!node) return;
  StockCodeList list = TreeToList(tree_);
  const std::optional<NodePos> at = DuplicateNode(list, *PositionOf(tree_, node));
  if (!at) return;
  InsertNodeItem(tree_, *at, CodeTreeView::NodeText(node));
  SetModified(true);
}

void CodeListController::PopupMenuCodeDelClick() {
  QTreeWidgetItem* node = tree_.SelectedNode();
  if (!node) return;
  // A group that still has stocks is refused without a word.
  if (!CanDeleteNode(TreeToList(tree_), *PositionOf(tree_, node))) return;
  const std::string text = CodeTreeView::NodeText(node);
  if (AskOkCancel(window_, "確認", "削除しますか？", QuestionPlace(window_)) != QMessageBox::Ok) return;
  // The question ran an event loop: take the node afresh.
  node = tree_.SelectedNode();
  if (!node || CodeTreeView::NodeText(node) != text) return;
  const StockCodeList list = TreeToList(tree_);
  if (!CanDeleteNode(list, *PositionOf(tree_, node))) return;
  delete node;
  tree_.clearSelection();
  SetModified(true);
}

void CodeListController::TreeViewCodeDragDrop(QTreeWidgetItem* target) {
  QTreeWidgetItem* node = tree_.SelectedNode();
  if (!node || !target) return;
  const StockCodeList list = TreeToList(tree_);
  const std::optional<NodeMove> move = PlanNodeDrop(list, *PositionOf(tree_, node), *PositionOf(tree_, target));
  if (!move) return;
  MoveNodeItem(tree_, *move);
  // Even a node dropped where it stood counts as an edit.
  SetModified(true);
}

}  // namespace sorvi

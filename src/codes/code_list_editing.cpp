// Editing the stock code list: the menu's entry states, copying to the
// clipboard, the code dialog, duplicate, delete, drag and drop and the
// external editor. Each edit goes through the tree's model, which makes it
// on the list with the list's rules (core/codes/code_list_edit).
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>

#include "codes/code_dialog.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "codes/stock_code_model.h"
#include "core/codes/code_list_edit.h"
#include "core/codes/stock_code_list.h"
#include "platform/confirm_box.h"
#include "platform/cp932.h"

namespace sorvi {

void CodeListController::WireEditing() {
  connect(menu_, &QMenu::aboutToShow, this, &CodeListController::PopupMenuCodePopup);
  connect(copy1_, &QAction::triggered, this, [this] { CopySelectedText(copy1_->data().toInt()); });
  connect(copy2_, &QAction::triggered, this, [this] { CopySelectedText(copy2_->data().toInt()); });
  connect(items_.edit, &QAction::triggered, this, &CodeListController::EditSelectedNode);
  connect(items_.add, &QAction::triggered, this, &CodeListController::PopupMenuCodeAddClick);
  connect(items_.copy, &QAction::triggered, this, &CodeListController::PopupMenuCodeCopyClick);
  connect(items_.del, &QAction::triggered, this, &CodeListController::DeleteSelectedNode);
  connect(&tree_, &CodeTreeView::DeleteKeyPressed, this, &CodeListController::DeleteSelectedNode);
  connect(&tree_, &CodeTreeView::DropRequested, this, &CodeListController::MoveSelectedTo);
}

TFormCodeDlg* CodeListController::CodeDialog() const { return dialog_.data(); }

void CodeListController::PopupMenuCodePopup() {
  const std::optional<NodePos> node = tree_.SelectedPosition();
  copy1_->setEnabled(node && !node->IsGroup());
  for (QAction* item : {copy2_, items_.edit, items_.copy, items_.del}) item->setEnabled(node.has_value());
}

void CodeListController::CopySelectedText(int tag) {
  const std::optional<NodePos> node = tree_.SelectedPosition();
  if (!node) return;
  const std::string_view text = NodeText(List(), *node);
  const std::string_view part = node->IsGroup() ? GroupName(text) : tag == 1 ? StockCode(text) : StockName(text);
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(SjisToQString(part));
}

void CodeListController::EditSelectedNode() {
  if (tree_.SelectedPosition()) OpenCodeDialog(false);
}

void CodeListController::PopupMenuCodeAddClick() { OpenCodeDialog(true); }

void CodeListController::OpenCodeDialog(bool add) {
  if (dialog_) {  // one at a time
    dialog_->BringToFront();
    return;
  }
  const std::optional<NodePos> node = tree_.SelectedPosition();
  auto* dialog = new TFormCodeDlg(add ? TFormCodeDlg::Mode::Add : TFormCodeDlg::Mode::Edit, window_);
  dialog_ = dialog;
  QPoint at;
  if (const QModelIndex index = node ? tree_.IndexAt(*node) : QModelIndex(); index.isValid()) {
    // Below the node, so the node being edited stays in sight.
    tree_.scrollTo(index);
    const QRect rect = tree_.visualRect(index);
    at = tree_.viewport()->mapToGlobal(QPoint(rect.left(), rect.bottom() + 1));
  } else {
    at = QPoint(window_->frameGeometry().left() + 19, tree_.mapToGlobal(QPoint(0, 0)).y());
  }
  if (add) {
    dialog->SetAddContext(!node             ? TFormCodeDlg::Selected::None
                          : node->IsGroup() ? TFormCodeDlg::Selected::Group
                                            : TFormCodeDlg::Selected::Stock);
  } else {
    dialog->SetNode(node->IsGroup(), std::string(NodeText(List(), *node)));
  }
  connect(dialog, &TFormCodeDlg::Confirmed, this,
          [this, add](bool is_group, const std::string& text) { CodeDialogConfirmed(add, is_group, text); });
  // Released later; a new one may open now.
  connect(dialog, &TFormCodeDlg::Closed, this, [this] { dialog_ = nullptr; });
  dialog->ShowOver(&tree_, at);
}

void CodeListController::ProposeStock(int group, const std::string& new_group, const QString& code,
                                      const QString& name) {
  if (dialog_) {  // one at a time
    dialog_->BringToFront();
    return;
  }
  auto* dialog = new TFormCodeDlg(TFormCodeDlg::Mode::Add, window_);
  dialog_ = dialog;
  dialog->SetProposal(code, name);
  connect(dialog, &TFormCodeDlg::Confirmed, this, [this, group, new_group](bool, const std::string& text) {
    int at = group;
    if (at < 0) {
      const std::optional<NodePos> made = model_.Add(std::nullopt, true, new_group);
      if (!made) return;
      at = made->group;
    }
    if (at >= int(List().groups.size())) return;
    // After the group's last stock, or first in an empty group.
    const int count = int(List().groups[size_t(at)].stocks.size());
    InsertNode(NodePos{at, count - 1}, false, text);
  });
  connect(dialog, &TFormCodeDlg::Closed, this, [this] { dialog_ = nullptr; });
  dialog->ShowOver(&tree_, QPoint(window_->frameGeometry().left() + 19, tree_.mapToGlobal(QPoint(0, 0)).y()));
}

void CodeListController::CodeDialogConfirmed(bool add, bool is_group, const std::string& text) {
  const std::optional<NodePos> node = tree_.SelectedPosition();
  if (add) {
    InsertNode(node, is_group, text);
    return;
  }
  // The node's own level decides, not the dialog's buttons.
  if (!node || !model_.SetText(*node, text)) return;
  document_->SetModified(true);
}

std::optional<NodePos> CodeListController::InsertNode(std::optional<NodePos> selected, bool as_group,
                                                      std::string text) {
  const std::optional<NodePos> at = model_.Add(selected, as_group, std::move(text));
  if (!at) return std::nullopt;
  tree_.SelectOnly(*at);
  document_->SetModified(true);
  return at;
}

void CodeListController::PopupMenuCodeCopyClick() {
  const std::optional<NodePos> node = tree_.SelectedPosition();
  if (!node) return;
  const std::optional<NodePos> at = model_.Duplicate(*node);
  if (!at) return;
  tree_.SelectOnly(*at);
  document_->SetModified(true);
}

void CodeListController::DeleteSelectedNode() {
  std::optional<NodePos> node = tree_.SelectedPosition();
  // A group that still has stocks is refused without a word.
  if (!node || !CanDeleteNode(List(), *node)) return;
  const std::string text(NodeText(List(), *node));
  if (AskOkCancel(window_, "確認", "削除しますか？", QuestionPlace(window_)) != QMessageBox::Ok) return;
  // The question ran an event loop: take the node afresh.
  node = tree_.SelectedPosition();
  if (!node || NodeText(List(), *node) != text || !model_.Remove(*node)) return;
  tree_.clearSelection();
  document_->SetModified(true);
}

void CodeListController::MoveSelectedTo(NodePos target) {
  const std::optional<NodePos> node = tree_.SelectedPosition();
  if (!node) return;
  const std::optional<NodePos> at = model_.Drop(*node, target);
  if (!at) return;
  tree_.SelectOnly(*at);
  // Even a node dropped where it stood counts as an edit.
  document_->SetModified(true);
}

}  // namespace sorvi

#pragma once
// `TreeViewCode`: the two-level tree of groups and stocks, a view of the
// stock code list (StockCodeModel, which the view owns). The model holds the
// node texts; the view keeps what is its own: expansion and selection, both
// carried through every edit by the model's indexes. Nodes are named by
// their position in the list. Expanding and collapsing on the user's request
// is deferred: the request selects the group and waits for the next mouse
// press in the tree.
#include <QTreeView>
#include <optional>
#include <vector>

#include "core/codes/code_list_edit.h"

namespace sorvi {

class StockCodeModel;

class CodeTreeView : public QTreeView {
  Q_OBJECT
 public:
  explicit CodeTreeView(QWidget* parent = nullptr);

  StockCodeModel& CodeModel() const { return *model_; }
  QModelIndex IndexAt(NodePos pos) const;
  std::optional<NodePos> PositionOf(const QModelIndex& index) const;

  // An expand or collapse the user asked for, waiting for the next press.
  enum class ExpandWish { kNone, kExpand, kCollapse };
  ExpandWish PendingExpandWish() const { return expand_wish_; }

  // Expansion changes made by the program itself pass through.
  void SetExpandedByProgram(const QModelIndex& group, bool expanded);

  void ClearExpandWish() { expand_wish_ = ExpandWish::kNone; }

  // The tree's primary selected node: the current node when it is selected,
  // else the first selected one; invalid when nothing is selected.
  QModelIndex SelectedNode() const;
  std::optional<NodePos> SelectedPosition() const;
  // Every selected node, in the tree's order.
  std::vector<NodePos> SelectedPositions() const;
  // Makes the node current and the only one selected, in sight.
  void SelectOnly(NodePos pos);
  // SelectOnly, its group opened first.
  void RevealNode(NodePos pos);

  // A drag dropped at `pos` (viewport coordinates): reports the node under
  // it (DropRequested), nothing when there is none.
  void DropAt(const QPoint& pos);

 signals:
  void DefaultActionRequested();  // double-click: the default code action
  void ContextMenuRequested(const QPoint& global_pos);
  void DeleteKeyPressed();  // with a node selected
  // Something was dropped on the node `target`. The tree never moves nodes
  // itself: the list's rules decide.
  void DropRequested(sorvi::NodePos target);
  // The user's wish opened or closed `group`.
  void ToggledByUser(const QModelIndex& group);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The tree's expand and collapse requests; refused unless a wish is pending.
  bool TreeViewCodeExpanding(const QModelIndex& node);
  bool TreeViewCodeCollapsing(const QModelIndex& node);
  // Carries out a pending wish; called at the start of every mouse press.
  void TreeViewCodeMouseDown();
  void RequestToggle(const QModelIndex& node, bool expand);
  void KeepSelectionAmongSiblings();
  void SelectIndexOnly(const QModelIndex& index);
  bool IsGroupWithStocks(const QModelIndex& index) const;
  bool OnBranchIndicator(const QPoint& pos, const QModelIndex& index) const;

  StockCodeModel* model_;
  // The press selected a group alone: its release must not toggle it.
  bool plain_release_ = false;
  ExpandWish expand_wish_ = ExpandWish::kNone;
};

}  // namespace sorvi

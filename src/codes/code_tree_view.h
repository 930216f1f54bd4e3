#pragma once
// `TreeViewCode`: the two-level tree of groups and stocks, a view of the
// stock code list. The list (core/codes) holds the node texts; the tree shows
// them converted and keeps what is the view's own: expansion and selection.
// Nodes are named by their position in the list. Expanding and collapsing on
// the user's request is deferred: the request selects the group and waits
// for the next mouse press in the tree.
#include <QTreeWidget>
#include <optional>
#include <string_view>
#include <vector>

#include "core/codes/code_list_edit.h"

namespace sorvi {

class CodeTreeView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CodeTreeView(QWidget* parent = nullptr);

  // Shows the whole list afresh: every group collapsed, nothing selected.
  void ShowList(const StockCodeList& list);
  // The list has had one edit; the tree follows it. An inserted or moved
  // node becomes current and the only one selected; a moved group keeps its
  // expansion.
  void ShowInserted(NodePos pos, std::string_view text);
  void ShowChanged(NodePos pos, std::string_view text);
  void ShowRemoved(NodePos pos);
  void ShowMoved(const NodeMove& move);

  std::optional<NodePos> PositionOf(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* ItemAt(NodePos pos) const;

  // An expand or collapse the user asked for, waiting for the next press.
  enum class ExpandWish { kNone, kExpand, kCollapse };
  ExpandWish PendingExpandWish() const { return expand_wish_; }

  // Expansion changes made by the program itself pass through.
  void SetExpandedByProgram(QTreeWidgetItem* item, bool expanded);

  // The tree's expand and collapse requests; refused unless a wish is pending.
  bool TreeViewCodeExpanding(QTreeWidgetItem* node);
  bool TreeViewCodeCollapsing(QTreeWidgetItem* node);
  // Carries out a pending wish; called at the start of every mouse press.
  void TreeViewCodeMouseDown();
  void ClearExpandWish() { expand_wish_ = ExpandWish::kNone; }

  // The tree's primary selected node: the current node when it is selected,
  // else the first selected one; null when nothing is selected.
  QTreeWidgetItem* SelectedNode() const;
  std::optional<NodePos> SelectedPosition() const;
  // Every selected node, in the tree's order.
  std::vector<NodePos> SelectedPositions() const;
  // Selects the node alone, opens its group and scrolls it into sight.
  void RevealNode(NodePos pos);

  // A drag dropped at `pos` (viewport coordinates): reports the node under
  // it (DropRequested), nothing when there is none.
  void TreeViewCodeDragDrop(const QPoint& pos);

 signals:
  void DefaultActionRequested();  // double-click: the default code action
  void ContextMenuRequested(const QPoint& global_pos);
  void DeleteKeyPressed();  // with a node selected
  // Something was dropped on the node `target`. The tree never moves nodes
  // itself: the list's rules decide.
  void DropRequested(sorvi::NodePos target);

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
  void RequestToggle(QTreeWidgetItem* node, bool expand);
  void KeepSelectionAmongSiblings();
  void SelectOnly(QTreeWidgetItem* item);
  bool OnBranchIndicator(const QPoint& pos, QTreeWidgetItem* item) const;

  // The press selected a group alone: its release must not toggle it.
  bool plain_release_ = false;
  ExpandWish expand_wish_ = ExpandWish::kNone;
};

}  // namespace sorvi

#pragma once
// `TreeViewCode`: the two-level tree of groups and stocks. Node texts are the
// exact Shift-JIS bytes of the list file (kept in the item, shown converted).
// Expanding and collapsing on the user's request is deferred: the request
// selects the group and waits for the next mouse press in the tree.
#include <QTreeWidget>
#include <string>

namespace sorvi {

class CodeTreeView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CodeTreeView(QWidget* parent = nullptr);

  static std::string NodeText(const QTreeWidgetItem* item);
  static void SetNodeText(QTreeWidgetItem* item, std::string bytes);
  static QTreeWidgetItem* MakeGroupItem(std::string bytes);
  static QTreeWidgetItem* MakeStockItem(std::string bytes);
  QTreeWidgetItem* AddGroup(std::string bytes);
  QTreeWidgetItem* AddStock(QTreeWidgetItem* group, std::string bytes);

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

  // Makes `stock` the one selected node, its group expanded and the node
  // scrolled into view.
  void RevealStock(QTreeWidgetItem* stock);

  // A drag dropped at `pos` (viewport coordinates): reports the node under
  // it (DropRequested), null when there is none.
  void TreeViewCodeDragDrop(const QPoint& pos);

 signals:
  void DefaultActionRequested();  // double-click: the default code action
  void ContextMenuRequested(const QPoint& global_pos);
  void DeleteKeyPressed();  // with a node selected
  // Something was dropped on the tree, on `target` (null: on no node). The
  // tree never moves nodes itself: the list's rules decide.
  void DropRequested(QTreeWidgetItem* target);

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
  bool OnBranchIndicator(const QPoint& pos, QTreeWidgetItem* item) const;

  // The press selected a group alone: its release must not toggle it.
  bool plain_release_ = false;
  ExpandWish expand_wish_ = ExpandWish::kNone;
};

}  // namespace sorvi

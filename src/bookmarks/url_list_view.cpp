#include "bookmarks/url_list_view.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "bookmarks/check_box_images.h"
#include "platform/own_drops.h"
#include "platform/shown_text.h"

namespace sorvi {
namespace {

enum Role { kTitle = Qt::UserRole + 1, kName, kUrlMacro, kKeyMacro, kFixedTitle, kKeyMacroState };

std::string Field(const QTreeWidgetItem* item, Role role) { return item->data(0, role).toByteArray().toStdString(); }

// Paints the check boxes at the places the toggling rule measures, and grid
// lines between rows and columns.
class BookmarkDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    int box_state = -1;
    if (index.column() == 0) box_state = index.siblingAtColumn(0).data(kFixedTitle).toInt();
    if (index.column() == 3) box_state = index.siblingAtColumn(0).data(kKeyMacroState).toInt();
    const int box_left = index.column() == 0 ? 3 : 2;
    if (box_state >= 0) opt.rect.setLeft(opt.rect.left() + box_left + 13);
    QStyledItemDelegate::paint(painter, opt, index);
    if (box_state >= 0) {
      const QRect box(option.rect.left() + box_left, option.rect.top() + (option.rect.height() - 13) / 2, 13, 13);
      painter->drawPixmap(box, CheckBoxImage(box_state == 1));
    }
    painter->save();
    painter->setPen(QColor(220, 220, 220));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
  }
};

}  // namespace

UrlListView::UrlListView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(4);
  setHeaderLabels({"*", "ブックマーク", "URLマクロ", ":"});
  header()->setSectionsClickable(false);
  header()->setSectionsMovable(false);
  header()->setStretchLastSection(false);
  header()->setMinimumSectionSize(0);
  setRootIsDecorated(false);
  setIndentation(0);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setItemDelegate(new BookmarkDelegate(this));
  setTextElideMode(Qt::ElideNone);
  QPalette pal = palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(pal);
  setColumnWidth(0, 19);
  setColumnWidth(1, 194);
  setColumnWidth(2, 0);
  setColumnWidth(3, 15);
  // The "*" column never gets narrower than its check box.
  connect(header(), &QHeaderView::sectionResized, this, [this](int index, int, int size) {
    if (index == 0 && size < 19) setColumnWidth(0, 19);
  });
  // Rows are dragged to reorder them; the list reports the drop and the
  // controller moves the bookmark.
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
  setDropIndicatorShown(false);
}

UrlBookmark UrlListView::Bookmark(const QTreeWidgetItem* item) {
  UrlBookmark b;
  b.fixed_title = item->data(0, kFixedTitle).toInt();
  b.title = Field(item, kTitle);
  b.name = Field(item, kName);
  b.url_macro = Field(item, kUrlMacro);
  b.key_macro = Field(item, kKeyMacro);
  b.key_macro_state = item->data(0, kKeyMacroState).toInt();
  return b;
}

void UrlListView::SetBookmark(QTreeWidgetItem* item, const UrlBookmark& b) {
  item->setData(0, kFixedTitle, b.fixed_title);
  item->setData(0, kKeyMacroState, b.key_macro_state);
  item->setData(0, kTitle, QByteArray::fromStdString(b.title));
  item->setData(0, kName, QByteArray::fromStdString(b.name));
  item->setData(0, kUrlMacro, QByteArray::fromStdString(b.url_macro));
  item->setData(0, kKeyMacro, QByteArray::fromStdString(b.key_macro));
  item->setText(0, ShownText(b.title));
  item->setText(1, ShownText(b.name));
  item->setText(2, ShownText(b.url_macro));
  item->setText(3, ShownText(b.key_macro));
  item->setToolTip(1, ShownText(b.url_macro));
}

QTreeWidgetItem* UrlListView::AddBookmark(const UrlBookmark& bookmark) {
  auto* item = new QTreeWidgetItem(this);
  SetBookmark(item, bookmark);
  return item;
}

QTreeWidgetItem* UrlListView::SelectedItem() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

int UrlListView::SelectedRow() const {
  QTreeWidgetItem* item = SelectedItem();
  return item ? indexOfTopLevelItem(item) : -1;
}

QTreeWidgetItem* UrlListView::InsertRow(int row, const UrlBookmark& bookmark, bool select) {
  auto* item = new QTreeWidgetItem();
  SetBookmark(item, bookmark);
  insertTopLevelItem(row, item);
  if (select) {
    setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item);
  }
  return item;
}

void UrlListView::MoveRow(int from, int to) {
  QTreeWidgetItem* item = topLevelItem(from);
  if (!item || to < 0 || to >= topLevelItemCount()) return;
  const bool had_focus = hasFocus();
  takeTopLevelItem(from);
  insertTopLevelItem(to, item);
  setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
  if (had_focus) setFocus();
  scrollToItem(item);
}

void UrlListView::DropAt(const QPoint& pos) {
  QTreeWidgetItem* item = itemAt(pos);
  emit RowDropped(item ? indexOfTopLevelItem(item) : -1);
}

QPoint UrlListView::ItemPosition(int row) const {
  const QRect rect = visualItemRect(topLevelItem(row));
  return QPoint(header()->sectionViewportPosition(0) + kCheckImageWidth + 2, rect.top());
}

bool UrlListView::PressCheckBoxAt(int x, int y) {
  const int count = topLevelItemCount();
  if (count == 0) return false;
  const QPoint p0 = ItemPosition(0);
  const int row_height = count >= 2 ? ItemPosition(1).y() - p0.y() : visualItemRect(topLevelItem(0)).height();
  if (row_height <= 0 || y < p0.y() || y >= p0.y() + row_height * count) return false;

  const int dx = x - p0.x() + 18;
  if (dx >= 4 && dx <= 16) {
    emit BoxPressed((y - p0.y()) / row_height, false);
    return true;
  }

  QTreeWidgetItem* selected = SelectedItem();
  if (!selected) return false;
  const int state = selected->data(0, kKeyMacroState).toInt();
  if (state == -1) return false;
  const QPoint ps = ItemPosition(indexOfTopLevelItem(selected));
  if (!(ps.y() <= y && y < ps.y() + row_height - 1)) return false;
  const int xk = ps.x() + columnWidth(0) - kCheckImageWidth + columnWidth(1) + columnWidth(2);
  if (!(xk <= x && x < xk + 14)) return false;
  emit BoxPressed(indexOfTopLevelItem(selected), true);
  return true;
}

void UrlListView::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  // A press on a row's "*" box toggles it without selecting the row.
  const int dx = pos.x() - (topLevelItemCount() ? ItemPosition(0).x() : 0) + 18;
  const bool on_title_box = dx >= 4 && dx <= 16;
  const bool toggled = PressCheckBoxAt(pos.x(), pos.y());
  if (toggled && on_title_box) {
    viewport()->update();
    event->accept();
    return;
  }
  if (toggled) viewport()->update();
  WithoutControl(event, [this](QMouseEvent* e) { QTreeWidget::mousePressEvent(e); });
}

void UrlListView::mouseReleaseEvent(QMouseEvent* event) {
  WithoutControl(event, [this](QMouseEvent* e) { QTreeWidget::mouseReleaseEvent(e); });
}

void UrlListView::WithoutControl(QMouseEvent* event, const std::function<void(QMouseEvent*)>& handle) {
  // Ctrl goes with the double-click that opens per stock: neither the press
  // nor the release of its clicks may take the selection off the row.
  if (!event->modifiers().testFlag(Qt::ControlModifier)) {
    handle(event);
    return;
  }
  QMouseEvent plain(event->type(), event->position(), event->scenePosition(), event->globalPosition(), event->button(),
                    event->buttons(), event->modifiers() & ~Qt::ControlModifier);
  handle(&plain);
  event->setAccepted(plain.isAccepted());
}

void UrlListView::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double-click is a press too: a double-click on a
  // box toggles it twice, leaving it as it was.
  const QPoint pos = event->position().toPoint();
  if (PressCheckBoxAt(pos.x(), pos.y())) viewport()->update();
  if (itemAt(pos)) emit Executed();
  event->accept();
}

void UrlListView::contextMenuEvent(QContextMenuEvent* event) {
  emit ContextMenuRequested(event->globalPos());
  event->accept();
}

// Drags from this program's own views are taken, drops from other
// programs are not.
void UrlListView::dragEnterEvent(QDragEnterEvent* event) { TakeOwnDrag(event); }

void UrlListView::dragMoveEvent(QDragMoveEvent* event) {
  QTreeWidget::dragMoveEvent(event);  // scrolls near the edges
  TakeOwnDrag(event);
}

void UrlListView::dropEvent(QDropEvent* event) {
  if (!TakeOwnDrag(event)) return;
  DropAt(event->position().toPoint());
}

}  // namespace sorvi

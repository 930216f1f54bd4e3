#include "tabs/tile_area.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QMenu>
#include <QPointer>
#include <QStackedLayout>

#include "platform/menu_items.h"
#include "tabs/tab_stack.h"

namespace sorvi {

namespace {

// Width of the current tile's frame; every tile keeps this margin so that
// the tiles stay the same size whichever is current.
constexpr int kFrameWidth = 2;

TabKey KeyOf(const QWidget* tab) { return reinterpret_cast<TabKey>(tab); }

struct LayoutItem {
  const char* name;
  const char* caption;
  TileLayout layout;
};

constexpr LayoutItem kLayoutItems[] = {
    {"PopupMenuTabTile1", "1画面(&1)", TileLayout::kSingle},
    {"PopupMenuTabTileH2", "左右に2画面(&2)", TileLayout::kSideBySide},
    {"PopupMenuTabTileV2", "上下に2画面(&3)", TileLayout::kStacked},
    {"PopupMenuTabTile4", "2×2画面(&4)", TileLayout::kGrid2x2},
    {"PopupMenuTabTile6", "3×2画面(&6)", TileLayout::kGrid3x2},
};

}  // namespace

TileArea::TileArea(TabStack* page_control, QWidget* menu_parent, QObject* parent)
    : QObject(parent),
      page_control_(page_control),
      stack_(page_control->pageArea()),
      stack_layout_(page_control->pageLayout()) {
  frame_ = new QFrame(stack_);
  frame_->setObjectName("TileFrame");
  frame_->setAutoFillBackground(true);
  frame_->setBackgroundRole(QPalette::Highlight);
  frame_->hide();
  stack_->installEventFilter(this);

  menu_ = new QMenu("並べて表示(&T)", menu_parent);
  menu_->setObjectName("PopupMenuTabTile");
  group_ = new QActionGroup(menu_);
  for (const LayoutItem& item : kLayoutItems) {
    QAction* action = AddMenuItem(menu_, item.name, QString::fromUtf8(item.caption), int(item.layout));
    action->setCheckable(true);
    group_->addAction(action);
    connect(action, &QAction::triggered, this, [this, layout = item.layout] {
      SetLayout(layout);
      emit LayoutChosen(layout);
    });
  }
  CheckMenu();
}

TileArea::~TileArea() {
  stack_->removeEventFilter(this);
  if (tiles_entered_) LeaveTiles();
}

void TileArea::CheckMenu() {
  for (QAction* action : group_->actions()) {
    if (action->data().toInt() == int(board_.layout())) action->setChecked(true);
  }
}

std::vector<TabKey> TileArea::Strip() const {
  std::vector<TabKey> strip;
  for (int i = 0; i < page_control_->count(); ++i) strip.push_back(KeyOf(page_control_->widget(i)));
  return strip;
}

bool TileArea::IsShown(const QWidget* tab) const {
  return Tiled() ? board_.TileOf(KeyOf(tab)) >= 0 : tab && tab == page_control_->currentWidget();
}

void TileArea::SetLayout(TileLayout layout) {
  board_.SetLayout(layout, Strip(), KeyOf(page_control_->currentWidget()));
  CheckMenu();
  Arrange();
}

void TileArea::Selected(QWidget* tab) {
  board_.Select(KeyOf(tab));
  Arrange();
}

void TileArea::Opened(QWidget* tab) {
  board_.Open(KeyOf(tab));
  Arrange();
}

void TileArea::Closing(QWidget* tab, QWidget* next) {
  board_.Close(KeyOf(tab), Strip(), KeyOf(next));
  Arrange();
}

void TileArea::EnterTiles() {
  // The pages are placed here from now on. Switching the stack to show all
  // its pages would show every hidden tab for a moment: the stack is hidden
  // meanwhile, so that only the tiles' pages are ever shown.
  const QPointer<QWidget> focus = QApplication::focusWidget();
  const bool visible = stack_->isVisible();
  stack_->setUpdatesEnabled(false);
  if (visible) stack_->hide();
  stack_layout_->setEnabled(false);
  stack_layout_->setStackingMode(QStackedLayout::StackAll);
  for (int i = 0; i < stack_layout_->count(); ++i) {
    QWidget* page = stack_layout_->widget(i);
    page->setVisible(board_.TileOf(KeyOf(page)) >= 0);
  }
  if (visible) stack_->show();
  stack_->setUpdatesEnabled(true);
  if (focus && focus->isVisible()) focus->setFocus();
  tiles_entered_ = true;
}

void TileArea::LeaveTiles() {
  tiles_entered_ = false;
  frame_->hide();
  stack_layout_->setStackingMode(QStackedLayout::StackOne);
  stack_layout_->setEnabled(true);
  // The hidden pages too: they keep their tile's size otherwise.
  for (int i = 0; i < stack_layout_->count(); ++i) stack_layout_->widget(i)->setGeometry(stack_->contentsRect());
}

void TileArea::Arrange() {
  if (!Tiled()) {
    if (tiles_entered_) LeaveTiles();
    return;
  }
  if (!tiles_entered_) EnterTiles();
  const TileGrid grid = GridOf(board_.layout());
  const QRect area = stack_->contentsRect();
  auto tile_rect = [&](int tile) {
    const int column = tile % grid.columns;
    const int row = tile / grid.columns;
    const int left = area.left() + area.width() * column / grid.columns;
    const int top = area.top() + area.height() * row / grid.rows;
    const int right = area.left() + area.width() * (column + 1) / grid.columns;
    const int bottom = area.top() + area.height() * (row + 1) / grid.rows;
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
  };
  for (int i = 0; i < stack_layout_->count(); ++i) {
    QWidget* page = stack_layout_->widget(i);
    const int tile = board_.TileOf(KeyOf(page));
    if (tile < 0) {
      page->hide();
      continue;
    }
    page->setGeometry(tile_rect(tile).adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth));
    page->show();
  }
  frame_->setGeometry(tile_rect(board_.current_tile()));
  frame_->lower();
  frame_->show();
  emit Arranged();
}

bool TileArea::eventFilter(QObject* watched, QEvent* event) {
  if (watched == stack_ && event->type() == QEvent::Resize && Tiled()) Arrange();
  return QObject::eventFilter(watched, event);
}

}  // namespace sorvi

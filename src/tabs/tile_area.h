#pragma once
// The page area showing several tabs at once. The tabs stay the tab
// control's pages; in a layout of more than one tile this class places and
// shows the pages in the tab control's page area itself, and marks the
// current tile with a frame. The
// current tile always holds the tab control's current tab, so whatever acts
// on the active tab acts on the current tile.
#include <QObject>

#include "core/tabs/tile_layout.h"

class QActionGroup;
class QFrame;
class QMenu;
class QStackedLayout;

namespace sorvi {

class TabStack;

class TileArea : public QObject {
  Q_OBJECT
 public:
  // The layout submenu is made as a child of `menu_parent`.
  TileArea(TabStack* page_control, QWidget* menu_parent, QObject* parent);
  // The page area gets its stacking back.
  ~TileArea() override;

  TileLayout Layout() const { return board_.layout(); }
  // Fills the tiles anew around the current tab.
  void SetLayout(TileLayout layout);
  // "並べて表示", the submenu that chooses the layout.
  QMenu* Menu() const { return menu_; }
  bool IsShown(const QWidget* tab) const;

  // What the tabs did; each call arranges the tiles again.
  void Selected(QWidget* tab);
  void Opened(QWidget* tab);
  // `tab` is about to be removed and `next` (null when none) comes forward.
  void Closing(QWidget* tab, QWidget* next);

 signals:
  // The user chose a layout from the menu.
  void LayoutChosen(sorvi::TileLayout layout);
  // The tiles show the tabs they were given (a tab restored unloaded waits
  // for this to fetch its page).
  void Arranged();

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool Tiled() const { return board_.tiles().size() > 1; }
  std::vector<TabKey> Strip() const;
  void Arrange();
  void EnterTiles();
  void LeaveTiles();
  void CheckMenu();

  TabStack* page_control_;
  QWidget* stack_;
  QStackedLayout* stack_layout_;
  QFrame* frame_;  // behind the current tile, showing at its edges
  QMenu* menu_;
  QActionGroup* group_;
  TileBoard board_;
  bool tiles_entered_ = false;
};

}  // namespace sorvi

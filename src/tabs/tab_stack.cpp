#include "tabs/tab_stack.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStackedLayout>
#include <QTabBar>
#include <QVBoxLayout>

namespace sorvi {

TabStack::TabStack(QWidget* parent) : QWidget(parent) {
  bar_ = new QTabBar(this);
  bar_->setDocumentMode(true);
  bar_->setDrawBase(true);
  bar_->setExpanding(false);
  bar_->setElideMode(Qt::ElideNone);
  bar_->setMovable(false);  // dragging is our own (tab strip handling)
  pages_ = new QWidget(this);
  layout_ = new QStackedLayout(pages_);

  auto* strip = new QHBoxLayout;
  strip->setContentsMargins(0, 0, 0, 0);
  strip->setSpacing(0);
  strip->addWidget(bar_);
  // Beside the tabs the strip is this widget's own (a double-click there
  // reloads, as on a tab).
  strip->addStretch(1);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addLayout(strip);
  column->addWidget(pages_, 1);

  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setFocusPolicy(Qt::TabFocus);
  setFocusProxy(bar_);
  connect(bar_, &QTabBar::currentChanged, this, &TabStack::ShowTab);
}

int TabStack::count() const { return bar_->count(); }
int TabStack::currentIndex() const { return bar_->currentIndex(); }
QWidget* TabStack::currentWidget() const { return layout_->currentWidget(); }
QWidget* TabStack::widget(int index) const { return layout_->widget(index); }
int TabStack::indexOf(const QWidget* page) const { return layout_->indexOf(page); }
QString TabStack::tabText(int index) const { return bar_->tabText(index); }
void TabStack::setTabText(int index, const QString& text) { bar_->setTabText(index, text); }

int TabStack::insertTab(int index, QWidget* page, const QString& text) {
  if (!page) return -1;
  // The page first: the strip's first tab reports itself current at once.
  index = layout_->insertWidget(index, page);
  bar_->insertTab(index, text);
  return index;
}

void TabStack::removeTab(int index) {
  QWidget* page = layout_->widget(index);
  if (!page) return;
  layout_->removeWidget(page);
  bar_->removeTab(index);
}

void TabStack::moveTab(int from, int to) {
  QWidget* page = layout_->widget(from);
  if (!page || from == to || to < 0 || to >= count()) return;
  // The page moves first, so that the strip's report of the current index
  // finds its page there.
  QWidget* current = layout_->currentWidget();
  const bool shown = !page->isHidden();
  layout_->removeWidget(page);
  layout_->insertWidget(to, page);
  if (current) layout_->setCurrentWidget(current);
  if (shown) page->show();
  bar_->moveTab(from, to);
}

void TabStack::setCurrentIndex(int index) { bar_->setCurrentIndex(index); }

void TabStack::setCurrentWidget(QWidget* page) { bar_->setCurrentIndex(indexOf(page)); }

void TabStack::ShowTab(int index) {
  if (index >= 0 && index < layout_->count()) layout_->setCurrentIndex(index);
  emit currentChanged(index);
}

void TabStack::keyPressEvent(QKeyEvent* event) {
  // Ctrl+Tab and Ctrl+Shift+Tab go round the tabs.
  const bool tab_key = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
  if (tab_key && count() > 1 && event->modifiers().testFlag(Qt::ControlModifier)) {
    const bool back = event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
    setCurrentIndex((currentIndex() + (back ? count() - 1 : 1)) % count());
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace sorvi

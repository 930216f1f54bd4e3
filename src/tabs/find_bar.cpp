#include "tabs/find_bar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "platform/web_browser.h"

namespace sorvi {

namespace {

constexpr int kMargin = 4;

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QString& tip) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(text);
  button->setToolTip(tip);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

FindBar::FindBar(QWidget* host, const FindBarHost& target)
    : QFrame(host->parentWidget()), host_(host), target_(target) {
  setObjectName("FindBar");
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(kMargin, 2, 2, 2);
  layout->setSpacing(2);
  text_ = new QLineEdit(this);
  text_->setObjectName("FindBarText");
  text_->setPlaceholderText("ページ内を検索");
  text_->setMinimumWidth(160);
  count_ = new QLabel(this);
  count_->setObjectName("FindBarCount");
  count_->setMinimumWidth(80);
  previous_ = MakeButton(this, "FindBarPrevious", "▲", "前を検索 (Shift+Enter)");
  next_ = MakeButton(this, "FindBarNext", "▼", "次を検索 (Enter)");
  close_ = MakeButton(this, "FindBarClose", "✕", "閉じる (Esc)");
  layout->addWidget(text_);
  layout->addWidget(count_);
  layout->addWidget(previous_);
  layout->addWidget(next_);
  layout->addWidget(close_);

  // Each change searches afresh from the current match, as the user types.
  connect(text_, &QLineEdit::textEdited, this, [this] { Search(false); });
  connect(previous_, &QToolButton::clicked, this, [this] { FindNext(true); });
  connect(next_, &QToolButton::clicked, this, [this] { FindNext(false); });
  connect(close_, &QToolButton::clicked, this, [this] { Close(); });
  host_->installEventFilter(this);
  hide();
}

void FindBar::Open() {
  if (!target_.FindTarget()) return;
  const bool was_open = isVisible();
  Place();
  show();
  raise();
  text_->setFocus(Qt::ShortcutFocusReason);
  text_->selectAll();
  // Highlighted afresh; a bar already open keeps its current match.
  if (!was_open && !text_->text().isEmpty()) Search(false);
}

void FindBar::Close(bool focus_page) {
  if (isHidden()) return;
  hide();
  ++serial_;
  count_->clear();
  if (searched_) searched_->FindText(QString(), false);
  searched_ = nullptr;
  if (focus_page) {
    if (WebBrowser* browser = target_.FindTarget()) browser->FocusPage();
  }
}

void FindBar::FindNext(bool backward) {
  if (isHidden()) return;
  Search(backward);
}

void FindBar::Search(bool backward) {
  WebBrowser* browser = target_.FindTarget();
  if (!browser) return;
  if (searched_ && searched_ != browser) searched_->FindText(QString(), false);
  searched_ = browser;
  const int serial = ++serial_;
  const QString text = text_->text();
  if (text.isEmpty()) {
    count_->clear();
    browser->FindText(QString(), false);
    return;
  }
  QPointer<FindBar> self(this);
  browser->FindText(text, backward, [self, serial](int active, int count) {
    if (self && self->serial_ == serial) self->ShowCount(active, count);
  });
}

void FindBar::ShowCount(int active, int count) {
  count_->setText(count > 0 ? QString("%1/%2 件").arg(active).arg(count) : QString("見つかりません"));
}

QString FindBar::CountText() const { return count_->text(); }

void FindBar::Place() {
  QWidget* page = target_.ShownPage();
  QWidget* area_widget = page ? page : host_;
  const QRect area(area_widget->mapTo(parentWidget(), QPoint(0, 0)), area_widget->size());
  const QSize size = sizeHint().boundedTo(area.size());
  resize(size);
  move(area.right() - size.width() - kMargin * 4, area.top());
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape: Close(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: FindNext(event->modifiers().testFlag(Qt::ShiftModifier)); return;
    default:
      // Nothing typed here goes on to the window or the page.
      event->accept();
      return;
  }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched == host_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move) && isVisible()) Place();
  return QFrame::eventFilter(watched, event);
}

}  // namespace sorvi

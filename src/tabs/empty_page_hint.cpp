#include "tabs/empty_page_hint.h"

#include <QEvent>

namespace sorvi {

EmptyPageHint::EmptyPageHint(QWidget* page_area) : QLabel(page_area) {
  setObjectName("LabelEmptyPageHint");
  setText(
      QStringLiteral("ページはここにタブで開きます。\n\n"
                     "1. 左下の銘柄一覧で銘柄を選びます（グループごと、Ctrl・Shift で複数も選べます）。\n"
                     "2. 左上のURL一覧でブックマークをダブルクリックします。\n"
                     "    アドレス欄にアドレスを入れて Enter でも開きます。\n\n"
                     "使い方は、ツールバー右端の「メニュー」ボタンの「ヘルプ」にあります。"));
  setAlignment(Qt::AlignCenter);
  setWordWrap(true);
  setMargin(16);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Window);
  setForegroundRole(QPalette::WindowText);
  setFocusPolicy(Qt::NoFocus);
  // Drops and clicks on the page area go where they went without it.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(page_area->rect());
  page_area->installEventFilter(this);
  raise();
}

void EmptyPageHint::ShowForTabCount(int count) {
  setVisible(count == 0);
  if (count == 0) raise();
}

bool EmptyPageHint::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  return QLabel::eventFilter(watched, event);
}

}  // namespace sorvi

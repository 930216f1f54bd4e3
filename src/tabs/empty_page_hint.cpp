#include "tabs/empty_page_hint.h"

#include <QEvent>
#include <algorithm>

namespace sorvi {

EmptyPageHint::EmptyPageHint(QWidget* page_area) : QLabel(page_area) {
  setObjectName("LabelEmptyPageHint");
  setText(
      QStringLiteral("ページはここにタブで開きます。\n\n"
                     "1. 左下の銘柄一覧で銘柄を選びます（グループごと、Ctrl・Shift で複数も選べます）。\n"
                     "2. 左上のURL一覧でブックマークをダブルクリックします。\n"
                     "    アドレス欄にアドレスを入れて Enter でも開きます。\n\n"
                     "使い方は、ツールバー右端の「メニュー」ボタンの「ヘルプ」にあります。"));
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setWordWrap(true);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Window);
  setForegroundRole(QPalette::WindowText);
  setFocusPolicy(Qt::NoFocus);
  // Drops and clicks on the page area go where they went without it.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  page_area->installEventFilter(this);
  Fit();
}

void EmptyPageHint::ShowForTabCount(int count) {
  setVisible(count == 0);
  if (count == 0) raise();
}

void EmptyPageHint::Fit() {
  setGeometry(parentWidget()->rect());
  // The lines stay left-aligned, as a block in the middle; a narrow area
  // wraps them.
  int longest = 0;
  for (const QString& line : text().split('\n')) longest = std::max(longest, fontMetrics().horizontalAdvance(line));
  const int side = std::max(16, (width() - longest) / 2 - 1);
  setContentsMargins(side, 16, side, 16);
  raise();
}

bool EmptyPageHint::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) Fit();
  return QLabel::eventFilter(watched, event);
}

}  // namespace sorvi

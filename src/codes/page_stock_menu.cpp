#include "codes/page_stock_menu.h"

#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>

#include "codes/code_list_controller.h"
#include "core/codes/code_list_edit.h"
#include "core/codes/codes_in_text.h"
#include "platform/confirm_box.h"
#include "platform/cp932.h"
#include "platform/page_marks.h"
#include "platform/web_browser.h"

namespace sorvi {
namespace {

struct Found {
  QString code;
  QString around;  // the text the code stood in
};

// The link's text first, then the selection, then the link's address.
std::optional<Found> FindCode(const PageMenuContext& context) {
  const QString address = QUrl::fromPercentEncoding(context.link_url.toEncoded());
  for (const QString& text : {context.link_text, context.selected_text, address}) {
    const std::string utf8 = text.toStdString();
    const std::vector<CodeInText> codes = FindStockCodes(utf8);
    if (!codes.empty()) return Found{QString::fromStdString(codes[0].code), text == address ? QString() : text};
  }
  return std::nullopt;
}

QString GroupTitle(const StockCodeList& list, size_t group) {
  return SjisToQString(GroupName(list.groups[group].text));
}

}  // namespace

PageStockMenu::PageStockMenu(CodeListController& codes, QWidget* window)
    : QObject(window), codes_(codes), window_(window) {
  SetPageMenuExtension(this);
}

PageStockMenu::~PageStockMenu() {
  if (CurrentPageMenuExtension() == this) SetPageMenuExtension(nullptr);
}

void PageStockMenu::AddToPageMenu(QMenu* menu, WebBrowser* browser, const PageMenuContext& context) {
  if (context.editable) return;
  const std::optional<Found> found = FindCode(context);
  if (!found) return;
  const StockCodeList& list = codes_.List();
  const std::vector<size_t> holding = GroupsHolding(list, found->code.toStdString());
  menu->addSeparator();
  QMenu* groups = menu->addMenu(QStringLiteral("コードリストに追加"));
  groups->setObjectName("PageMenuAddStock");
  QStringList where;
  for (size_t g : holding) where << GroupTitle(list, g);
  if (!where.isEmpty()) {
    groups->addAction(QStringLiteral("%1 にあります").arg(where.join(QStringLiteral("、"))))->setEnabled(false);
    groups->addSeparator();
  }
  QPointer<WebBrowser> page(browser);
  const QString code = found->code, around = found->around;
  const bool held = !holding.empty();
  const QString where_text = where.join(QStringLiteral("、"));
  auto add = [this, page, code, around, held, where_text](int group) {
    if (held && AskOkCancel(window_, QStringLiteral("確認"),
                            QStringLiteral("%1 は %2 にあります。追加しますか？").arg(code, where_text),
                            QuestionPlace(window_)) != QMessageBox::Ok)
      return;
    Add(page, group, code, around);
  };
  for (size_t g = 0; g < list.groups.size(); ++g)
    connect(groups->addAction(GroupTitle(list, g)), &QAction::triggered, this, [add, g] { add(int(g)); });
  groups->addSeparator();
  connect(groups->addAction(QStringLiteral("新しいグループ…")), &QAction::triggered, this, [add] { add(-1); });
}

void PageStockMenu::Add(WebBrowser* browser, int group, const QString& code, const QString& around) {
  std::string new_group;
  if (group < 0) {
    bool ok = false;
    const QString name = QInputDialog::getText(window_, QStringLiteral("新しいグループ"), QStringLiteral("グループ名"),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok || name.trimmed().isEmpty()) return;
    new_group = ComposeGroupText(QStringToSjis(name.trimmed()));
  }
  const QPointer<PageStockMenu> self(this);
  auto propose = [self, group, new_group, code, around](const QStringList& row) {
    if (!self) return;
    std::vector<std::string> cells;
    for (const QString& cell : row) cells.push_back(cell.toStdString());
    const std::string name = ProposeStockName(around.toStdString(), code.toStdString(), cells);
    self->codes_.ProposeStock(group, new_group, code, QString::fromStdString(name));
  };
  if (!browser) {
    propose({});
    return;
  }
  // The row around the element right-clicked, read where the marks live.
  browser->RunJavaScriptApart(page_marks::ContextRowScript(),
                              [propose](const QVariant& row) { propose(row.toStringList()); });
}

}  // namespace sorvi

// The address box: its history rule and the file picked by a double-click.
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "core/tabs/address_history.h"
#include "platform/cp932.h"
#include "tabs/tab_controller.h"

namespace sorvi {

void AddToHistory(QComboBox* box, int limit) {
  const QString text = box->currentText();
  if (text.isEmpty() || limit < 0) return;
  std::vector<std::string> before;
  for (int i = 0; i < box->count(); ++i) before.push_back(QStringToSjis(box->itemText(i)));
  std::vector<std::string> after = before;
  int selected = -1;
  AddToHistory(after, QStringToSjis(text), static_cast<size_t>(limit), &selected);

  // The rule puts the text first and drops at most one old entry; find that
  // one so that the other items keep their exact text.
  int removed = -1;
  if (after.size() == before.size()) {
    removed = static_cast<int>(before.size()) - 1;
    for (size_t k = 0; k + 1 < after.size(); ++k) {
      if (after[k + 1] != before[k]) {
        removed = static_cast<int>(k);
        break;
      }
    }
  }
  if (removed >= 0) box->removeItem(removed);
  box->insertItem(0, text);
  if (selected == 0) box->setCurrentIndex(0);
  box->setEditText(text);
}

void TabController::ComboBoxURLDblClick() {
  TFormMain& f = form_;
  const QString path = QFileDialog::getOpenFileName(&f, QString(), f.OpenDialogInitialDir,
                                                    QStringLiteral("HTML(*.htm *.html);;すべてのファイル(*)"));
  if (path.isEmpty()) return;
  f.OpenDialogInitialDir = QFileInfo(path).absolutePath();
  f.ComboBoxURL->setEditText(path);
  ToolButtonNavigateClick(f.ComboBoxURL);
}

}  // namespace sorvi

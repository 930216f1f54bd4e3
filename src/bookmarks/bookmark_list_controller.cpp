#include "bookmarks/bookmark_list_controller.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <stdexcept>

#include "app/main_window.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "core/bookmarks/url_macro.h"
#include "core/files/file_io.h"
#include "platform/cp932.h"
#include "tabs/tab_controller.h"

namespace sorvi {

BookmarkListController::BookmarkListController(TFormMain& form)
    : QObject(&form), form_(form), list_(*form.ListViewURL) {
  connect(form_.PopupMenuURLSave, &QAction::triggered, this, [this] { PopupMenuURLSaveClick(); });
  connect(form_.PopupMenuURLGo, &QAction::triggered, this, [this] { ListViewURLDblClick(form_.PopupMenuURLGo); });
  connect(&list_, &UrlListView::Executed, this, [this] { ListViewURLDblClick(&list_); });
  connect(&list_, &UrlListView::Modified, this, [this] { SetModified(true); });
  connect(&list_, &UrlListView::ContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenuURLPopup();
    form_.PopupMenuURL->popup(at);
  });
}

QString BookmarkListController::FilePath() const { return form_.ExeDir + "SV_List.txt"; }

void BookmarkListController::PopupMenuURLEditorClick(QObject* /*sender*/) {
  const std::string path = QFile::encodeName(FilePath()).toStdString();
  if (!FileExists(path)) return;
  list_.clear();
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) throw std::runtime_error(QString("ファイル %1 は開けません").arg(FilePath()).toStdString());
  QList<QTreeWidgetItem*> items;
  for (const UrlBookmark& bookmark : ParseBookmarkFile(*bytes)) {
    auto* item = new QTreeWidgetItem();
    UrlListView::SetBookmark(item, bookmark);
    items.push_back(item);
  }
  list_.addTopLevelItems(items);
}

bool BookmarkListController::PopupMenuURLSaveClick() {
  std::vector<UrlBookmark> bookmarks;
  bookmarks.reserve(size_t(list_.topLevelItemCount()));
  for (int i = 0; i < list_.topLevelItemCount(); ++i) bookmarks.push_back(UrlListView::Bookmark(list_.topLevelItem(i)));
  std::string error;
  if (!ReplaceFileContents(QFile::encodeName(FilePath()).toStdString(), SerializeBookmarkList(bookmarks), &error)) {
    form_.ShowError(QString("URL一覧を保存できませんでした。\n%1\n(%2)\n\n元のファイルはそのまま残っています。")
                        .arg(FilePath(), QString::fromLocal8Bit(error.c_str())));
    return false;
  }
  SetModified(false);
  return true;
}

void BookmarkListController::PopupMenuURLPopup() {
  const bool selected = list_.SelectedItem() != nullptr;
  form_.PopupMenuURLEdit->setEnabled(selected);
  form_.PopupMenuURLCopy->setEnabled(selected);
  form_.PopupMenuURLDel->setEnabled(selected);
}

bool BookmarkListController::IsModified() const { return form_.PopupMenuURLSave->isEnabled(); }

void BookmarkListController::SetModified(bool modified) { form_.PopupMenuURLSave->setEnabled(modified); }

void BookmarkListController::ListViewURLDblClick(QObject* sender) {
  QTreeWidgetItem* item = list_.SelectedItem();
  if (!item) return;
  const UrlBookmark bookmark = UrlListView::Bookmark(item);
  const UrlSelection selection = form_.Codes()->GatherUrlSelection();
  const std::string address = ExpandUrlMacro(bookmark.url_macro, selection);
  form_.ComboBoxURL->setEditText(SjisToQString(address));
  TabController& tabs = *form_.Tabs();
  if (address.empty()) {
    // Nothing will open: don't leave a caption or macro behind for the
    // next, unrelated navigation.
    tabs.PendingCaption.clear();
    tabs.PendingKeyMacro.clear();
    return;
  }
  tabs.PendingCaption = MakeBookmarkCaption(bookmark, selection);
  if (bookmark.key_macro_state == 1) tabs.PendingKeyMacro = bookmark.key_macro;
  tabs.ToolButtonNavigateClick(sender);
}

}  // namespace sorvi

#pragma once
// The bookmark list: its bookmarks, its document (file, modified mark,
// editor, kept copy), the list's menu, and the opening of a bookmark for
// the selected stocks.
#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "core/bookmarks/url_bookmark.h"
#include "core/bookmarks/url_macro.h"
#include "core/files/file_report.h"
#include "core/settings/app_options.h"
#include "platform/list_document.h"
#include "tabs/open_request.h"

class QAction;
class QMenu;
class QWidget;

namespace sorvi {

class TFormURLDlg;
class StockSelection;
class UrlListView;

class BookmarkListController : public QObject, private ListDocumentOwner {
  Q_OBJECT
 public:
  // `list` is `ListViewURL`, which shows the bookmarks; `selection` is the
  // code tree's, read as URL macros see it; the list file lives in
  // `data_dir`; `options` (the window's, read when used) name the external
  // editor; `window` parents the menu and message boxes.
  BookmarkListController(UrlListView* list, const StockSelection& selection, const QString& data_dir,
                         const AppOptions& options, QWidget* window);

  QMenu* Menu() const { return menu_; }
  const std::vector<UrlBookmark>& Bookmarks() const { return bookmarks_; }
  // `SV_List.txt`: loading leaves the modified mark as it was.
  ListDocument& Document() const { return *document_; }
  std::string ListFileBytes() const override;

  // Adds a bookmark at the end of the list (and shows it).
  void Append(const UrlBookmark& bookmark);

  // The bookmark dialog while it is open.
  TFormURLDlg* BookmarkDialog() const;

  // Opens the selected bookmark for the selected stocks; Shift (in
  // `modifiers`) inverts the navigate mode.
  void OpenSelectedBookmark(Qt::KeyboardModifiers modifiers);
  // "銘柄ごとに開く" (also Ctrl with the double-click): the selected bookmark
  // once per selected stock, each in a tab of its own; many stocks ask first.
  void OpenPerStock();

 signals:
  // A page to open; an empty address opens nothing but clears the box.
  void OpenRequested(const sorvi::OpenRequest& request);
  // Pages to open one after another, in this order.
  void OpenEachRequested(const std::vector<sorvi::OpenRequest>& requests);
  // The bookmark's page was opened for the tree's selection (after
  // OpenRequested has been carried out).
  void BookmarkOpened(const sorvi::UrlBookmark& bookmark);

 private:
  void BuildMenu(QWidget* window);
  void UpdateMenuItems();
  // ---- editing (bookmark_list_editing.cpp) ----
  void PopupMenuURLEditClick();
  void PopupMenuURLAddClick();
  void PopupMenuURLCopyClick();
  void PopupMenuURLDelClick();
  // The selected bookmark dropped on row `target` (-1: on no row).
  void MoveSelectedTo(int target);
  void ShowAll();
  void LoadListBytes(std::string_view bytes, FileReport* report) override;
  void ToggleBox(int row, bool key_macro_box);
  void WireEditing();
  void OpenBookmarkDialog(bool add);
  void BookmarkDialogConfirmed(bool add, const UrlBookmark& bookmark);

  UrlListView& list_;
  const StockSelection& selection_;
  QWidget* window_;
  std::vector<UrlBookmark> bookmarks_;
  ListDocument* document_ = nullptr;

  QMenu* menu_ = nullptr;       // `PopupMenuURL`
  QAction* go_each_ = nullptr;  // `PopupMenuURLGoEach`
  ListMenuItems items_;         // `PopupMenuURLEdit` … `PopupMenuURLSave`
  QPointer<TFormURLDlg> dialog_;
};

}  // namespace sorvi

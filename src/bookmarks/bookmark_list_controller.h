#pragma once
// The bookmark list: its bookmarks and modified mark, loading and saving,
// the list's menu, and the opening of a bookmark for the selected stocks.
#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "core/bookmarks/url_bookmark.h"
#include "core/bookmarks/url_macro.h"
#include "core/files/file_report.h"
#include "core/settings/app_options.h"
#include "tabs/open_request.h"

class QAction;
class QMenu;
class QWidget;

namespace sorvi {

class ListEditCycle;
class ListFile;
class TFormURLDlg;
class StockSelection;
class UrlListView;

class BookmarkListController : public QObject {
  Q_OBJECT
 public:
  // `list` is `ListViewURL`, which shows the bookmarks; `selection` is the
  // code tree's, read as URL macros see it; the list file lives in
  // `data_dir`; `options` (the window's, read when used) name the external
  // editor; `window` parents the menu and message boxes.
  BookmarkListController(UrlListView* list, const StockSelection& selection, const QString& data_dir,
                         const AppOptions& options, QWidget* window);

  QString FilePath() const;
  QMenu* Menu() const { return menu_; }
  const std::vector<UrlBookmark>& Bookmarks() const { return bookmarks_; }

  // Loads the list file; the modified mark is left as it was. A file that
  // exists but cannot be read leaves the list empty and is then never saved
  // over; the report says so, or what of the text was left out.
  FileReport LoadList();
  // "エディタ": runs the external editor on the file and loads it once the
  // editor is done (asynchronously, see ListEditCycle).
  void OpenEditor();
  ListEditCycle* EditCycle() const { return cycle_; }
  // Writes the list file; a failure keeps the list marked modified and the
  // file as it was.
  FileReport SaveList();
  // SaveList, with a failure shown to the user; returns whether it saved.
  bool SaveAndReport();
  // Shows a list kept from an earlier run (bytes of the list file's form)
  // as this list's unsaved changes: marked modified, the file untouched.
  // The report says what of the text was left out.
  FileReport LoadUnsavedCopy(const std::string& bytes);
  // The bookmarks as the list file holds them.
  std::string ListFileBytes() const;
  void PopupMenuURLPopup();

  bool IsModified() const;
  void SetModified(bool modified);
  bool LoadFailed() const;

  // Adds a bookmark at the end of the list (and shows it).
  void Append(const UrlBookmark& bookmark);

  // ---- editing (bookmark_list_editing.cpp) ----
  void PopupMenuURLEditClick();
  void PopupMenuURLAddClick();
  void PopupMenuURLCopyClick();
  void PopupMenuURLDelClick();
  // The selected bookmark dropped on row `target` (-1: on no row).
  void ListViewURLDragDrop(int target);
  // The bookmark dialog while it is open.
  TFormURLDlg* BookmarkDialog() const;

  // Opens the selected bookmark for the selected stocks; Shift (in
  // `modifiers`) inverts the navigate mode.
  void ListViewURLDblClick(Qt::KeyboardModifiers modifiers);
  // "銘柄ごとに開く" (also Ctrl with the double-click): the selected bookmark
  // once per selected stock, each in a tab of its own; many stocks ask first.
  void OpenPerStock();

 signals:
  // A page to open; an empty address opens nothing but clears the box.
  void OpenRequested(const sorvi::OpenRequest& request);
  // Pages to open one after another, in this order.
  void OpenEachRequested(const std::vector<sorvi::OpenRequest>& requests);
  // The list got unsaved changes, or has none any more (saved).
  void ModifiedChanged(bool modified);

 private:
  void BuildMenu(QWidget* window);
  void ShowAll();
  // Shows the bookmarks of list file bytes; says what it could not keep.
  void ShowListBytes(const std::string& bytes, FileReport* report);
  void ToggleBox(int row, bool key_macro_box);
  void WireEditing();
  void OpenBookmarkDialog(bool add);
  void BookmarkDialogConfirmed(bool add, const UrlBookmark& bookmark);

  UrlListView& list_;
  const StockSelection& selection_;
  const AppOptions& options_;
  QWidget* window_;
  std::vector<UrlBookmark> bookmarks_;
  ListFile* file_ = nullptr;

  QMenu* menu_ = nullptr;     // `PopupMenuURL`
  QAction* go_each_ = nullptr;  // `PopupMenuURLGoEach`
  QAction* edit_ = nullptr;   // `PopupMenuURLEdit`
  QAction* copy_ = nullptr;   // `PopupMenuURLCopy`
  QAction* del_ = nullptr;    // `PopupMenuURLDel`
  QAction* save_ = nullptr;   // `PopupMenuURLSave`: enabled while modified
  QAction* add_ = nullptr;    // `PopupMenuURLAdd`
  QAction* editor_ = nullptr; // `PopupMenuURLEditor`
  QPointer<TFormURLDlg> dialog_;
  ListEditCycle* cycle_ = nullptr;
};

}  // namespace sorvi

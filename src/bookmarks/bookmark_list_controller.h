#pragma once
// The bookmark list: its bookmarks and modified mark, loading and saving,
// the list's menu, and the opening of a bookmark for the selected stocks.
#include <QObject>
#include <functional>
#include <vector>

#include "core/bookmarks/url_bookmark.h"
#include "core/bookmarks/url_macro.h"
#include "tabs/open_request.h"

class QAction;
class QMenu;
class QWidget;

namespace sorvi {

class UrlListView;

class BookmarkListController : public QObject {
  Q_OBJECT
 public:
  // `list` is `ListViewURL`, which shows the bookmarks; `selection` gives the
  // code tree's selection as URL macros see it; the list file lives in
  // `exe_dir`; `window` parents the menu and message boxes.
  BookmarkListController(UrlListView* list, std::function<UrlSelection()> selection, const QString& exe_dir,
                         QWidget* window);

  QString FilePath() const;
  QMenu* Menu() const { return menu_; }
  const std::vector<UrlBookmark>& Bookmarks() const { return bookmarks_; }

  // Without a sender: loads the list file (start-up); the modified mark is
  // left as it was. Throws std::runtime_error when the file can't be read;
  // the list is then never saved over that file.
  void PopupMenuURLEditorClick(QObject* sender);
  bool PopupMenuURLSaveClick();
  void PopupMenuURLPopup();

  bool IsModified() const { return modified_; }
  void SetModified(bool modified);
  bool LoadFailed() const { return load_failed_; }

  // Adds a bookmark at the end of the list (and shows it).
  void Append(const UrlBookmark& bookmark);

  // Opens the selected bookmark for the selected stocks; Shift (in
  // `modifiers`) inverts the navigate mode.
  void ListViewURLDblClick(Qt::KeyboardModifiers modifiers);

 signals:
  // A page to open; an empty address opens nothing but clears the box.
  void OpenRequested(const sorvi::OpenRequest& request);

 private:
  void BuildMenu(QWidget* window);
  void ShowAll();
  void ShowError(const QString& text);
  void ToggleBox(int row, bool key_macro_box);

  UrlListView& list_;
  std::function<UrlSelection()> selection_;
  QString exe_dir_;
  QWidget* window_;
  std::vector<UrlBookmark> bookmarks_;
  bool modified_ = false;
  bool load_failed_ = false;

  QMenu* menu_ = nullptr;     // `PopupMenuURL`
  QAction* edit_ = nullptr;   // `PopupMenuURLEdit`
  QAction* copy_ = nullptr;   // `PopupMenuURLCopy`
  QAction* del_ = nullptr;    // `PopupMenuURLDel`
  QAction* save_ = nullptr;   // `PopupMenuURLSave`: enabled while modified
};

}  // namespace sorvi

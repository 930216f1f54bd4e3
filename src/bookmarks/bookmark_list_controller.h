#pragma once
// Loading, saving and the modified mark of the bookmark list, its menu, and
// the opening of a bookmark for the selected stocks.
#include <QObject>

namespace sorvi {

class TFormMain;
class UrlListView;

class BookmarkListController : public QObject {
  Q_OBJECT
 public:
  explicit BookmarkListController(TFormMain& form);

  QString FilePath() const;

  // Without a sender: loads the list file (start-up); the modified mark is
  // left as it was. Throws std::runtime_error when the file can't be read.
  void PopupMenuURLEditorClick(QObject* sender);
  bool PopupMenuURLSaveClick();
  void PopupMenuURLPopup();

  bool IsModified() const;
  void SetModified(bool modified);

  // Opens the selected bookmark for the selected stocks.
  void ListViewURLDblClick(QObject* sender);

 private:
  TFormMain& form_;
  UrlListView& list_;
};

}  // namespace sorvi

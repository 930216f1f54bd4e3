#pragma once
// Loading, saving and the modified mark of the stock code list, the expand
// state of its groups, and what the other subsystems read of the selection.
#include <QObject>
#include <string>
#include <string_view>

#include "core/bookmarks/url_macro.h"

class QAction;
class QTreeWidgetItem;

namespace sorvi {

class TFormMain;
class CodeTreeView;

class CodeListController : public QObject {
  Q_OBJECT
 public:
  explicit CodeListController(TFormMain& form);

  QString FilePath() const;

  // Without a sender: loads the list file into the tree (start-up). Throws
  // std::runtime_error with a Japanese message when the file exists but
  // cannot be read.
  void PopupMenuCodeEditorClick(QObject* sender);
  // Writes the tree to the list file. A failure is shown to the user and
  // keeps the list marked modified; returns whether it was saved.
  bool PopupMenuCodeSaveClick();

  // The modified mark is the enabled state of "保存".
  // The tree's "実行" submenu; "URLを開く" opens the selected bookmark for
  // the selection. A double-click in the tree runs the checked item.
  void PopupMenuCodeGoClick(QAction* item);

  bool IsModified() const;
  void SetModified(bool modified);

  std::string ExpandStateText() const;
  void RestoreExpandState(std::string_view state);
  void ScrollToTop();

  // The selection as the URL macros see it, gathered afresh.
  UrlSelection GatherUrlSelection() const;
  // Caption bytes of the tree's primary selected node; empty when none.
  std::string SelectedNodeCaption() const;

 private:
  TFormMain& form_;
  CodeTreeView& tree_;
};

}  // namespace sorvi

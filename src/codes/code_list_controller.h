#pragma once
// The stock code list: the list itself (the core model every edit goes
// through), loading, saving and the modified mark, the tree's menu, the
// expand state of its groups, and what the other subsystems read of the
// selection.
#include <QObject>
#include <QPointer>
#include <optional>
#include <string>
#include <string_view>

#include "codes/stock_selection.h"
#include "core/bookmarks/url_macro.h"
#include "core/codes/code_list_edit.h"
#include "core/files/file_report.h"
#include "core/settings/app_options.h"

class QAction;
class QMenu;
class QWidget;

namespace sorvi {

class CodeTreeView;
class ListEditCycle;
class ListFile;
class TFormCodeDlg;

class CodeListController : public QObject, public StockSelection {
  Q_OBJECT
 public:
  // `tree` is `TreeViewCode`; the list file lives in `data_dir`; `options`
  // (the window's, read when used) name the external editor; `window`
  // parents the menus and message boxes.
  CodeListController(CodeTreeView* tree, const QString& data_dir, const AppOptions& options, QWidget* window);

  QString FilePath() const;
  QMenu* Menu() const { return menu_; }
  const StockCodeList& List() const { return list_; }

  // Loads the list file into the tree. A file that exists but cannot be
  // read leaves the tree empty and is then never saved over; the report
  // says so, or what of the text was left out.
  FileReport LoadList();
  // "エディタ": runs the external editor on the file and loads it once the
  // editor is done (asynchronously, see ListEditCycle).
  void OpenEditor();
  ListEditCycle* EditCycle() const { return cycle_; }
  // Shows a list kept from an earlier run (bytes of the list file's form)
  // as this list's unsaved changes: marked modified, the file untouched.
  // The report says what of the text was left out.
  FileReport LoadUnsavedCopy(const std::string& bytes);
  // The list as the list file holds it.
  std::string ListFileBytes() const;
  // Writes the list to the list file; a failure keeps the list marked
  // modified and the file as it was.
  FileReport SaveList();
  // SaveList, with a failure shown to the user; returns whether it saved.
  bool SaveAndReport();
  // "URLを開く": the selected bookmark opens for the tree's selection.
  void OpenBookmarkForSelection();

  // ---- editing (code_list_editing.cpp) ----
  void PopupMenuCodePopup();
  // Tag 1 copies the selected stock's code, any other tag its name; a
  // group gives its name either way.
  void PopupMenuCodeClipClick(int tag);
  void PopupMenuCodeEditClick();
  void PopupMenuCodeAddClick();
  void PopupMenuCodeCopyClick();
  void PopupMenuCodeDelClick();
  // The selected node dropped on `target`.
  void TreeViewCodeDragDrop(NodePos target);
  // Adds a node as "追加" does next to `selected` (none: a group at the
  // end); the new node is selected. Returns where it went.
  std::optional<NodePos> InsertNode(std::optional<NodePos> selected, bool as_group, std::string text);
  // The code dialog while it is open.
  TFormCodeDlg* CodeDialog() const;

  bool IsModified() const;
  void SetModified(bool modified);
  // The file exists but could not be read at start-up.
  bool LoadFailed() const;

  std::string ExpandStateText() const;
  void RestoreExpandState(std::string_view state);
  void ScrollToTop();

  // ---- the selection (see StockSelection) ----
  UrlSelection GatherUrlSelection() const override;
  std::vector<UrlSelection> GatherUrlSelectionPerStock() const override;
  std::string SelectedNodeCaption() const override;
  bool SelectedNodeIsStock() const override;

 signals:
  // "URLを開く": the selected bookmark is to be opened for the selection.
  void OpenBookmarkRequested();
  // The list got unsaved changes, or has none any more (saved, reloaded).
  void ModifiedChanged(bool modified);

 private:
  void BuildMenu(QWidget* window);
  // Takes the list from list file bytes and shows it; notes what it could
  // not keep.
  void ShowListBytes(const std::string& bytes, FileReport* report);
  void ShowList(StockCodeList list);
  void WireEditing();
  void OpenCodeDialog(bool add);
  void CodeDialogConfirmed(bool add, bool is_group, const std::string& text);
  // The list's nodes in depth-first order with the tree's selection.
  std::vector<TreeNodeView> Nodes() const;

  CodeTreeView& tree_;
  const AppOptions& options_;
  QWidget* window_;
  StockCodeList list_;
  ListFile* file_ = nullptr;

  QMenu* menu_ = nullptr;          // `PopupMenuCode`, the "実行" submenu put first by the window
  QAction* save_ = nullptr;        // `PopupMenuCodeSave`: enabled while modified
  QAction* copy1_ = nullptr;       // `PopupMenuCodeCopy1`
  QAction* copy2_ = nullptr;       // `PopupMenuCodeCopy2`
  QAction* edit_ = nullptr;        // `PopupMenuCodeEdit`
  QAction* copy_ = nullptr;        // `PopupMenuCodeCopy`
  QAction* del_ = nullptr;         // `PopupMenuCodeDel`
  QAction* add_ = nullptr;         // `PopupMenuCodeAdd`
  QAction* editor_ = nullptr;      // `PopupMenuCodeEditor`
  QPointer<TFormCodeDlg> dialog_;
  ListEditCycle* cycle_ = nullptr;
};

}  // namespace sorvi

#pragma once
// The stock code list: its document (file, modified mark, editor, kept
// copy), the tree's menu and the edits it makes through the tree's model
// (StockCodeModel), the expand state of its groups, and what the other
// subsystems read of the selection.
#include <QObject>
#include <QPointer>
#include <optional>
#include <string>
#include <string_view>

#include "core/bookmarks/stock_selection.h"
#include "core/bookmarks/url_macro.h"
#include "core/codes/code_list_edit.h"
#include "core/files/file_report.h"
#include "core/settings/app_options.h"
#include "platform/list_document.h"

class QAction;
class QMenu;
class QWidget;

namespace sorvi {

class CodeTreeView;
class StockCodeModel;
class TFormCodeDlg;

class CodeListController : public QObject, public StockSelection, private ListDocumentOwner {
  Q_OBJECT
 public:
  // `tree` is `TreeViewCode`; the list file lives in `data_dir`; `options`
  // (the window's, read when used) name the external editor; `window`
  // parents the menus and message boxes.
  CodeListController(CodeTreeView* tree, const QString& data_dir, const AppOptions& options, QWidget* window);

  QMenu* Menu() const { return menu_; }
  const StockCodeList& List() const;
  // `SV_Code.txt`: loading clears the modified mark.
  ListDocument& Document() const { return *document_; }
  std::string ListFileBytes() const override;
  // "URLを開く": the selected bookmark opens for the tree's selection.
  void OpenBookmarkForSelection();

  // ---- editing (code_list_editing.cpp) ----
  // "編集": the code dialog for the selected node.
  void EditSelectedNode();
  // Adds a node as "追加" does next to `selected` (none: a group at the
  // end); the new node is selected. Returns where it went.
  std::optional<NodePos> InsertNode(std::optional<NodePos> selected, bool as_group, std::string text);
  // A stock found in a page: the code dialog opens in mode "追加" with the
  // code and the proposed name; OK adds the stock at the end of group
  // `group`, or of a new group `new_group` (a group text) put last when
  // `group` is -1, and selects it.
  void ProposeStock(int group, const std::string& new_group, const QString& code, const QString& name);
  // The code dialog while it is open.
  TFormCodeDlg* CodeDialog() const;

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

 private:
  void BuildMenu(QWidget* window);
  void PopupMenuCodePopup();
  // Tag 1 copies the selected stock's code, any other tag its name; a
  // group gives its name either way.
  void CopySelectedText(int tag);
  void PopupMenuCodeAddClick();
  void PopupMenuCodeCopyClick();
  // "削除" or the Delete key.
  void DeleteSelectedNode();
  // The selected node dropped on `target`.
  void MoveSelectedTo(NodePos target);
  void LoadListBytes(std::string_view bytes, FileReport* report) override;
  void WireEditing();
  void OpenCodeDialog(bool add);
  void CodeDialogConfirmed(bool add, bool is_group, const std::string& text);
  // The list's nodes in depth-first order with the tree's selection.
  std::vector<TreeNodeView> Nodes() const;

  CodeTreeView& tree_;
  StockCodeModel& model_;
  QWidget* window_;
  ListDocument* document_ = nullptr;

  QMenu* menu_ = nullptr;     // `PopupMenuCode`, the "実行" submenu put first by the window
  QAction* copy1_ = nullptr;  // `PopupMenuCodeCopy1`
  QAction* copy2_ = nullptr;  // `PopupMenuCodeCopy2`
  ListMenuItems items_;       // `PopupMenuCodeEdit` … `PopupMenuCodeSave`
  QPointer<TFormCodeDlg> dialog_;
};

}  // namespace sorvi

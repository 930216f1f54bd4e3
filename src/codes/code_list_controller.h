#pragma once
// The stock code list: its document (file, modified mark, editor, kept
// copy), the tree's menu and the edits it makes through the tree's model
// (StockCodeModel), the expand state of its groups, and what the other
// subsystems read of the selection.
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/bookmarks/url_macro.h"
#include "core/codes/code_list_edit.h"
#include "core/files/file_report.h"
#include "core/settings/app_options.h"
#include "platform/list_document.h"

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace sorvi {

class CodeTreeView;
class StockCodeModel;
class TFormCodeDlg;

// The pieces of the "実行" submenu that the stock-code registry fills.
struct CodeGoMenuParts {
  QMenu* menu = nullptr;             // `PopupMenuCodeGo`
  QActionGroup* group = nullptr;     // the radio group of its items
  QAction* url = nullptr;            // `PopupMenuCodeGoURL`
  QAction* separator = nullptr;      // registered macros follow it
};

class CodeListController : public QObject, private ListDocumentOwner {
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
  // The tree's "実行" submenu; "URLを開く" opens the selected bookmark for
  // the selection. A double-click in the tree runs the checked item.
  void PopupMenuCodeGoClick(QAction* item);
  CodeGoMenuParts GoMenuParts() const { return {go_menu_, go_group_, go_url_, go_separator_}; }
  // Sees every "実行" item first (the stock-code registry: the default
  // action, the macro items); returning true means it took the click.
  void SetGoItemHandler(std::function<bool(QAction*)> handler) { go_item_handler_ = std::move(handler); }

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

  std::string ExpandStateText() const;
  void RestoreExpandState(std::string_view state);
  void ScrollToTop();

  // The selection as the URL macros see it, gathered afresh.
  UrlSelection GatherUrlSelection() const;
  // One selection per stock concerned, each as if it alone were selected.
  std::vector<UrlSelection> GatherUrlSelectionPerStock() const;
  // Caption bytes of the tree's primary selected node; empty when none.
  std::string SelectedNodeCaption() const;
  // The node SelectedNodeCaption reads is a stock (not a group).
  bool SelectedNodeIsStock() const;

 signals:
  // "URLを開く": the selected bookmark is to be opened for the selection.
  void OpenBookmarkRequested();

 private:
  void BuildMenu(QWidget* window);
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

  QMenu* menu_ = nullptr;          // `PopupMenuCode`
  QMenu* go_menu_ = nullptr;       // `PopupMenuCodeGo`
  QActionGroup* go_group_ = nullptr;
  QAction* go_url_ = nullptr;      // `PopupMenuCodeGoURL`
  QAction* go_separator_ = nullptr;
  std::function<bool(QAction*)> go_item_handler_;
  QAction* copy1_ = nullptr;       // `PopupMenuCodeCopy1`
  QAction* copy2_ = nullptr;       // `PopupMenuCodeCopy2`
  ListMenuItems items_;            // `PopupMenuCodeEdit` … `PopupMenuCodeSave`
  QPointer<TFormCodeDlg> dialog_;
};

}  // namespace sorvi

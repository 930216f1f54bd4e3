#pragma once
// "ファンクション キーマクロ登録": the function-key registry window. One page
// per key F1..F12, each with its entries as rows; the kind menu switches a
// page between a menu of named entries and entries chosen by address. Edits
// stay in the window until "保存" writes them to the registry and to the
// settings file; closing without saving drops them.
#include <array>
#include <string>

#include "core/keymacro/key_func_registry.h"
#include "keymacro/registry_window.h"

class QActionGroup;
class QTabWidget;

namespace sorvi {

class ListViewCellEditor;
class RegistryListView;

class TFormKeyFunc : public RegistryWindow {
  Q_OBJECT
 public:
  // Columns of each page's list.
  enum Column { kName = 1, kMacro = 2, kUrl = 3 };

  // Reads its size and column widths from `settings` and copies `registry`
  // into its pages. `registry` must outlive the window; it is rewritten by
  // a successful save only. Delete-on-close.
  TFormKeyFunc(SettingsFile& settings, KeyFuncRegistry& registry, QWidget* main_window);

  QTabWidget* PageControl() const { return page_control_; }
  RegistryListView* ListView(int page) const { return pages_[page].list; }
  ListViewCellEditor* CellEditor(int page) const { return pages_[page].editor; }
  QAction* MenuKind1() const { return menu_kind1_; }
  QAction* MenuKind2() const { return menu_kind2_; }

  // "追加" and "削除" on the shown page: a row at the end, the selected row.
  void AddRow();
  void DeleteRow();
  // The kind menu: the shown page's entries as a menu or chosen by address.
  void SetPageKind(int32_t kind);
  // Writes the pages to the registry and the settings file and closes; a
  // refused write is shown and the window stays open with its edits.
  bool Save();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Page {
    RegistryListView* list = nullptr;
    ListViewCellEditor* editor = nullptr;
    int32_t kind = kKeyFuncDirect;
  };

  void FormCreate();
  // The kind menu shows the kind of the shown page.
  void CheckKindOfShownPage();
  void CommitOpenEdits();
  void ShowKindColumns(int page, int visible_width);
  void UpdateCaption(int page);
  int ActivePage() const;

  KeyFuncRegistry& registry_;
  KeyFuncWindowSettings settings_;
  QTabWidget* page_control_;
  std::array<Page, kFunctionKeyCount> pages_;
  QActionGroup* kind_group_;
  QAction* menu_kind1_;
  QAction* menu_kind2_;
};

}  // namespace sorvi

#pragma once
// "銘柄コード キーマクロ登録": the stock-code registry window. Row 0 stands
// for "URLを開く" and can only be made the default; the rows below are the
// named macros in menu order. A press in the marker column makes the
// selected row the default (" *"). Edits stay in the window until "保存".
#include <string>

#include "core/keymacro/key_code_registry.h"
#include "keymacro/registry_window.h"

namespace sorvi {

class ListViewCellEditor;
class RegistryListView;

class TFormKeyCode : public RegistryWindow {
  Q_OBJECT
 public:
  enum Column { kMarker = 0, kName = 1, kMacro = 2 };

  // `registry` must outlive the window; it is rewritten by a successful
  // save only. Delete-on-close.
  TFormKeyCode(SettingsFile& settings, KeyCodeRegistry& registry, QWidget* main_window);

  RegistryListView* ListView() const { return list_; }
  ListViewCellEditor* CellEditor() const { return editor_; }

  // "追加": a row at the end; "削除": the selected row (never row 0).
  void AddRow();
  void DeleteRow();
  // Writes the rows to the registry and the settings file and closes; a
  // refused write is shown and the window stays open with its edits.
  bool Save();
  // Makes the selected row the default action.
  void MarkDefault();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();

  KeyCodeRegistry& registry_;
  KeyCodeWindowSettings settings_;
  RegistryListView* list_;
  ListViewCellEditor* editor_;
};

}  // namespace sorvi

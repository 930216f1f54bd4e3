#pragma once
// `TFormURLDlg`: the window that edits or adds one bookmark. It knows
// nothing of the list: the caller fills it, places it, disables the list
// while it is open and applies the bookmark it hands back on OK. Texts are
// Shift-JIS bytes; a field the user did not touch gives back exactly the
// bytes it was filled with.
#include "core/bookmarks/url_bookmark.h"
#include "platform/list_item_dialog.h"

class QCheckBox;
class QLineEdit;

namespace sorvi {

class TFormURLDlg : public ListItemDialog {
  Q_OBJECT
 public:
  // The caption tells the mode: "編集" or "追加". Fields start empty.
  explicit TFormURLDlg(Mode mode, QWidget* parent = nullptr);

  // Mode "編集": fills the fields from the bookmark.
  void SetBookmark(const UrlBookmark& bookmark);

  // The bookmark OK would hand back: an empty key macro text means no key
  // macro, whatever "キーマクロ" says.
  UrlBookmark Result() const;

 signals:
  void Confirmed(const sorvi::UrlBookmark& bookmark);

 private:
  void ButtonOkClick() override { emit Confirmed(Result()); }
  std::string Bytes(const QLineEdit* edit, const std::string& original) const;

  UrlBookmark original_;

  QLineEdit* name_edit_;
  QCheckBox* fixed_title_box_;
  QLineEdit* title_edit_;
  QLineEdit* address_edit_;
  QCheckBox* key_macro_box_;
  QLineEdit* key_macro_edit_;
};

}  // namespace sorvi

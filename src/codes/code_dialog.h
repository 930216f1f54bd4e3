#pragma once
// `TFormCodeDlg`: the small window that edits or adds one node of the stock
// code tree. It knows nothing of the tree: the caller fills it, places it,
// disables the tree while it is open and applies the composed node text it
// hands back on OK. Texts are Shift-JIS bytes; a field the user did not
// touch gives back exactly the bytes it was filled with.
#include <string>

#include "platform/list_item_dialog.h"

class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace sorvi {

class TFormCodeDlg : public ListItemDialog {
  Q_OBJECT
 public:
  // What the caller has selected, which decides the radio buttons.
  enum class Selected { None, Group, Stock };

  // The caption tells the mode: "編集" or "追加".
  TFormCodeDlg(Mode mode, QWidget* parent = nullptr);

  // Mode "編集": fills the fields from the node. The node's kind is fixed
  // (the other radio button is disabled) and decides the composed text.
  void SetNode(bool is_group, const std::string& node_text);
  // Mode "追加": a stock selected adds a stock; a group selected offers
  // both; nothing selected adds a group. Code and name start empty.
  void SetAddContext(Selected selected);
  // Mode "追加" for a stock found in a page: the code and the proposed
  // name filled in. Characters of the name that Shift-JIS lacks are left
  // out, and the dialog says which.
  void SetProposal(const QString& code, const QString& name);

  // Whether the node being made is a group, as OK would compose it.
  bool MakesGroup() const;
  // The node text OK would hand back.
  std::string ComposedText() const;

 signals:
  // OK: the node text ("[name]", or code, blank, name) and its kind.
  void Confirmed(bool is_group, const std::string& node_text);

 protected:
  // Refuses a key the code rule does not take at its place, saying why.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The code field is enabled (and coloured so) for a stock only.
  void ShowCodeFieldForKind();
  void ButtonOkClick() override;
  std::string CodeBytes() const;
  std::string NameBytes() const;

  Mode mode_;
  bool node_is_group_ = false;
  std::string original_code_;
  std::string original_name_;

  QFrame* code_panel_;
  QLineEdit* code_edit_;
  QRadioButton* group_radio_;
  QRadioButton* stock_radio_;
  QLineEdit* name_edit_;
  QLabel* dropped_note_;
};

}  // namespace sorvi

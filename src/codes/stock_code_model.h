#pragma once
// The stock code list as an item model: groups at the top level, their
// stocks below, one column. The model owns the list (core/codes) and every
// edit goes through it, so views, selections and persistent indexes follow
// each one. Texts stay Shift-JIS bytes; they are converted only to be shown.
#include <QAbstractItemModel>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/codes/code_list_edit.h"

namespace sorvi {

class StockCodeModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  explicit StockCodeModel(QObject* parent = nullptr);
  ~StockCodeModel() override;

  const StockCodeList& List() const { return list_; }
  // A whole new list (a load): views start afresh.
  void Reset(StockCodeList list);

  // The edits, by the list's rules (core/codes/code_list_edit). Each
  // returns where the node stands afterwards; nothing when nothing changed.
  std::optional<NodePos> Add(std::optional<NodePos> selected, bool as_group, std::string text);
  std::optional<NodePos> Duplicate(NodePos pos);
  bool SetText(NodePos pos, std::string text);
  bool Remove(NodePos pos);
  // The node `from` dropped on `target`.
  std::optional<NodePos> Drop(NodePos from, NodePos target);

  QModelIndex IndexOf(NodePos pos) const;
  std::optional<NodePos> PositionOf(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDragActions() const override;
  Qt::DropActions supportedDropActions() const override;

 private:
  // A stock's index points at its group's tag, which moves with the group
  // and knows the group's row; a group's index points at nothing.
  struct GroupTag {
    int row = 0;
  };
  bool Insert(NodePos at, std::string text);
  void Renumber(size_t from);

  StockCodeList list_;
  std::vector<std::unique_ptr<GroupTag>> tags_;  // one per group, in order
};

}  // namespace sorvi

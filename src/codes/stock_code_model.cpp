#include "codes/stock_code_model.h"

#include <algorithm>
#include <utility>

#include "platform/shown_text.h"

namespace sorvi {

StockCodeModel::StockCodeModel(QObject* parent) : QAbstractItemModel(parent) {}

StockCodeModel::~StockCodeModel() = default;

void StockCodeModel::Renumber(size_t from) {
  for (size_t g = from; g < tags_.size(); ++g) tags_[g]->row = int(g);
}

void StockCodeModel::Reset(StockCodeList list) {
  beginResetModel();
  list_ = std::move(list);
  std::vector<std::unique_ptr<GroupTag>> old = std::exchange(tags_, {});
  tags_.reserve(list_.groups.size());
  for (size_t g = 0; g < list_.groups.size(); ++g) tags_.push_back(std::make_unique<GroupTag>());
  Renumber(0);
  endResetModel();
}

bool StockCodeModel::Insert(NodePos at, std::string text) {
  const QModelIndex parent = at.IsGroup() ? QModelIndex() : IndexOf(NodePos{at.group});
  const int row = at.IsGroup() ? at.group : at.stock;
  // The place is checked before the views hear of it.
  const bool place =
      at.IsGroup() ? row >= 0 && size_t(row) <= list_.groups.size() : parent.isValid() && row <= rowCount(parent);
  if (!place) return false;
  beginInsertRows(parent, row, row);
  InsertNodeAt(list_, at, std::move(text));
  if (at.IsGroup()) {
    tags_.insert(tags_.begin() + at.group, std::make_unique<GroupTag>());
    Renumber(size_t(at.group));
  }
  endInsertRows();
  return true;
}

std::optional<NodePos> StockCodeModel::Add(std::optional<NodePos> selected, bool as_group, std::string text) {
  const std::optional<NodePos> at = PlanAddNode(list_, selected, as_group);
  if (!at || !Insert(*at, std::move(text))) return std::nullopt;
  return at;
}

std::optional<NodePos> StockCodeModel::Duplicate(NodePos pos) {
  if (!ContainsNode(list_, pos)) return std::nullopt;
  const NodePos at = pos.IsGroup() ? NodePos{pos.group + 1} : NodePos{pos.group, pos.stock + 1};
  if (!Insert(at, std::string(NodeText(list_, pos)))) return std::nullopt;
  return at;
}

bool StockCodeModel::SetText(NodePos pos, std::string text) {
  if (!SetNodeText(list_, pos, std::move(text))) return false;
  const QModelIndex index = IndexOf(pos);
  emit dataChanged(index, index, {Qt::DisplayRole});
  return true;
}

bool StockCodeModel::Remove(NodePos pos) {
  if (!CanDeleteNode(list_, pos)) return false;
  const QModelIndex index = IndexOf(pos);
  beginRemoveRows(index.parent(), index.row(), index.row());
  DeleteNode(list_, pos);
  std::unique_ptr<GroupTag> gone;
  if (pos.IsGroup()) {
    gone = std::move(tags_[size_t(pos.group)]);
    tags_.erase(tags_.begin() + pos.group);
    Renumber(size_t(pos.group));
  }
  endRemoveRows();
  return true;
}

std::optional<NodePos> StockCodeModel::Drop(NodePos from, NodePos target) {
  const std::optional<NodeMove> move = PlanNodeDrop(list_, from, target);
  if (!move) return std::nullopt;
  // A node dropped where it stands stays; the views hear of nothing.
  if (move->from == move->to) return move->to;
  const QModelIndex source = IndexOf(from);
  const QModelIndex destination = move->to.IsGroup() ? QModelIndex() : IndexOf(NodePos{move->to.group});
  const int to_row = move->to.IsGroup() ? move->to.group : move->to.stock;
  // Qt counts the destination row before the node is taken out.
  const bool same_parent = source.parent() == destination;
  beginMoveRows(source.parent(), source.row(), source.row(), destination,
                same_parent && to_row > source.row() ? to_row + 1 : to_row);
  ApplyNodeMove(list_, *move);
  if (from.IsGroup()) {
    std::unique_ptr<GroupTag> tag = std::move(tags_[size_t(from.group)]);
    tags_.erase(tags_.begin() + from.group);
    tags_.insert(tags_.begin() + move->to.group, std::move(tag));
    Renumber(size_t(std::min(from.group, move->to.group)));
  }
  endMoveRows();
  return move->to;
}

QModelIndex StockCodeModel::IndexOf(NodePos pos) const {
  if (!ContainsNode(list_, pos)) return {};
  if (pos.IsGroup()) return createIndex(pos.group, 0);
  return createIndex(pos.stock, 0, tags_[size_t(pos.group)].get());
}

std::optional<NodePos> StockCodeModel::PositionOf(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != this) return std::nullopt;
  const auto* tag = static_cast<const GroupTag*>(index.internalPointer());
  const NodePos pos = tag ? NodePos{tag->row, index.row()} : NodePos{index.row()};
  if (!ContainsNode(list_, pos)) return std::nullopt;
  return pos;
}

QModelIndex StockCodeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return IndexOf(NodePos{row});
  const std::optional<NodePos> group = PositionOf(parent);
  if (!group || !group->IsGroup()) return {};
  return IndexOf(NodePos{group->group, row});
}

QModelIndex StockCodeModel::parent(const QModelIndex& child) const {
  if (!child.isValid()) return {};
  const auto* tag = static_cast<const GroupTag*>(child.internalPointer());
  return tag ? createIndex(tag->row, 0) : QModelIndex();
}

int StockCodeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return int(list_.groups.size());
  if (parent.column() != 0 || parent.internalPointer()) return 0;
  return size_t(parent.row()) < list_.groups.size() ? int(list_.groups[size_t(parent.row())].stocks.size()) : 0;
}

int StockCodeModel::columnCount(const QModelIndex&) const { return 1; }

// A group shows its +/- box even without stocks.
bool StockCodeModel::hasChildren(const QModelIndex& parent) const {
  return !parent.isValid() ? !list_.groups.empty() : parent.column() == 0 && !parent.internalPointer();
}

QVariant StockCodeModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole) return {};
  const std::optional<NodePos> pos = PositionOf(index);
  return pos ? QVariant(ShownText(NodeText(list_, *pos))) : QVariant();
}

Qt::ItemFlags StockCodeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  // The flags the rows always had, so assistive tools read them as before.
  return Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
         Qt::ItemIsDropEnabled;
}

Qt::DropActions StockCodeModel::supportedDragActions() const { return Qt::CopyAction | Qt::MoveAction; }

Qt::DropActions StockCodeModel::supportedDropActions() const { return Qt::CopyAction | Qt::MoveAction; }

}  // namespace sorvi

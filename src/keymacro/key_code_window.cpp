#include "keymacro/key_code_window.h"

#include <QCloseEvent>
#include <QHeaderView>

#include "keymacro/list_view_cell_editor.h"
#include "keymacro/registry_list_view.h"
#include "platform/cp932.h"

namespace sorvi {

namespace {
constexpr int kMarkerWidth = 25;
const char* const kDefaultMark = " *";
}  // namespace

TFormKeyCode::TFormKeyCode(SettingsFile& settings, KeyCodeRegistry& registry, QWidget* main_window)
    : RegistryWindow(settings, "銘柄コード キーマクロ登録", main_window),
      registry_(registry),
      list_(new RegistryListView(this)) {
  setCentralWidget(list_);
  connect(MenuSave(), &QAction::triggered, this, [this] { Save(); });
  connect(MenuAdd(), &QAction::triggered, this, [this] { AddRow(); });
  connect(MenuDel(), &QAction::triggered, this, [this] { DeleteRow(); });
  FormCreate();
}

void TFormKeyCode::FormCreate() {
  settings_ = ReadKeyCodeWindowSettings(Settings());
  list_->setHeaderLabels({"", "処理名", "キーマクロ"});
  list_->header()->setMinimumSectionSize(kMarkerWidth);
  list_->header()->resizeSection(kMarker, kMarkerWidth);
  list_->header()->setSectionResizeMode(kMarker, QHeaderView::Fixed);
  list_->header()->resizeSection(kName, settings_.Clm2);
  list_->header()->resizeSection(kMacro, settings_.Clm3);

  auto add_row = [this](bool is_default, const std::string& name, const std::string& macro) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(kMarker, is_default ? kDefaultMark : "");
    RegistryListView::SetCell(item, kName, name);
    RegistryListView::SetCell(item, kMacro, macro);
  };
  add_row(registry_.Default == 0, QStringToSjis("URLを開く"), QStringToSjis("※編集不可"));
  for (size_t i = 0; i < registry_.Entries.size(); ++i) {
    add_row(registry_.Default == static_cast<int32_t>(i) + 1, registry_.Entries[i].Name, registry_.Entries[i].Macro);
  }

  // Row 0 is fixed: not edited, not moved, nothing dropped onto it.
  editor_ = new ListViewCellEditor(list_, {kName, kMacro});
  editor_->SetFixedRows(1);
  list_->SetFixedRows(1);
  connect(editor_, &ListViewCellEditor::Changed, this, [this] { SetModified(); });
  connect(list_, &RegistryListView::RowMoved, this, [this] { SetModified(); });
  connect(list_, &QTreeWidget::itemPressed, this, [this](QTreeWidgetItem*, int column) {
    if (column == kMarker) MarkDefault();
  });
  PlaceCentred(QSize(settings_.Width, settings_.Height));
}

void TFormKeyCode::MarkDefault() {
  const int selected = list_->SelectedRow();
  if (selected < 0) return;
  for (int row = 0; row < list_->topLevelItemCount(); ++row) {
    list_->topLevelItem(row)->setText(kMarker, row == selected ? kDefaultMark : "");
  }
  SetModified();
}

void TFormKeyCode::AddRow() {
  editor_->CommitAndClose();
  QTreeWidgetItem* item = list_->AppendRow();
  item->setText(kMarker, "");
  list_->setFocus();
  SetModified();
}

void TFormKeyCode::DeleteRow() {
  editor_->CommitAndClose();
  const int row = list_->SelectedRow();
  if (row <= 0) return;
  delete list_->takeTopLevelItem(row);
  SetModified();
}

bool TFormKeyCode::Save() {
  editor_->CommitAndClose();
  KeyCodeRegistry edited;
  for (int row = 1; row < list_->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = list_->topLevelItem(row);
    edited.Entries.push_back({RegistryListView::Cell(item, kName), RegistryListView::Cell(item, kMacro)});
    if (!item->text(kMarker).isEmpty()) edited.Default = row;
  }
  if (!TryWrite([&](SettingsFile& file) { WriteKeyCodeRegistry(file, edited); })) return false;
  registry_ = std::move(edited);
  emit Saved();
  close();
  return true;
}

void TFormKeyCode::closeEvent(QCloseEvent* event) {
  editor_->CommitAndClose();
  KeyCodeWindowSettings size = settings_;
  size.Height = height();
  size.Width = width();
  size.Clm2 = list_->header()->sectionSize(kName);
  size.Clm3 = list_->header()->sectionSize(kMacro);
  TryWrite([&](SettingsFile& file) { WriteKeyCodeWindowSettings(file, size); });
  emit Closed();
  event->accept();
}

}  // namespace sorvi

#include "keymacro/key_func_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

#include "keymacro/list_view_cell_editor.h"
#include "keymacro/registry_list_view.h"

namespace sorvi {

namespace {

// "F1  " .. "F12 ": always four characters, a marker may follow.
QString PageCaption(int page) { return QString("F%1").arg(page + 1).leftJustified(4, ' '); }

}  // namespace

TFormKeyFunc::TFormKeyFunc(SettingsFile& settings, KeyFuncRegistry& registry, QWidget* main_window)
    : RegistryWindow(settings, "ファンクション キーマクロ登録", main_window),
      registry_(registry),
      page_control_(new QTabWidget(this)) {
  QMenu* kind_menu = menuBar()->addMenu("[種別]");
  kind_group_ = new QActionGroup(this);
  menu_kind1_ = kind_menu->addAction("選択実行");
  menu_kind2_ = kind_menu->addAction("直接実行");
  for (QAction* item : {menu_kind1_, menu_kind2_}) {
    item->setCheckable(true);
    kind_group_->addAction(item);
  }
  connect(menu_kind1_, &QAction::triggered, this, [this] { SetPageKind(kKeyFuncSelect); });
  connect(menu_kind2_, &QAction::triggered, this, [this] { SetPageKind(kKeyFuncDirect); });
  connect(MenuSave(), &QAction::triggered, this, [this] { Save(); });
  connect(MenuAdd(), &QAction::triggered, this, [this] { AddRow(); });
  connect(MenuDel(), &QAction::triggered, this, [this] { DeleteRow(); });
  setCentralWidget(page_control_);
  FormCreate();
  connect(page_control_, &QTabWidget::currentChanged, this, [this] {
    CommitOpenEdits();
    CheckKindOfShownPage();
  });
}

void TFormKeyFunc::FormCreate() {
  settings_ = ReadKeyFuncWindowSettings(Settings());
  for (int n = 0; n < kFunctionKeyCount; ++n) {
    Page& page = pages_[n];
    page.kind = registry_.KeyFuncKind[n];
    page.list = new RegistryListView(page_control_);
    page.list->setHeaderLabels({"", "実行名", "キーマクロ", "実行URL"});
    // The leading column only carries the row; it shows nothing.
    page.list->setColumnHidden(0, true);
    page.list->header()->resizeSection(kMacro, settings_.Clm2);
    const bool direct = page.kind != kKeyFuncSelect;
    page.list->header()->resizeSection(kName, settings_.Clm1);
    page.list->header()->resizeSection(kUrl, settings_.Clm3);
    ShowKindColumns(n, direct ? settings_.Clm3 : settings_.Clm1);
    for (const KeyFuncEntry& entry : registry_.KeyFuncList[n]) {
      auto* item = new QTreeWidgetItem(page.list);
      RegistryListView::SetCell(item, 0, "");
      RegistryListView::SetCell(item, kName, direct ? std::string() : entry.Label);
      RegistryListView::SetCell(item, kMacro, entry.Macro);
      RegistryListView::SetCell(item, kUrl, direct ? entry.Label : std::string());
    }
    page.editor = new ListViewCellEditor(page.list, {kName, kMacro, kUrl});
    connect(page.editor, &ListViewCellEditor::Changed, this, [this] { SetModified(); });
    connect(page.list, &RegistryListView::RowMoved, this, [this] { SetModified(); });
    page_control_->addTab(page.list, "");
    UpdateCaption(n);
  }
  CheckKindOfShownPage();
  PlaceCentred(QSize(settings_.Width, settings_.Height));
}

int TFormKeyFunc::ActivePage() const { return std::max(0, page_control_->currentIndex()); }

void TFormKeyFunc::ShowKindColumns(int n, int visible_width) {
  RegistryListView* list = pages_[n].list;
  const bool direct = pages_[n].kind != kKeyFuncSelect;
  const int shown = direct ? kUrl : kName;
  const int hidden = direct ? kName : kUrl;
  list->setColumnHidden(hidden, true);
  list->setColumnHidden(shown, false);
  list->header()->resizeSection(shown, visible_width);
}

void TFormKeyFunc::UpdateCaption(int n) {
  QString caption = PageCaption(n);
  if (pages_[n].list->topLevelItemCount() > 0) caption += pages_[n].kind != kKeyFuncSelect ? "*" : "+";
  page_control_->setTabText(n, caption);
}

void TFormKeyFunc::CheckKindOfShownPage() {
  (pages_[ActivePage()].kind != kKeyFuncSelect ? menu_kind2_ : menu_kind1_)->setChecked(true);
}

void TFormKeyFunc::CommitOpenEdits() {
  for (Page& page : pages_) page.editor->CommitAndClose();
}

void TFormKeyFunc::SetPageKind(int32_t kind) {
  const int n = ActivePage();
  Page& page = pages_[n];
  (kind != kKeyFuncSelect ? menu_kind2_ : menu_kind1_)->setChecked(true);
  if ((page.kind != kKeyFuncSelect) == (kind != kKeyFuncSelect)) return;
  CommitOpenEdits();
  // The column coming into view takes the width of the one going away.
  const int old_width = page.list->header()->sectionSize(page.kind != kKeyFuncSelect ? kUrl : kName);
  page.kind = kind;
  ShowKindColumns(n, old_width);
  UpdateCaption(n);
}

void TFormKeyFunc::AddRow() {
  CommitOpenEdits();
  const int n = ActivePage();
  pages_[n].list->AppendRow();
  pages_[n].list->setFocus();
  UpdateCaption(n);
  SetModified();
}

void TFormKeyFunc::DeleteRow() {
  CommitOpenEdits();
  const int n = ActivePage();
  const int row = pages_[n].list->SelectedRow();
  if (row < 0) return;
  delete pages_[n].list->takeTopLevelItem(row);
  UpdateCaption(n);
  SetModified();
}

bool TFormKeyFunc::Save() {
  CommitOpenEdits();
  KeyFuncRegistry edited;
  for (int n = 0; n < kFunctionKeyCount; ++n) {
    const Page& page = pages_[n];
    const bool direct = page.kind != kKeyFuncSelect;
    edited.KeyFuncKind[n] = direct ? kKeyFuncDirect : kKeyFuncSelect;
    for (int row = 0; row < page.list->topLevelItemCount(); ++row) {
      const QTreeWidgetItem* item = page.list->topLevelItem(row);
      edited.KeyFuncList[n].push_back(
          {RegistryListView::Cell(item, kMacro), RegistryListView::Cell(item, direct ? kUrl : kName)});
    }
  }
  // The file first: the keys must not work differently from what the next
  // start will read.
  if (!TryWrite([&](SettingsFile& file) { WriteKeyFuncRegistry(file, edited); })) return false;
  registry_ = std::move(edited);
  emit Saved();
  close();
  return true;
}

void TFormKeyFunc::closeEvent(QCloseEvent* event) {
  CommitOpenEdits();
  const Page& page = pages_[ActivePage()];
  KeyFuncWindowSettings size = settings_;
  size.Height = height();
  size.Width = width();
  size.Clm1 = page.list->header()->sectionSize(kName);
  size.Clm2 = page.list->header()->sectionSize(kMacro);
  size.Clm3 = page.list->header()->sectionSize(kUrl);
  TryWrite([&](SettingsFile& file) { WriteKeyFuncWindowSettings(file, page.kind, size); });
  emit Closed();
  event->accept();
}

}  // namespace sorvi

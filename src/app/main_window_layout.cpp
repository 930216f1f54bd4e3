// Builds the controls, tool bars, menus and status bar of the main window.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "codes/code_search_field.h"
#include "codes/code_tree_view.h"
#include "platform/menu_items.h"
#include "platform/toolbar_icons.h"
#include "tabs/tab_stack.h"

namespace sorvi {

namespace {

QToolButton* AddButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon, bool enabled) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(hint);
  button->setIcon(icon);
  button->setAutoRaise(true);
  button->setEnabled(enabled);
  button->setFocusPolicy(Qt::NoFocus);
  bar->addWidget(button);
  return button;
}

}  // namespace

void TFormMain::BuildLayout() {
  // Left column: bookmarks above, stock codes below, split vertically.
  main_splitter_ = new QSplitter(Qt::Horizontal, this);
  main_splitter_->setObjectName("SplitterLR");
  main_splitter_->setHandleWidth(6);
  main_splitter_->setChildrenCollapsible(false);
  main_splitter_->setOpaqueResize(true);

  left_panel_ = new QWidget(main_splitter_);
  left_panel_->setObjectName("PanelL");
  left_panel_->setMinimumWidth(4);
  auto* left_layout = new QVBoxLayout(left_panel_);
  left_layout->setContentsMargins(0, 0, 0, 0);
  left_layout->setSpacing(0);

  lists_splitter_ = new QSplitter(Qt::Vertical, left_panel_);
  lists_splitter_->setObjectName("SplitterUD");
  lists_splitter_->setHandleWidth(3);
  lists_splitter_->setChildrenCollapsible(false);
  lists_splitter_->setOpaqueResize(true);
  left_layout->addWidget(lists_splitter_);

  url_list_ = new UrlListView(lists_splitter_);
  url_list_->setObjectName("ListViewURL");
  url_list_->setMinimumHeight(18);
  // The stock search sits above the tree, in the splitter's lower pane.
  auto* codes_pane = new QWidget(lists_splitter_);
  auto* codes_layout = new QVBoxLayout(codes_pane);
  codes_layout->setContentsMargins(0, 0, 0, 0);
  codes_layout->setSpacing(0);
  code_tree_ = new CodeTreeView(codes_pane);
  code_tree_->setObjectName("TreeViewCode");
  code_tree_->setMinimumHeight(18);
  codes_layout->addWidget(new CodeSearchField(code_tree_, codes_pane));
  codes_layout->addWidget(code_tree_, 1);
  lists_splitter_->setStretchFactor(0, 0);
  lists_splitter_->setStretchFactor(1, 1);

  // Right column: navigation bar above the tabs.
  right_panel_ = new QWidget(main_splitter_);
  right_panel_->setObjectName("PanelR");
  // The splitter's own limit keeps room on the right; the tool bars may be
  // cut off rather than stop the user's drag early.
  right_panel_->setMinimumWidth(50);
  auto* right_layout = new QVBoxLayout(right_panel_);
  right_layout->setContentsMargins(0, 0, 0, 0);
  right_layout->setSpacing(0);

  top_panel_ = new QWidget(right_panel_);
  top_panel_->setObjectName("PanelT");
  top_panel_->setFixedHeight(28);
  auto* bar_layout = new QHBoxLayout(top_panel_);
  bar_layout->setContentsMargins(0, 0, 0, 0);
  bar_layout->setSpacing(0);
  right_layout->addWidget(top_panel_);

  page_control_ = new TabStack(right_panel_);
  page_control_->setObjectName("PageControl");
  right_layout->addWidget(page_control_, 1);

  cover_panel_ = new QFrame(right_panel_);
  cover_panel_->setObjectName("PanelCover");
  cover_panel_->setFrameShape(QFrame::Box);
  cover_panel_->setAutoFillBackground(true);
  cover_panel_->setBackgroundRole(QPalette::Window);
  cover_panel_->setFixedHeight(22);
  cover_panel_->hide();

  main_splitter_->setStretchFactor(0, 0);
  main_splitter_->setStretchFactor(1, 1);
  setCentralWidget(main_splitter_);

  BuildToolBars();
  bar_layout->addWidget(left_tool_bar_);
  bar_layout->addWidget(address_combo_, 1);
  bar_layout->addWidget(right_tool_bar_);
  BuildMenus();
  BuildStatusBar();
}

namespace {

// Flat, compact tool bars that always show every button: the address box
// takes what is left.
void MakeCompact(QToolBar* bar) {
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  bar->setStyleSheet(
      "QToolBar { spacing: 0px; padding: 0px; border: none; }"
      "QToolButton { padding: 1px; }");
}

}  // namespace

void TFormMain::BuildToolBars() {
  left_tool_bar_ = new QToolBar(top_panel_);
  MakeCompact(left_tool_bar_);
  left_tool_bar_->setObjectName("ToolBarL");
  left_tool_bar_->setIconSize(QSize(16, 16));
  option_button_ =
      AddButton(left_tool_bar_, "SpeedButtonOption", "オプション", ToolbarIcon(ToolbarImage::Option), false);
  left_tool_bar_->addSeparator();
  lock_button_ = AddButton(left_tool_bar_, "ToolButtonLock", "ロック", LockIcon(0), false);
  lock_button_->setCheckable(true);
  left_tool_bar_->addSeparator();
  back_button_ = AddButton(left_tool_bar_, "ToolButtonGoBack", "戻る", ToolbarIcon(ToolbarImage::Back), false);
  forward_button_ = AddButton(left_tool_bar_, "ToolButtonGoFoward", "進む", ToolbarIcon(ToolbarImage::Forward), false);
  left_tool_bar_->addSeparator();
  stop_button_ = AddButton(left_tool_bar_, "ToolButtonStop", "中止", ToolbarIcon(ToolbarImage::Stop), false);
  refresh_button_ = AddButton(left_tool_bar_, "ToolButtonRefresh", "更新", ToolbarIcon(ToolbarImage::Refresh), false);
  left_tool_bar_->addSeparator();

  address_combo_ = new QComboBox(top_panel_);
  address_combo_->setObjectName("ComboBoxURL");
  address_combo_->setEditable(true);
  address_combo_->setCompleter(nullptr);
  address_combo_->setMaxVisibleItems(20);
  address_combo_->setInsertPolicy(QComboBox::NoInsert);
  address_combo_->setDuplicatesEnabled(true);
  address_combo_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  address_combo_->setMinimumContentsLength(8);

  right_tool_bar_ = new QToolBar(top_panel_);
  MakeCompact(right_tool_bar_);
  right_tool_bar_->setObjectName("ToolBarR");
  right_tool_bar_->setIconSize(QSize(16, 16));
  navigate_button_ = AddButton(right_tool_bar_, "ToolButtonNavigate", "表示", ToolbarIcon(ToolbarImage::NewTab), true);
  navigate_button_->setPopupMode(QToolButton::MenuButtonPopup);
  close_button_ = AddButton(right_tool_bar_, "ToolButtonClose", "閉じる", ToolbarIcon(ToolbarImage::Close), false);
  right_tool_bar_->addSeparator();
  print_button_ = AddButton(right_tool_bar_, "ToolButtonPrint", "印刷", ToolbarIcon(ToolbarImage::Print), false);
  right_tool_bar_->addSeparator();
  etc_button_ = AddButton(right_tool_bar_, "SpeedButtonEtc", "メニュー", ToolbarIcon(ToolbarImage::Menu), true);
}

void TFormMain::BuildMenus() {
  navigate_menu_ = new QMenu(this);
  navigate_menu_->setObjectName("PopupMenuNavigate");
  auto* navigate_group = new QActionGroup(navigate_menu_);
  navigate_menu_new_tab_ = AddMenuItem(navigate_menu_, "PopupMenuNavigate1", "新規", 6);
  navigate_menu_same_tab_ = AddMenuItem(navigate_menu_, "PopupMenuNavigate2", "上書", 7);
  for (QAction* item : {navigate_menu_new_tab_, navigate_menu_same_tab_}) {
    item->setCheckable(true);
    item->setIcon(ToolbarIcon(item == navigate_menu_new_tab_ ? ToolbarImage::NewTab : ToolbarImage::Overwrite));
    navigate_group->addAction(item);
  }
  navigate_menu_new_tab_->setChecked(true);
  navigate_button_->setMenu(navigate_menu_);
  connect(navigate_menu_, &QMenu::triggered, this, [this](QAction* item) {
    if (item == navigate_menu_new_tab_ || item == navigate_menu_same_tab_) ChooseNavigateMode(item);
  });

  etc_menu_ = new QMenu(this);
  etc_menu_->setObjectName("PopupMenuEtc");
  etc_items_.option = AddMenuItem(etc_menu_, "PopupMenuEtcOption", "動作環境設定(&O)");
  QMenu* keys = etc_menu_->addMenu("キーマクロ登録(&K)");
  keys->setObjectName("PopupMenuEtcKey");
  etc_items_.key_func = AddMenuItem(keys, "PopupMenuEtcKeyFunc", "ファンクション(&F)");
  etc_items_.key_code = AddMenuItem(keys, "PopupMenuEtcKeyCode", "銘柄コード(&C)");
  etc_menu_->addSeparator();
  etc_items_.internet = AddMenuItem(etc_menu_, "PopupMenuNetOption", "インターネット設定(&I)");
  etc_menu_->addSeparator();
  etc_items_.help = AddMenuItem(etc_menu_, "PopupMenuEtcHelp", "ヘルプ(&H)");
  etc_items_.about = AddMenuItem(etc_menu_, "PopupMenuEtcAbout", "バージョン情報(&A)");

  func_menu_ = new QMenu(this);
  func_menu_->setObjectName("PopupMenuFunc");

  connect(option_button_, &QToolButton::clicked, this, &TFormMain::SpeedButtonOptionClick);
  connect(etc_button_, &QToolButton::clicked, this, &TFormMain::SpeedButtonEtcClick);
}

void TFormMain::BuildStatusBar() {
  status_bar_ = new QStatusBar(this);
  status_bar_->setObjectName("StatusBar");
  status_bar_->setSizeGripEnabled(true);
  status_panel0_ = new QLabel(status_bar_);
  status_panel0_->setObjectName("StatusPanel0");
  status_panel1_ = new QLabel(status_bar_);
  status_panel1_->setObjectName("StatusPanel1");
  status_panel2_ = new QLabel(status_bar_);
  status_panel2_->setObjectName("StatusPanel2");
  for (QLabel* panel : {status_panel0_, status_panel1_, status_panel2_}) {
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
  }
  status_panel0_->setMinimumWidth(0);
  status_panel0_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  status_panel1_->setFixedWidth(150);
  status_panel2_->setFixedWidth(50);
  status_bar_->addWidget(status_panel0_, 1);
  status_bar_->addWidget(status_panel1_);
  status_bar_->addWidget(status_panel2_);
  setStatusBar(status_bar_);

  // The load progress lies over panel 1, hidden until a page loads.
  progress_bar_ = new QProgressBar(status_bar_);
  progress_bar_->setObjectName("ProgressBar");
  progress_bar_->setRange(0, 100);
  progress_bar_->setValue(0);
  progress_bar_->setTextVisible(false);
  progress_bar_->hide();
}

}  // namespace sorvi

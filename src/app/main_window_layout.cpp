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
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "platform/menu_items.h"
#include "platform/toolbar_icons.h"
#include "platform/toolbar_icons.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_search_field.h"
#include "codes/code_tree_view.h"

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
  SplitterLR = new QSplitter(Qt::Horizontal, this);
  SplitterLR->setObjectName("SplitterLR");
  SplitterLR->setHandleWidth(6);
  SplitterLR->setChildrenCollapsible(false);
  SplitterLR->setOpaqueResize(true);

  PanelL = new QWidget(SplitterLR);
  PanelL->setObjectName("PanelL");
  PanelL->setMinimumWidth(4);
  auto* left_layout = new QVBoxLayout(PanelL);
  left_layout->setContentsMargins(0, 0, 0, 0);
  left_layout->setSpacing(0);

  SplitterUD = new QSplitter(Qt::Vertical, PanelL);
  SplitterUD->setObjectName("SplitterUD");
  SplitterUD->setHandleWidth(3);
  SplitterUD->setChildrenCollapsible(false);
  SplitterUD->setOpaqueResize(true);
  left_layout->addWidget(SplitterUD);

  ListViewURL = new UrlListView(SplitterUD);
  ListViewURL->setObjectName("ListViewURL");
  ListViewURL->setMinimumHeight(18);
  // The stock search sits above the tree, in the splitter's lower pane.
  auto* codes_pane = new QWidget(SplitterUD);
  auto* codes_layout = new QVBoxLayout(codes_pane);
  codes_layout->setContentsMargins(0, 0, 0, 0);
  codes_layout->setSpacing(0);
  TreeViewCode = new CodeTreeView(codes_pane);
  TreeViewCode->setObjectName("TreeViewCode");
  TreeViewCode->setMinimumHeight(18);
  codes_layout->addWidget(new CodeSearchField(TreeViewCode, codes_pane));
  codes_layout->addWidget(TreeViewCode, 1);
  SplitterUD->setStretchFactor(0, 0);
  SplitterUD->setStretchFactor(1, 1);

  // Right column: navigation bar above the tabs.
  PanelR = new QWidget(SplitterLR);
  PanelR->setObjectName("PanelR");
  // The splitter's own limit keeps room on the right; the tool bars may be
  // cut off rather than stop the user's drag early.
  PanelR->setMinimumWidth(50);
  auto* right_layout = new QVBoxLayout(PanelR);
  right_layout->setContentsMargins(0, 0, 0, 0);
  right_layout->setSpacing(0);

  PanelT = new QWidget(PanelR);
  PanelT->setObjectName("PanelT");
  PanelT->setFixedHeight(28);
  auto* bar_layout = new QHBoxLayout(PanelT);
  bar_layout->setContentsMargins(0, 0, 0, 0);
  bar_layout->setSpacing(0);
  right_layout->addWidget(PanelT);

  PageControl = new QTabWidget(PanelR);
  PageControl->setObjectName("PageControl");
  PageControl->setDocumentMode(true);
  PageControl->setMovable(false);  // dragging is our own (tab strip handling)
  PageControl->tabBar()->setExpanding(false);
  PageControl->tabBar()->setElideMode(Qt::ElideNone);
  right_layout->addWidget(PageControl, 1);

  PanelCover = new QFrame(PanelR);
  PanelCover->setObjectName("PanelCover");
  PanelCover->setFrameShape(QFrame::Box);
  PanelCover->setAutoFillBackground(true);
  PanelCover->setBackgroundRole(QPalette::Window);
  PanelCover->setFixedHeight(22);
  PanelCover->hide();

  SplitterLR->setStretchFactor(0, 0);
  SplitterLR->setStretchFactor(1, 1);
  setCentralWidget(SplitterLR);

  BuildToolBars();
  bar_layout->addWidget(ToolBarL);
  bar_layout->addWidget(ComboBoxURL, 1);
  bar_layout->addWidget(ToolBarR);
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
  bar->setStyleSheet("QToolBar { spacing: 0px; padding: 0px; border: none; }"
                     "QToolButton { padding: 1px; }");
}

}  // namespace

void TFormMain::BuildToolBars() {
  ToolBarL = new QToolBar(PanelT);
  MakeCompact(ToolBarL);
  ToolBarL->setObjectName("ToolBarL");
  ToolBarL->setIconSize(QSize(16, 16));
  SpeedButtonOption = AddButton(ToolBarL, "SpeedButtonOption", "オプション", ToolbarIcon(ToolbarImage::Option), false);
  ToolBarL->addSeparator();
  ToolButtonLock = AddButton(ToolBarL, "ToolButtonLock", "ロック", LockIcon(0), false);
  ToolButtonLock->setCheckable(true);
  ToolBarL->addSeparator();
  ToolButtonGoBack = AddButton(ToolBarL, "ToolButtonGoBack", "戻る", ToolbarIcon(ToolbarImage::Back), false);
  ToolButtonGoFoward = AddButton(ToolBarL, "ToolButtonGoFoward", "進む", ToolbarIcon(ToolbarImage::Forward), false);
  ToolBarL->addSeparator();
  ToolButtonStop = AddButton(ToolBarL, "ToolButtonStop", "中止", ToolbarIcon(ToolbarImage::Stop), false);
  ToolButtonRefresh = AddButton(ToolBarL, "ToolButtonRefresh", "更新", ToolbarIcon(ToolbarImage::Refresh), false);
  ToolBarL->addSeparator();

  ComboBoxURL = new QComboBox(PanelT);
  ComboBoxURL->setObjectName("ComboBoxURL");
  ComboBoxURL->setEditable(true);
  ComboBoxURL->setCompleter(nullptr);
  ComboBoxURL->setMaxVisibleItems(20);
  ComboBoxURL->setInsertPolicy(QComboBox::NoInsert);
  ComboBoxURL->setDuplicatesEnabled(true);
  ComboBoxURL->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  ComboBoxURL->setMinimumContentsLength(8);

  ToolBarR = new QToolBar(PanelT);
  MakeCompact(ToolBarR);
  ToolBarR->setObjectName("ToolBarR");
  ToolBarR->setIconSize(QSize(16, 16));
  ToolButtonNavigate = AddButton(ToolBarR, "ToolButtonNavigate", "表示", ToolbarIcon(ToolbarImage::NewTab), true);
  ToolButtonNavigate->setPopupMode(QToolButton::MenuButtonPopup);
  ToolButtonClose = AddButton(ToolBarR, "ToolButtonClose", "閉じる", ToolbarIcon(ToolbarImage::Close), false);
  ToolBarR->addSeparator();
  ToolButtonPrint = AddButton(ToolBarR, "ToolButtonPrint", "印刷", ToolbarIcon(ToolbarImage::Print), false);
  ToolBarR->addSeparator();
  SpeedButtonEtc = AddButton(ToolBarR, "SpeedButtonEtc", "メニュー", ToolbarIcon(ToolbarImage::Menu), true);
}

void TFormMain::BuildMenus() {
  PopupMenuNavigate = new QMenu(this);
  PopupMenuNavigate->setObjectName("PopupMenuNavigate");
  auto* navigate_group = new QActionGroup(PopupMenuNavigate);
  PopupMenuNavigate1 = AddMenuItem(PopupMenuNavigate, "PopupMenuNavigate1", "新規", 6);
  PopupMenuNavigate2 = AddMenuItem(PopupMenuNavigate, "PopupMenuNavigate2", "上書", 7);
  for (QAction* item : {PopupMenuNavigate1, PopupMenuNavigate2}) {
    item->setCheckable(true);
    item->setIcon(ToolbarIcon(item == PopupMenuNavigate1 ? ToolbarImage::NewTab : ToolbarImage::Overwrite));
    navigate_group->addAction(item);
  }
  PopupMenuNavigate1->setChecked(true);
  ToolButtonNavigate->setMenu(PopupMenuNavigate);
  connect(PopupMenuNavigate, &QMenu::triggered, this, [this](QAction* item) {
    if (item == PopupMenuNavigate1 || item == PopupMenuNavigate2) PopupMenuNavigateClick(item);
  });

  PopupMenuEtc = new QMenu(this);
  PopupMenuEtc->setObjectName("PopupMenuEtc");
  etc_items_.option = AddMenuItem(PopupMenuEtc, "PopupMenuEtcOption", "動作環境設定(&O)");
  QMenu* keys = PopupMenuEtc->addMenu("キーマクロ登録(&K)");
  keys->setObjectName("PopupMenuEtcKey");
  etc_items_.key_func = AddMenuItem(keys, "PopupMenuEtcKeyFunc", "ファンクション(&F)");
  etc_items_.key_code = AddMenuItem(keys, "PopupMenuEtcKeyCode", "銘柄コード(&C)");
  PopupMenuEtc->addSeparator();
  etc_items_.internet = AddMenuItem(PopupMenuEtc, "PopupMenuNetOption", "インターネット設定(&I)");
  PopupMenuEtc->addSeparator();
  etc_items_.help = AddMenuItem(PopupMenuEtc, "PopupMenuEtcHelp", "ヘルプ(&H)");
  etc_items_.about = AddMenuItem(PopupMenuEtc, "PopupMenuEtcAbout", "バージョン情報(&A)");

  PopupMenuFunc = new QMenu(this);
  PopupMenuFunc->setObjectName("PopupMenuFunc");

  connect(SpeedButtonOption, &QToolButton::clicked, this, &TFormMain::SpeedButtonOptionClick);
  connect(SpeedButtonEtc, &QToolButton::clicked, this, &TFormMain::SpeedButtonEtcClick);
}

void TFormMain::BuildStatusBar() {
  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName("StatusBar");
  StatusBar->setSizeGripEnabled(true);
  StatusPanel0 = new QLabel(StatusBar);
  StatusPanel0->setObjectName("StatusPanel0");
  StatusPanel1 = new QLabel(StatusBar);
  StatusPanel1->setObjectName("StatusPanel1");
  StatusPanel2 = new QLabel(StatusBar);
  StatusPanel2->setObjectName("StatusPanel2");
  for (QLabel* panel : {StatusPanel0, StatusPanel1, StatusPanel2}) {
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setTextFormat(Qt::PlainText);
  }
  StatusPanel0->setMinimumWidth(0);
  StatusPanel0->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  StatusPanel1->setFixedWidth(150);
  StatusPanel2->setFixedWidth(50);
  StatusBar->addWidget(StatusPanel0, 1);
  StatusBar->addWidget(StatusPanel1);
  StatusBar->addWidget(StatusPanel2);
  setStatusBar(StatusBar);

  // The load progress lies over panel 1, hidden until a page loads.
  ProgressBar = new QProgressBar(StatusBar);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  ProgressBar->setTextVisible(false);
  ProgressBar->hide();
}

}  // namespace sorvi

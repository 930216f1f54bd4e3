#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/flip_keys.h"
#include "app/stock_appearances.h"
#include "app/stock_flip.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "codes/page_stock_menu.h"
#include "codes/stock_marks_feed.h"
#include "core/files/data_files.h"
#include "core/settings/internet_settings.h"
#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "core/settings/window_settings.h"
#include "core/tabs/tile_layout.h"
#include "keymacro/code_go_menu.h"
#include "keymacro/key_macro_controller.h"
#include "keymacro/key_macro_registries.h"
#include "platform/confirm_box.h"
#include "platform/cp932.h"
#include "platform/desktop_notifier.h"
#include "platform/idle_hook.h"
#include "platform/list_document.h"
#include "platform/report_text.h"
#include "platform/toolbar_icons.h"
#include "platform/web_engine_internet.h"
#include "platform/window_size.h"
#include "tabs/address_box.h"
#include "tabs/browser_tab.h"
#include "tabs/empty_page_hint.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_menu.h"
#include "tabs/tab_stack.h"

namespace sorvi {

namespace {

constexpr int kSplitterLimit = 275;  // the right side keeps at least this much

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

TFormMain::TFormMain(const QString& data_dir, QWidget* parent) : QMainWindow(parent) {
  data_dir_ = data_dir.endsWith('/') ? data_dir : data_dir + '/';
  ini_path_ = data_dir_ + kSettingsFileName;
  // A save cut short when the program or the machine stopped leaves its
  // ".___" copy behind; take it over when the file itself is missing.
  RecoverDataFiles(Bytes(data_dir_));
  // Read once; whoever keeps settings reads and writes them here and commits
  // its own change.
  settings_ = std::make_unique<SettingsFile>(Bytes(ini_path_));

  setWindowTitle("そるび");
  setMinimumSize(480, 320);
  BuildLayout();
  MakeSubsystems();

  connect(main_splitter_, &QSplitter::splitterMoved, this, [this] { ApplySplitterLimit(); });

  FormCreate();
  // Asked once the window is up, after what the loading had to say.
  // The kept tabs open after those questions, outside their event loops.
  QTimer::singleShot(0, this, [this] {
    OfferUnsavedCopies();
    if (options_.RestoreSession) tabs_->RestoreSession(ReadSession(*settings_));
  });
  idle_hook_ = std::make_unique<IdleHook>(this);
  connect(idle_hook_.get(), &IdleHook::Idle, this, &TFormMain::ApplicationEventsIdle);
}

TFormMain::~TFormMain() {
  // FormDestroy: the tabs and their web views go first, while the engine
  // they belong to still exists.
  idle_hook_.reset();
  flip_.reset();
  key_registries_.reset();
  macros_.reset();
  tabs_.reset();
  bookmarks_.reset();
  codes_.reset();
}

TFormMain::Parts TFormMain::Subsystems() const {
  return {codes_.get(), bookmarks_.get(), tabs_.get(), macros_.get(), key_registries_.get(), address_};
}

void TFormMain::MakeSubsystems() {
  codes_ = std::make_unique<CodeListController>(code_tree_, data_dir_, options_, this);
  new PageStockMenu(*codes_, this);
  marks_feed_ = new StockMarksFeed(code_tree_->CodeModel(), options_.MarkStocks, this);
  bookmarks_ = std::make_unique<BookmarkListController>(url_list_, *codes_, data_dir_, options_, this);
  tabs_ =
      std::make_unique<TabController>(TabWidgets{page_control_, cover_panel_, lock_button_}, options_, data_dir_, this);
  macros_ = std::make_unique<KeyMacroController>(*tabs_, *codes_, options_, this);
  connect(tabs_.get(), &TabController::LoadKeyMacroReady, macros_.get(),
          [macros = macros_.get()](BrowserTab* tab, const std::string& macro) { macros->HandOver(tab, macro); });
  address_ = new AddressBox(address_combo_, this);

  connect(codes_.get(), &CodeListController::OpenBookmarkRequested, this,
          [this] { bookmarks_->OpenSelectedBookmark(QGuiApplication::keyboardModifiers()); });
  connect(bookmarks_.get(), &BookmarkListController::OpenRequested, this, &TFormMain::OpenPage);
  connect(bookmarks_.get(), &BookmarkListController::OpenEachRequested, tabs_.get(), &TabController::OpenEach);
  connect(tabs_.get(), &TabController::OpenDue, this, &TFormMain::OpenPage);
  connect(address_, &AddressBox::Submitted, this, &TFormMain::OpenTypedAddress);
  connect(navigate_button_, &QToolButton::clicked, this,
          [this] { OpenTypedAddress(QGuiApplication::keyboardModifiers()); });
  connect(macros_.get(), &KeyMacroController::StatusNote, status_panel0_, &QLabel::setText);
  WireTabs();
  auto* appearances = new StockAppearances(*tabs_, code_tree_->CodeModel(), *new DesktopNotifier(tabs_.get()), this);
  connect(appearances, &StockAppearances::StatusNote, status_panel0_, &QLabel::setText);
  WireEtcMenu();
  MakeKeyRegistries();
  MakeStockFlip();
}

void TFormMain::MakeKeyRegistries() {
  KeyMacroRegistryWidgets widgets;
  widgets.settings = settings_.get();
  widgets.main_window = this;
  widgets.address = address_combo_;
  widgets.func_menu = func_menu_;
  widgets.menu_button = etc_button_;
  key_registries_ = std::make_unique<KeyMacroRegistries>(*tabs_, *codes_, *macros_, widgets, this);
  KeyMacroRegistries* registries = key_registries_.get();

  // The "実行" submenu heads the tree's menu; a double-click in the tree
  // runs its default item.
  CodeGoMenu* go = &registries->CodeGo();
  QMenu* code_menu = codes_->Menu();
  code_menu->insertMenu(code_menu->actions().value(0), go->Menu());
  connect(code_tree_, &CodeTreeView::DefaultActionRequested, go,
          [go] { go->RunDefault(QGuiApplication::keyboardModifiers()); });
  connect(go, &CodeGoMenu::OpenBookmarkRequested, codes_.get(), &CodeListController::OpenBookmarkForSelection);
  connect(etc_items_.key_func, &QAction::triggered, registries, [registries] { registries->OpenKeyFuncWindow(); });
  connect(etc_items_.key_code, &QAction::triggered, registries, [registries] { registries->OpenKeyCodeWindow(); });
}

void TFormMain::MakeStockFlip() {
  flip_ = std::make_unique<StockFlip>(*code_tree_, *codes_, *tabs_, *macros_);
  StockFlip* flip = flip_.get();
  auto* keys = new FlipKeys(this, flip);
  connect(keys, &FlipKeys::Stepped, flip, &StockFlip::Step);
  // After the "実行" submenu that heads the tree's menu.
  flip->AddMenuItems(codes_->Menu(), codes_->Menu()->actions().value(1));
  connect(bookmarks_.get(), &BookmarkListController::BookmarkOpened, flip, &StockFlip::BookmarkOpened);
  connect(&key_registries_->CodeGo(), &CodeGoMenu::CodeMacroRequested, flip, &StockFlip::CodeMacroChosen);
  connect(flip, &StockFlip::OpenRequested, this, &TFormMain::OpenPage);
  connect(flip, &StockFlip::CodeMacroRequested, key_registries_.get(), &KeyMacroRegistries::PlayCodeMacro);
  connect(flip, &StockFlip::StatusNote, status_panel0_, &QLabel::setText);
}

void TFormMain::WireTabs() {
  TabController* tabs = tabs_.get();
  connect(close_button_, &QToolButton::clicked, tabs, &TabController::CloseActiveTab);
  connect(back_button_, &QToolButton::clicked, tabs, &TabController::GoBack);
  connect(forward_button_, &QToolButton::clicked, tabs, &TabController::GoForward);
  connect(stop_button_, &QToolButton::clicked, tabs, &TabController::StopActive);
  connect(refresh_button_, &QToolButton::clicked, tabs, &TabController::ReloadActive);
  connect(print_button_, &QToolButton::clicked, tabs, &TabController::PrintActive);

  connect(tabs, &TabController::AddressChanged, address_, &AddressBox::Show);
  connect(tabs, &TabController::StatusTextChanged, status_panel0_, &QLabel::setText);
  connect(tabs, &TabController::ZoomTextChanged, status_panel2_, &QLabel::setText);
  connect(tabs, &TabController::ProgressChanged, this, &TFormMain::ShowProgress);
  connect(tabs, &TabController::BackEnabledChanged, back_button_, &QToolButton::setEnabled);
  connect(tabs, &TabController::ForwardEnabledChanged, forward_button_, &QToolButton::setEnabled);
  connect(tabs, &TabController::StopEnabledChanged, stop_button_, &QToolButton::setEnabled);
  auto* hint = new EmptyPageHint(page_control_->pageArea());
  connect(tabs, &TabController::TabCountChanged, hint, &EmptyPageHint::ShowForTabCount);
  connect(tabs, &TabController::TabCountChanged, this, [this](int count) {
    for (QToolButton* button : {option_button_, refresh_button_, close_button_, print_button_})
      button->setEnabled(count > 0);
  });
}

void TFormMain::ShowProgress(int progress, int progress_max) {
  if (progress <= 0) {
    progress_bar_->hide();
    return;
  }
  if (progress_max > 0) progress_bar_->setValue(int(static_cast<long long>(progress) * 100 / progress_max));
  progress_bar_->show();
}

void TFormMain::FormCreate() {
  const SettingsFile& ini = *settings_;
  if (ini.Unreadable()) {
    // Said once; the program runs on the defaults and never writes over a
    // file it could not read.
    const auto say_unreadable = [this] {
      ShowError(ReportText({DataFile::kSettings, FileStep::kReadFailed, Bytes(ini_path_)}));
    };
    QTimer::singleShot(0, this, say_unreadable);
  }
  options_ = ReadAppOptions(ini);
  marks_feed_->SetEnabled(options_.MarkStocks);
  // Proxy and languages hold from the first page on.
  UseInternetSettings(ReadInternetSettings(ini));
  key_registries_->Load(ini);

  const WindowSettings window = ReadWindowSettings(ini, Bytes(data_dir_));
  start_maximized_ = window.State == kWindowStateMaximized;
  normal_top_ = window.Top;
  normal_left_ = window.Left;
  normal_height_ = window.Height;
  normal_width_ = window.Width;
  move(normal_left_, normal_top_);
  resize(WithinDesktop(QSize(normal_width_, normal_height_)).expandedTo(minimumSize()));

  // Within the window: any number may be in the file, and the sums below
  // must not overflow.
  const int splitte_l = std::clamp(window.SplitteL, 4, std::max(width(), 4));
  const int splitte_u = std::clamp(window.SplitteU, 18, std::max(height(), 18));
  main_splitter_->setSizes({std::max(splitte_l, 4), std::max(width() - splitte_l - main_splitter_->handleWidth(), 1)});
  lists_splitter_->setSizes({std::max(splitte_u, 18), std::max(height() - splitte_u, 18)});

  ChooseNavigateMode(window.Target == NavigateMode::NewTab ? navigate_menu_new_tab_ : navigate_menu_same_tab_);

  for (int i = 0; i < kUrlListColumnCount; ++i) {
    const int w = window.Columns[i];
    url_list_->setColumnWidth(i, i == 0 ? std::max(w, 19) : std::max(w, 0));
  }

  address_->LoadHistory(ReadUrlHistory(ini));
  tabs_->SetTiles(ReadTileLayout(ini));
  expand_as_read_ = window.Expand;
  LoadLists();

  // The file dialog's directory is written back at close as it was read;
  // the user's picks are kept for this run only.
  ini_dir_as_read_ = window.IniDir;
  QString dir = QFile::decodeName(QByteArray::fromStdString(ini_dir_as_read_));
  if (dir.size() > 1 && dir.endsWith('/')) dir.chop(1);
  address_->SetFileDialogDir(dir);
}

void TFormMain::LoadLists() {
  // Each list loads on its own: one that cannot be read does not keep the
  // other from loading, and is never written back.
  QStringList errors;
  for (ListDocument* list : Lists()) {
    const FileReport report = list->Load();
    if (report.Failed()) errors << ReportText(report);
    PostReportNotes(this, report);
  }
  codes_->RestoreExpandState(expand_as_read_);
  codes_->ScrollToTop();
  if (!errors.isEmpty()) {
    QTimer::singleShot(0, this, [this, message = errors.join('\n')] { ShowError(message); });
  }
}

void TFormMain::FormActivate() {
  if (first_activation_done_) return;
  first_activation_done_ = true;
  if (start_maximized_) {
    start_maximized_ = false;
    showMaximized();
  }
}

bool TFormMain::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) FormActivate();
  return QMainWindow::event(e);
}

void TFormMain::changeEvent(QEvent* e) {
  if (e->type() == QEvent::WindowStateChange) {
    auto* change = static_cast<QWindowStateChangeEvent*>(e);
    // Keep the bounds the window had before it was maximized, for writing
    // back at close.
    // A page's full screen counts as maximized here: its bounds are not the
    // window's own.
    const Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;
    if ((windowState() & large) && !(change->oldState() & large) && !(change->oldState() & Qt::WindowMinimized)) {
      const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
      const QPoint frame_offset = geometry().topLeft() - pos();
      normal_top_ = normal.top() - frame_offset.y();
      normal_left_ = normal.left() - frame_offset.x();
      normal_height_ = normal.height();
      normal_width_ = normal.width();
    }
  }
  QMainWindow::changeEvent(e);
}

void TFormMain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  StatusBarResize();
}

void TFormMain::ChooseNavigateMode(QAction* item) {
  item->setChecked(true);
  const bool new_tab = item == navigate_menu_new_tab_;
  navigate_button_->setIcon(ToolbarIcon(new_tab ? ToolbarImage::NewTab : ToolbarImage::Overwrite));
  navigate_button_->setToolTip(item->text());
  tabs_->SetNavigateMode(new_tab ? NavigateMode::NewTab : NavigateMode::Overwrite);
}

bool TFormMain::NewTabModeChecked() const { return navigate_menu_new_tab_->isChecked(); }

void TFormMain::OpenTypedAddress(Qt::KeyboardModifiers modifiers) {
  OpenRequest request;
  request.typed = address_->Text();
  request.shift = modifiers.testFlag(Qt::ShiftModifier);
  OpenPage(request);
}

void TFormMain::OpenPage(const OpenRequest& request) {
  if (!request.typed.isEmpty()) {
    address_->Remember(QStringToSjis(request.typed), request.typed);
  } else {
    address_->Remember(request.address, SjisToQString(request.address));
  }
  tabs_->Open(request);
}

int TFormMain::AcceptedLeftWidth(int proposed_width) const {
  if (width() - proposed_width > kSplitterLimit) return proposed_width;
  return std::max(width() - kSplitterLimit, 4);
}

void TFormMain::ApplySplitterLimit() {
  const QList<int> sizes = main_splitter_->sizes();
  if (sizes.size() != 2) return;
  const int accepted = AcceptedLeftWidth(sizes[0]);
  if (accepted != sizes[0]) main_splitter_->setSizes({accepted, sizes[0] + sizes[1] - accepted});
}

void TFormMain::StatusBarResize() {
  if (!status_bar_ || !progress_bar_) return;
  // The progress bar covers panel 1 exactly.
  progress_bar_->setGeometry(status_panel1_->geometry());
}

void TFormMain::SpeedButtonOptionClick() {
  const QRect frame = frameGeometry();
  tabs_->Menu().UpdateForActiveTab();
  tabs_->Menu().Menu()->popup(QPoint(frame.left() + right_panel_->mapTo(this, QPoint(0, 0)).x(), frame.top() + 50));
}

void TFormMain::SpeedButtonEtcClick() {
  const QRect frame = frameGeometry();
  etc_menu_->popup(QPoint(frame.left() + frame.width() - 15, frame.top() + 55));
}

void TFormMain::ShowError(const QString& text) { ShowErrorBox(this, text); }

bool TFormMain::WriteSettings(const std::function<void(SettingsFile&)>& write) {
  // All of it or nothing: the close erases the address history before
  // writing it again, and a refused commit drops every change of it.
  write(*settings_);
  const FileReport report = settings_->Commit();
  if (report.Failed()) ShowError(ReportText(report));
  return !report.Failed();
}

void TFormMain::ApplicationEventsIdle() {
  // A play processes events; what is deferred waits for its end.
  if (macros_->Playing()) return;
  tabs_->IdleSteps();
  macros_->IdleMacroStep();
  for (ListDocument* list : Lists()) list->WriteCopyIfDue();
}

}  // namespace sorvi

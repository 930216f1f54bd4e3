#include "app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <stdexcept>

#include "app/confirm_box.h"
#include "app/toolbar_icons.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "core/files/file_io.h"
#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "keymacro/key_macro_controller.h"
#include "platform/cp932.h"
#include "platform/idle_hook.h"
#include "tabs/tab_controller.h"

namespace sorvi {

namespace {

constexpr int kSplitterLimit = 275;  // the right side keeps at least this much

std::string Bytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

TFormMain::TFormMain(const QString& exe_dir, QWidget* parent) : QMainWindow(parent) {
  ExeDir = exe_dir.endsWith('/') ? exe_dir : exe_dir + '/';
  IniPath = ExeDir + "Sorvi.ini";
  // A list written half-way when the program or the machine stopped leaves
  // its ".___" copy behind; take it over when the list itself is missing.
  RecoverListFile(Bytes(ExeDir + "SV_List.txt"));
  RecoverListFile(Bytes(ExeDir + "SV_Code.txt"));

  setWindowTitle("そるび");
  setMinimumSize(480, 320);
  BuildLayout();

  codes_ = std::make_unique<CodeListController>(*this);
  bookmarks_ = std::make_unique<BookmarkListController>(*this);
  tabs_ = std::make_unique<TabController>(*this);
  macros_ = std::make_unique<KeyMacroController>(*this);

  connect(SplitterLR, &QSplitter::splitterMoved, this, [this] { ApplySplitterLimit(); });

  FormCreate();
  idle_hook_ = std::make_unique<IdleHook>([this] { ApplicationEventsIdle(); }, this);
}

TFormMain::~TFormMain() {
  // FormDestroy: the tabs and their web views go first, while the engine
  // they belong to still exists.
  idle_hook_.reset();
  macros_.reset();
  tabs_.reset();
  bookmarks_.reset();
  codes_.reset();
}

void TFormMain::FormCreate() {
  SettingsFile ini(Bytes(IniPath));
  Options = ReadAppOptions(ini);

  StartMaximized = ini.ReadInteger("Window", "State", 0) == 2;
  NormalTop = ini.ReadInteger("Window", "Top", 50);
  NormalLeft = ini.ReadInteger("Window", "Left", 100);
  NormalHeight = ini.ReadInteger("Window", "Height", 480);
  NormalWidth = ini.ReadInteger("Window", "Width", 640);
  move(NormalLeft, NormalTop);
  resize(std::max(NormalWidth, minimumWidth()), std::max(NormalHeight, minimumHeight()));

  const int splitte_l = ini.ReadInteger("Window", "SplitteL", 250);
  const int splitte_u = ini.ReadInteger("Window", "SplitteU", 140);
  SplitterLR->setSizes({std::max(splitte_l, 4), std::max(width() - splitte_l - SplitterLR->handleWidth(), 1)});
  SplitterUD->setSizes({std::max(splitte_u, 18), std::max(height() - splitte_u, 18)});

  PopupMenuNavigateClick(ini.ReadInteger("Window", "Target", 1) == 1 ? PopupMenuNavigate1 : PopupMenuNavigate2);

  static const int kDefaultColumnWidths[4] = {19, 194, 0, 15};
  for (int i = 0; i < 4; ++i) {
    const int w = ini.ReadInteger("Window", "CLM-" + std::to_string(i), kDefaultColumnWidths[i]);
    ListViewURL->setColumnWidth(i, i == 0 ? std::max(w, 19) : std::max(w, 0));
  }

  for (const std::string& entry : ReadUrlHistory(ini)) ComboBoxURL->addItem(SjisToQString(entry));
  ComboBoxURL->setCurrentIndex(-1);
  ComboBoxURL->setEditText(QString());

  // A list that cannot be read stops the rest of start-up, as the toolkit's
  // error would; the window still opens with what was done.
  try {
    Codes()->PopupMenuCodeEditorClick(nullptr);
    Bookmarks()->PopupMenuURLEditorClick(nullptr);
    Codes()->RestoreExpandState(ini.ReadString("Window", "Expand", ""));
    Codes()->ScrollToTop();
    std::string ini_dir = ini.ReadString("Window", "IniDir", Bytes(ExeDir));
    OpenDialogInitialDir = QFile::decodeName(QByteArray::fromStdString(ini_dir));
    if (OpenDialogInitialDir.size() > 1 && OpenDialogInitialDir.endsWith('/')) OpenDialogInitialDir.chop(1);
  } catch (const std::exception& error) {
    QTimer::singleShot(0, this, [this, message = QString::fromUtf8(error.what())] { ShowError(message); });
  }
}

void TFormMain::FormActivate() {
  if (first_activation_done_) return;
  first_activation_done_ = true;
  if (StartMaximized) {
    StartMaximized = false;
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
    if ((windowState() & Qt::WindowMaximized) && !(change->oldState() & Qt::WindowMaximized) &&
        !(change->oldState() & Qt::WindowMinimized)) {
      const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
      const QPoint frame_offset = geometry().topLeft() - pos();
      NormalTop = normal.top() - frame_offset.y();
      NormalLeft = normal.left() - frame_offset.x();
      NormalHeight = normal.height();
      NormalWidth = normal.width();
    }
  }
  QMainWindow::changeEvent(e);
}

void TFormMain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  StatusBarResize();
}

void TFormMain::PopupMenuNavigateClick(QAction* item) {
  item->setChecked(true);
  ToolButtonNavigate->setIcon(ToolbarIcon(item == PopupMenuNavigate1 ? ToolbarImage::NewTab : ToolbarImage::Overwrite));
  ToolButtonNavigate->setToolTip(item->text());
}

bool TFormMain::NewTabModeChecked() const { return PopupMenuNavigate1->isChecked(); }

int TFormMain::SplitterLRCanResize(int proposed_width) const {
  if (width() - proposed_width > kSplitterLimit) return proposed_width;
  return std::max(width() - kSplitterLimit, 4);
}

void TFormMain::ApplySplitterLimit() {
  const QList<int> sizes = SplitterLR->sizes();
  if (sizes.size() != 2) return;
  const int accepted = SplitterLRCanResize(sizes[0]);
  if (accepted != sizes[0]) SplitterLR->setSizes({accepted, sizes[0] + sizes[1] - accepted});
}

void TFormMain::StatusBarResize() {
  if (!StatusBar || !ProgressBar) return;
  // The progress bar covers panel 1 exactly.
  ProgressBar->setGeometry(StatusPanel1->geometry());
}

void TFormMain::SpeedButtonOptionClick() {
  const QRect frame = frameGeometry();
  Tabs()->PopupMenuTabPopup();
  PopupMenuTab->popup(QPoint(frame.left() + PanelR->mapTo(this, QPoint(0, 0)).x(), frame.top() + 50));
}

void TFormMain::SpeedButtonEtcClick() {
  const QRect frame = frameGeometry();
  PopupMenuEtc->popup(QPoint(frame.left() + frame.width() - 15, frame.top() + 55));
}

int TFormMain::AskYesNoCancel(const QString& text) {
  const QRect frame = frameGeometry();
  const QPoint at(frame.left() + frame.width() / 2 - 100, frame.top() + frame.height() / 2 - 50);
  return sorvi::AskYesNoCancel(this, "確認", text, at);
}

void TFormMain::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok, this);
  box.exec();
}

bool TFormMain::WriteSettings(const std::function<void(SettingsFile&)>& write) {
  try {
    SettingsFile ini(Bytes(IniPath));
    write(ini);
    return true;
  } catch (const SettingsWriteError& error) {
    ShowError(QString::fromUtf8(error.what()));
    return false;
  }
}

bool TFormMain::FormCloseQuery() {
  if (Options.AutoSave) {
    if (Codes()->IsModified()) Codes()->PopupMenuCodeSaveClick();
    if (Bookmarks()->IsModified()) Bookmarks()->PopupMenuURLSaveClick();
    // A list that could not be saved keeps its mark; the error was shown
    // and the user chooses again instead of losing the changes.
    return !Codes()->IsModified() && !Bookmarks()->IsModified();
  }
  if (Codes()->IsModified()) {
    const int answer = AskYesNoCancel("銘柄一覧を保存しますか？");
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes && !Codes()->PopupMenuCodeSaveClick()) return false;
  }
  if (Bookmarks()->IsModified()) {
    const int answer = AskYesNoCancel("URL一覧を保存しますか？");
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes && !Bookmarks()->PopupMenuURLSaveClick()) return false;
  }
  return true;
}

void TFormMain::FormClose() {
  WriteSettings([this](SettingsFile& ini) {
    const bool maximized = isMaximized();
    // Position of the frame, size of the window: what move() and resize()
    // take back at the next start.
    ini.WriteInteger("Window", "Top", maximized ? NormalTop : y());
    ini.WriteInteger("Window", "Left", maximized ? NormalLeft : x());
    ini.WriteInteger("Window", "Height", maximized ? NormalHeight : height());
    ini.WriteInteger("Window", "Width", maximized ? NormalWidth : width());
    ini.WriteInteger("Window", "State", isMinimized() ? 1 : maximized ? 2 : 0);
    ini.WriteInteger("Window", "SplitteL", PanelL->width());
    ini.WriteInteger("Window", "SplitteU", ListViewURL->height());
    ini.WriteInteger("Window", "Target", NewTabModeChecked() ? 1 : 2);
    for (int i = 0; i < ListViewURL->columnCount(); ++i) {
      ini.WriteInteger("Window", "CLM-" + std::to_string(i), ListViewURL->columnWidth(i));
    }
    ini.WriteString("Window", "Expand", Codes()->ExpandStateText());
    std::vector<std::string> history;
    for (int i = 0; i < ComboBoxURL->count(); ++i) history.push_back(QStringToSjis(ComboBoxURL->itemText(i)));
    WriteUrlHistory(ini, history);
    ini.WriteString("Window", "IniDir", Bytes(OpenDialogInitialDir));
  });
}

void TFormMain::closeEvent(QCloseEvent* e) {
  if (!FormCloseQuery()) {
    e->ignore();
    return;
  }
  FormClose();
  e->accept();
}

void TFormMain::ApplicationEventsIdle() {
  Tabs()->IdleSteps();
  Macros()->IdleMacroStep();
}

}  // namespace sorvi

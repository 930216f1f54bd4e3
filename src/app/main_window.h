#pragma once
// The main window: owns every control, the lists shown in them and the state
// that the subsystems share. Each subsystem's handlers live in the subsystem's
// own folder (codes/, bookmarks/, tabs/, keymacro/); this class composes them.
#include <QMainWindow>
#include <functional>
#include <QRect>
#include <QString>
#include <memory>
#include <string>

#include "core/settings/app_options.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QFrame;
class QFileDialog;

namespace sorvi {

class CodeTreeView;
class UrlListView;
class CodeListController;
class BookmarkListController;
class TabController;
class KeyMacroController;
class IdleHook;
class SettingsFile;

class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  // `exe_dir` is where every data file lives (with a trailing "/"); the
  // program passes its own directory, tests pass a scratch directory.
  explicit TFormMain(const QString& exe_dir, QWidget* parent = nullptr);
  ~TFormMain() override;

  // ---- program-wide values ----
  QString ExeDir;
  QString IniPath;
  AppOptions Options;  // `AppOptions` of the settings, read by FormCreate

  // ---- controls of the layout ----
  QWidget* PanelL = nullptr;
  UrlListView* ListViewURL = nullptr;
  QSplitter* SplitterUD = nullptr;
  CodeTreeView* TreeViewCode = nullptr;
  QSplitter* SplitterLR = nullptr;
  QWidget* PanelR = nullptr;
  QWidget* PanelT = nullptr;
  QToolBar* ToolBarL = nullptr;
  QToolButton* SpeedButtonOption = nullptr;
  QToolButton* ToolButtonLock = nullptr;
  QToolButton* ToolButtonGoBack = nullptr;
  QToolButton* ToolButtonGoFoward = nullptr;
  QToolButton* ToolButtonStop = nullptr;
  QToolButton* ToolButtonRefresh = nullptr;
  QComboBox* ComboBoxURL = nullptr;
  QToolBar* ToolBarR = nullptr;
  QToolButton* ToolButtonNavigate = nullptr;
  QToolButton* ToolButtonClose = nullptr;
  QToolButton* ToolButtonPrint = nullptr;
  QToolButton* SpeedButtonEtc = nullptr;
  QTabWidget* PageControl = nullptr;
  QFrame* PanelCover = nullptr;
  QStatusBar* StatusBar = nullptr;
  QLabel* StatusPanel0 = nullptr;
  QLabel* StatusPanel1 = nullptr;
  QLabel* StatusPanel2 = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QTimer* Timer = nullptr;
  QString OpenDialogInitialDir;  // `OpenDialog`'s initial directory

  // ---- popup menus and their items ----
  QMenu* PopupMenuNavigate = nullptr;
  QAction* PopupMenuNavigate1 = nullptr;
  QAction* PopupMenuNavigate2 = nullptr;
  QMenu* PopupMenuCode = nullptr;
  QMenu* PopupMenuCodeGo = nullptr;
  QActionGroup* PopupMenuCodeGoGroup = nullptr;
  QAction* PopupMenuCodeGoURL = nullptr;
  QAction* PopupMenuCodeGoSeparator = nullptr;
  QAction* PopupMenuCodeCopy1 = nullptr;
  QAction* PopupMenuCodeCopy2 = nullptr;
  QAction* PopupMenuCodeEdit = nullptr;
  QAction* PopupMenuCodeCopy = nullptr;
  QAction* PopupMenuCodeDel = nullptr;
  QAction* PopupMenuCodeAdd = nullptr;
  QAction* PopupMenuCodeEditor = nullptr;
  QAction* PopupMenuCodeSave = nullptr;
  QMenu* PopupMenuURL = nullptr;
  QAction* PopupMenuURLGo = nullptr;
  QAction* PopupMenuURLEdit = nullptr;
  QAction* PopupMenuURLCopy = nullptr;
  QAction* PopupMenuURLDel = nullptr;
  QAction* PopupMenuURLAdd = nullptr;
  QAction* PopupMenuURLEditor = nullptr;
  QAction* PopupMenuURLSave = nullptr;
  QMenu* PopupMenuEtc = nullptr;
  QAction* PopupMenuEtcOption = nullptr;
  QMenu* PopupMenuEtcKey = nullptr;
  QAction* PopupMenuEtcKeyFunc = nullptr;
  QAction* PopupMenuEtcKeyCode = nullptr;
  QAction* PopupMenuNetOption = nullptr;
  QAction* PopupMenuEtcHelp = nullptr;
  QAction* PopupMenuEtcAbout = nullptr;
  QMenu* PopupMenuTab = nullptr;
  QMenu* PopupMenuTabReload = nullptr;
  QActionGroup* PopupMenuTabReloadGroup = nullptr;
  QAction* PopupMenuTabReload00 = nullptr;
  QAction* PopupMenuTabReload15 = nullptr;
  QAction* PopupMenuTabReload30 = nullptr;
  QAction* PopupMenuTabReload1 = nullptr;
  QAction* PopupMenuTabReload2 = nullptr;
  QAction* PopupMenuTabReload5 = nullptr;
  QAction* PopupMenuTabSilent = nullptr;
  QAction* PopupMenuTabLockClear = nullptr;
  QAction* PopupMenuClient = nullptr;
  QMenu* PopupMenuFunc = nullptr;

  // ---- state of the window itself ----
  bool StartMaximized = false;
  int NormalTop = 50, NormalLeft = 100, NormalHeight = 480, NormalWidth = 640;
  int TabSerial = 0;

  // ---- subsystems ----
  CodeListController* Codes() const { return codes_.get(); }
  BookmarkListController* Bookmarks() const { return bookmarks_.get(); }
  TabController* Tabs() const { return tabs_.get(); }
  KeyMacroController* Macros() const { return macros_.get(); }

  // ---- handlers of this window ----
  void FormCreate();
  void FormActivate();
  void PopupMenuNavigateClick(QAction* item);
  bool NewTabModeChecked() const;
  // Returns the accepted width of `PanelL` for a proposed splitter position.
  int SplitterLRCanResize(int proposed_width) const;
  void StatusBarResize();
  void SpeedButtonOptionClick();
  void SpeedButtonEtcClick();
  bool FormCloseQuery();
  void FormClose();
  void ApplicationEventsIdle();

  // Asks a Yes/No/Cancel question placed at the window's centre minus
  // (100, 50). Returns QMessageBox::Yes, No or Cancel.
  int AskYesNoCancel(const QString& text);
  // Shows an error box in the toolkit's way; the program goes on.
  void ShowError(const QString& text);

  // Runs `write` on a settings object opened on `IniPath`; a refused write
  // is reported to the user and ends the operation. Returns false then.
  bool WriteSettings(const std::function<void(SettingsFile&)>& write);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildLayout();
  void BuildMenus();
  void BuildToolBars();
  void BuildStatusBar();
  void ApplySplitterLimit();

  bool first_activation_done_ = false;
  bool closing_accepted_ = false;
  std::unique_ptr<CodeListController> codes_;
  std::unique_ptr<BookmarkListController> bookmarks_;
  std::unique_ptr<TabController> tabs_;
  std::unique_ptr<KeyMacroController> macros_;
  std::unique_ptr<IdleHook> idle_hook_;
};

}  // namespace sorvi

#pragma once
// The main window: owns every control and the state that the subsystems
// share; the lists belong to the controllers that show them. Each subsystem's
// handlers live in the subsystem's own folder (codes/, bookmarks/, tabs/,
// keymacro/); this class composes them.
#include <QMainWindow>
#include <QRect>
#include <QString>
#include <array>
#include <functional>
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
class KeyMacroRegistries;
class IdleHook;
class ListDocument;
class SettingsFile;
class StockFlip;
class StockMarksFeed;

class AddressBox;
class TabStack;
struct OpenRequest;

namespace testing {
class WindowInternals;
}

// The main window composes the subsystems: it builds the layout, hands each
// subsystem the widgets it owns, wires their signals to what shows them,
// and carries start-up and shutdown.
class TFormMain : public QMainWindow {
  Q_OBJECT

 public:
  // `data_dir` is the data directory, where every data file lives (with a
  // trailing "/"): the program passes what PrepareDataDirectory decided
  // (beside the executable, or the user's own directory for an installed
  // copy), tests pass a scratch directory.
  explicit TFormMain(const QString& data_dir, QWidget* parent = nullptr);
  ~TFormMain() override;

  // The subsystems the window composes, for those that drive it from
  // outside (tests, benchmarks).
  struct Parts {
    CodeListController* codes;
    BookmarkListController* bookmarks;
    TabController* tabs;
    KeyMacroController* macros;
    KeyMacroRegistries* key_registries;
    AddressBox* address;
  };
  Parts Subsystems() const;

  // Shows the request's address in the address box (and its history) and
  // opens it.
  void OpenPage(const OpenRequest& request);
  // The navigate button: opens what the address box shows; Shift inverts
  // the navigate mode.
  void OpenTypedAddress(Qt::KeyboardModifiers modifiers);
  // Closes with nobody to answer (a terminate signal): nothing is asked; a
  // list the close would ask about is kept beside its file as
  // "<name>.unsaved", offered at the next start; a list under the external
  // editor is left to the editor. Stays so for the rest of the run.
  void CloseUnattended();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Reaches the options, the settings and the splitter rule in tests.
  friend class testing::WindowInternals;

  // ---- handlers of this window ----
  void FormCreate();
  void FormActivate();
  // Checks the navigate menu's `item` and sets the mode it stands for.
  void ChooseNavigateMode(QAction* item);
  bool NewTabModeChecked() const;
  // Returns the accepted width of `PanelL` for a proposed splitter position.
  int AcceptedLeftWidth(int proposed_width) const;
  void StatusBarResize();
  void SpeedButtonOptionClick();
  void SpeedButtonEtcClick();
  // ---- the items of etc_menu_ (main_window_etc_menu.cpp) ----
  void PopupMenuEtcOptionClick();
  void PopupMenuNetOptionClick();
  // Brings the help tab to the front, or opens the help page; Shift inverts
  // the navigate mode as with the navigate button.
  void PopupMenuEtcHelpClick(Qt::KeyboardModifiers modifiers);
  void PopupMenuEtcAboutClick();
  bool FormCloseQuery();
  void FormClose();
  void ApplicationEventsIdle();

  // `AppOptions` of the settings, read by FormCreate.
  const AppOptions& Options() const { return options_; }
  void SetOptions(const AppOptions& options) { options_ = options; }

  // Shows an error box in the toolkit's way; the program goes on.
  void ShowError(const QString& text);

  // Runs `write` on the settings and commits all its writes to the file as
  // one change; a refusal is reported to the user and leaves the file and
  // the settings as they were. Returns false then.
  bool WriteSettings(const std::function<void(SettingsFile&)>& write);

  void BuildLayout();
  void BuildMenus();
  void BuildToolBars();
  void BuildStatusBar();
  void MakeSubsystems();
  void WireTabs();
  void WireEtcMenu();
  void MakeKeyRegistries();
  void MakeStockFlip();
  void ApplySplitterLimit();
  void ShowProgress(int progress, int progress_max);
  void LoadLists();
  // ---- the close (main_window_close.cpp) ----
  // The two lists' documents, the code list first.
  std::array<ListDocument*, 2> Lists() const;
  void OfferUnsavedCopies();
  bool ListUnderEditor() const;

  QString data_dir_;
  QString ini_path_;
  // Before the subsystems that keep references to it, so that it goes last.
  std::unique_ptr<SettingsFile> settings_;
  AppOptions options_;

  // ---- controls of the layout ----
  QWidget* left_panel_ = nullptr;
  UrlListView* url_list_ = nullptr;
  QSplitter* lists_splitter_ = nullptr;
  CodeTreeView* code_tree_ = nullptr;
  QSplitter* main_splitter_ = nullptr;
  QWidget* right_panel_ = nullptr;
  QWidget* top_panel_ = nullptr;
  QToolBar* left_tool_bar_ = nullptr;
  QToolButton* option_button_ = nullptr;
  QToolButton* lock_button_ = nullptr;
  QToolButton* back_button_ = nullptr;
  QToolButton* forward_button_ = nullptr;
  QToolButton* stop_button_ = nullptr;
  QToolButton* refresh_button_ = nullptr;
  QComboBox* address_combo_ = nullptr;
  QToolBar* right_tool_bar_ = nullptr;
  QToolButton* navigate_button_ = nullptr;
  QToolButton* close_button_ = nullptr;
  QToolButton* print_button_ = nullptr;
  QToolButton* etc_button_ = nullptr;
  TabStack* page_control_ = nullptr;
  QFrame* cover_panel_ = nullptr;
  QStatusBar* status_bar_ = nullptr;
  QLabel* status_panel0_ = nullptr;
  QLabel* status_panel1_ = nullptr;
  QLabel* status_panel2_ = nullptr;
  QProgressBar* progress_bar_ = nullptr;

  // ---- the window's own menus ----
  QMenu* navigate_menu_ = nullptr;
  QAction* navigate_menu_new_tab_ = nullptr;
  QAction* navigate_menu_same_tab_ = nullptr;
  QMenu* etc_menu_ = nullptr;
  QMenu* func_menu_ = nullptr;
  // The items of etc_menu_, wired where their handlers are.
  struct EtcMenuItems {
    QAction* option = nullptr;
    QAction* key_func = nullptr;
    QAction* key_code = nullptr;
    QAction* internet = nullptr;
    QAction* help = nullptr;
    QAction* about = nullptr;
  };
  EtcMenuItems etc_items_;

  // ---- state of the window itself ----
  bool start_maximized_ = false;
  int normal_top_ = 50, normal_left_ = 100, normal_height_ = 480, normal_width_ = 640;
  // Settings values written back at close as they were read.
  std::string ini_dir_as_read_;
  std::string expand_as_read_;

  bool first_activation_done_ = false;
  bool unattended_ = false;  // closing with nobody to answer
  std::unique_ptr<CodeListController> codes_;
  StockMarksFeed* marks_feed_ = nullptr;
  std::unique_ptr<BookmarkListController> bookmarks_;
  std::unique_ptr<TabController> tabs_;
  std::unique_ptr<KeyMacroController> macros_;
  std::unique_ptr<KeyMacroRegistries> key_registries_;
  std::unique_ptr<StockFlip> flip_;
  AddressBox* address_ = nullptr;
  std::unique_ptr<IdleHook> idle_hook_;
};

}  // namespace sorvi

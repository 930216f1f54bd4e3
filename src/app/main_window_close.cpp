// The window's close: each list's document saves it or asks about it (with
// nobody to answer, a terminate signal, it keeps the changes beside the
// file, never over it, offered at the next start), then the settings are
// written.
#include <QCloseEvent>
#include <QMessageBox>
#include <algorithm>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "core/settings/window_settings.h"
#include "core/tabs/tile_layout.h"
#include "keymacro/key_macro_controller.h"
#include "keymacro/key_macro_registries.h"
#include "keymacro/registry_window.h"
#include "platform/confirm_box.h"
#include "platform/list_document.h"
#include "tabs/address_box.h"
#include "tabs/tab_controller.h"

namespace sorvi {

std::array<ListDocument*, 2> TFormMain::Lists() const { return {&codes_->Document(), &bookmarks_->Document()}; }

void TFormMain::OfferUnsavedCopies() {
  for (ListDocument* list : Lists()) list->OfferUnsavedCopy();
}

bool TFormMain::ListUnderEditor() const {
  return std::ranges::any_of(Lists(), [](const ListDocument* list) { return list->UnderEditor(); });
}

bool TFormMain::FormCloseQuery() {
  if (!unattended_) {
    QStringList edited;
    for (const ListDocument* list : Lists()) {
      if (list->UnderEditor()) edited << list->Name();
    }
    if (!edited.isEmpty() && AskYesNo(this, "確認",
                                      QString("外部エディタで編集中の一覧 (%1) があります。\n"
                                              "エディタで保存した内容はそのまま残り、この一覧はここでは保存しません。\n"
                                              "閉じてもよろしいですか？")
                                          .arg(edited.join("、")),
                                      QuestionPlace(this)) != QMessageBox::Yes) {
      return false;
    }
  }
  for (ListDocument* list : Lists()) {
    if (!list->CloseQuery(unattended_)) return false;
  }
  return true;
}

void TFormMain::CloseUnattended() {
  unattended_ = true;
  close();
}

void TFormMain::FormClose() {
  WriteSettings([this](SettingsFile& ini) {
    const bool maximized = isMaximized();
    const bool normal_bounds_kept = maximized || isFullScreen();
    WindowSettings window;
    // Position of the frame, size of the window: what move() and resize()
    // take back at the next start.
    window.Top = normal_bounds_kept ? normal_top_ : y();
    window.Left = normal_bounds_kept ? normal_left_ : x();
    window.Height = normal_bounds_kept ? normal_height_ : height();
    window.Width = normal_bounds_kept ? normal_width_ : width();
    window.State = isMinimized() ? 1 : maximized ? kWindowStateMaximized : 0;
    window.SplitteL = left_panel_->width();
    window.SplitteU = url_list_->height();
    window.Target = NewTabModeChecked() ? NavigateMode::NewTab : NavigateMode::Overwrite;
    for (int i = 0; i < kUrlListColumnCount; ++i) window.Columns[i] = url_list_->columnWidth(i);
    // A list that could not be read shows no groups: its expand state stays
    // as it was.
    window.Expand = codes_->Document().LoadFailed() ? expand_as_read_ : codes_->ExpandStateText();
    window.IniDir = ini_dir_as_read_;
    WriteWindowSettings(ini, window);
    WriteUrlHistory(ini, address_->History());
    if (options_.RestoreSession) {
      WriteSession(ini, tabs_->SessionToKeep());
    } else {
      ForgetSession(ini);
    }
    WriteTileLayout(ini, tabs_->Tiles());
  });
}

void TFormMain::closeEvent(QCloseEvent* e) {
  // The external editor's wait disables the window, and with it every box
  // the close shows: they must take an answer.
  setEnabled(true);
  if (!FormCloseQuery()) {
    setEnabled(!ListUnderEditor());
    e->ignore();
    return;
  }
  // An open registry window closes as the user would close it: it keeps
  // its size and column widths (edits not saved are dropped, as then).
  if (RegistryWindow* registry = key_registries_->OpenWindow()) registry->close();
  FormClose();
  // A play waiting in the event loop would keep the program from ending.
  macros_->CancelPlay("キーマクロを中止しました");
  e->accept();
}

}  // namespace sorvi

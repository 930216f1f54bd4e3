// The window's close: the lists saved or asked about, the settings written,
// and what a close with nobody to answer (a terminate signal) keeps. A list
// the close would have asked about is then kept beside its file, never over
// it, and offered at the next start.
#include <QCloseEvent>
#include <QFile>
#include <QMessageBox>
#include <cstdio>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "core/files/data_files.h"
#include "core/files/file_io.h"
#include "core/settings/settings_file.h"
#include "core/settings/url_history.h"
#include "core/settings/window_settings.h"
#include "core/tabs/tile_layout.h"
#include "keymacro/key_macro_controller.h"
#include "keymacro/key_macro_registries.h"
#include "keymacro/registry_window.h"
#include "platform/confirm_box.h"
#include "platform/list_edit_cycle.h"
#include "platform/report_text.h"
#include "tabs/address_box.h"
#include "tabs/tab_controller.h"

namespace sorvi {

// One list as the close sees it.
struct TFormMain::ListAtClose {
  QString name;      // "銘柄一覧"
  QString file;      // the list file
  DataFile file_kind;
  bool* copy_taken;  // its kept copy was loaded: the copy goes once the changes are saved or declined
  std::function<bool()> modified;
  std::function<bool()> under_editor;
  std::function<bool()> save;
  std::function<std::string()> bytes;
  std::function<FileReport(const std::string&)> load_copy;

  std::string CopyPath() const { return QFile::encodeName(file).toStdString() + kUnsavedCopySuffix; }
};

TFormMain::ListAtClose TFormMain::ListForClose(ListKind kind) {
  if (kind == ListKind::kCodes) {
    CodeListController* codes = codes_.get();
    return {"銘柄一覧",
            codes->FilePath(),
            DataFile::kCodeList,
            &code_copy_taken_,
            [codes] { return codes->IsModified(); },
            [codes] { return codes->EditCycle()->IsRunning(); },
            [codes] { return codes->SaveAndReport(); },
            [codes] { return codes->ListFileBytes(); },
            [codes](const std::string& bytes) { return codes->LoadUnsavedCopy(bytes); }};
  }
  BookmarkListController* bookmarks = bookmarks_.get();
  return {"URL一覧",
          bookmarks->FilePath(),
          DataFile::kBookmarkList,
          &bookmark_copy_taken_,
          [bookmarks] { return bookmarks->IsModified(); },
          [bookmarks] { return bookmarks->EditCycle()->IsRunning(); },
          [bookmarks] { return bookmarks->SaveAndReport(); },
          [bookmarks] { return bookmarks->ListFileBytes(); },
          [bookmarks](const std::string& bytes) { return bookmarks->LoadUnsavedCopy(bytes); }};
}

void TFormMain::WireUnsavedCopies() {
  // Saved (or reloaded from the file): the copy has nothing left to offer.
  connect(codes_.get(), &CodeListController::ModifiedChanged, this, [this](bool modified) {
    if (!modified) DropUnsavedCopy(ListForClose(ListKind::kCodes));
  });
  connect(bookmarks_.get(), &BookmarkListController::ModifiedChanged, this, [this](bool modified) {
    if (!modified) DropUnsavedCopy(ListForClose(ListKind::kBookmarks));
  });
}

void TFormMain::OfferUnsavedCopies() {
  for (ListKind kind : {ListKind::kCodes, ListKind::kBookmarks}) {
    const ListAtClose list = ListForClose(kind);
    const std::string path = list.CopyPath();
    // A copy whose writing was cut short sits under the replace name.
    RecoverListFile(path);
    const FileReadResult copy = ReadFile(path);
    if (copy.status != ReadStatus::kRead) continue;
    const QString text = QString(
                             "前回の終了時に保存されなかった%1が残っています。\n%2\n\n読み込みますか？\n\n"
                             "はい: 読み込みます (保存するまで未保存の変更として扱います)。\n"
                             "いいえ: このファイルを削除し、%3 の内容を使います。")
                             .arg(list.name, QFile::decodeName(QByteArray::fromStdString(path)), list.file);
    // Closing the box loads it: nothing is deleted without a word.
    if (AskYesNo(this, "確認", text, QuestionPlace(this), QMessageBox::Yes) == QMessageBox::Yes) {
      PostReportNotes(this, list.load_copy(copy.bytes));
      *list.copy_taken = true;
    } else {
      std::remove(path.c_str());
    }
  }
}

void TFormMain::KeepUnsavedCopy(const ListAtClose& list) {
  int error = 0;
  if (ReplaceFileContents(list.CopyPath(), list.bytes(), &error)) return;
  ShowError(ReportText({list.file_kind, FileStep::kCopyFailed, list.CopyPath(), error}));
}

void TFormMain::DropUnsavedCopy(const ListAtClose& list) {
  if (!*list.copy_taken) return;
  *list.copy_taken = false;
  std::remove(list.CopyPath().c_str());
}

bool TFormMain::ListUnderEditor() const {
  return codes_->EditCycle()->IsRunning() || bookmarks_->EditCycle()->IsRunning();
}

bool TFormMain::CloseList(const ListAtClose& list) {
  // While its editor runs the file is the editor's: what this window holds
  // never goes over what the user saves there.
  if (list.under_editor() || !list.modified()) return true;
  if (!options_.AutoSave) {
    if (unattended_) {
      KeepUnsavedCopy(list);
      return true;
    }
    const int answer = AskYesNoCancel(list.name + "を保存しますか？");
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::No) {
      DropUnsavedCopy(list);
      return true;
    }
  }
  if (list.save()) return true;
  if (unattended_) {
    KeepUnsavedCopy(list);
    return true;
  }
  // The error has been shown; the user may still leave without this list
  // rather than be kept in a window that can never close.
  if (AskYesNo(this, "確認", list.name + "は保存されていません。\n保存せずに終了しますか？", QuestionPlace(this)) !=
      QMessageBox::Yes) {
    return false;
  }
  DropUnsavedCopy(list);
  return true;
}

bool TFormMain::FormCloseQuery() {
  const ListAtClose lists[] = {ListForClose(ListKind::kCodes), ListForClose(ListKind::kBookmarks)};
  if (!unattended_) {
    QStringList edited;
    for (const ListAtClose& list : lists) {
      if (list.under_editor()) edited << list.name;
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
  for (const ListAtClose& list : lists) {
    if (!CloseList(list)) return false;
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
    window.Expand = codes_->LoadFailed() ? expand_as_read_ : codes_->ExpandStateText();
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

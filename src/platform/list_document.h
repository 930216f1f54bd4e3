#pragma once
// One of the two user lists as a document: its file, the modified mark,
// the external editor's cycle, the copy of unsaved changes kept beside the
// file (`<list>.unsaved`) and the close's question. What differs between
// the lists (their model, their view, their dialog) stays with the list's
// controller, which the document asks for the list's bytes and to take
// bytes as the list.
#include <QObject>
#include <QString>
#include <chrono>
#include <string>
#include <string_view>

#include "core/files/file_report.h"
#include "platform/list_edit_cycle.h"
#include "platform/list_file.h"

class QAction;
class QMenu;
class QTimer;
class QWidget;

namespace sorvi {

struct AppOptions;

// What a document asks of its list.
class ListDocumentOwner {
 public:
  // The list as the list file holds it.
  virtual std::string ListFileBytes() const = 0;
  // Replaces the list with what list file `bytes` hold (empty: no list) and
  // shows it; notes in `report` the lines it could not keep as they were.
  virtual void LoadListBytes(std::string_view bytes, FileReport* report) = 0;

 protected:
  ~ListDocumentOwner() = default;
};

// The items both lists' menus end with.
struct ListMenuItems {
  QAction* edit = nullptr;    // "編集"
  QAction* copy = nullptr;    // "複製"
  QAction* del = nullptr;     // "削除"
  QAction* add = nullptr;     // "追加"
  QAction* editor = nullptr;  // "エディタ": the external editor, wired here
  QAction* save = nullptr;    // "保存": enabled while modified, wired here
};

class ListDocument : public QObject, private ListEditCycleOwner {
  Q_OBJECT
 public:
  // Whether loading the file clears the modified mark (the code list's) or
  // leaves it as it was (the bookmark list's).
  enum class LoadMark { kCleared, kKept };
  // Unsaved changes are copied beside the file at most this long after an
  // edit, and not more often.
  static constexpr std::chrono::milliseconds kCopyDelay{30000};

  // `name` is the list's as questions say it ("銘柄一覧"); `options` (the
  // window's, read when used) name the editor and say whether the close
  // saves without asking; `window` parents the boxes and is disabled while
  // the editor runs.
  ListDocument(ListDocumentOwner& owner, DataFile kind, const QString& path, QString name, LoadMark load_mark,
               const AppOptions& options, QWidget* window, QObject* parent);

  const QString& Path() const { return file_.Path(); }
  const QString& Name() const { return name_; }
  // Appends 編集, 複製, 削除, 追加, エディタ and 保存 to `menu`, named
  // `prefix` + Edit, Copy, Del, Add, Editor, Save; wires the last two.
  ListMenuItems AddMenuItems(QMenu* menu, const char* prefix);

  // Loads the list file. A missing file leaves the list as it was; one that
  // exists but cannot be read leaves the list empty and is then never saved
  // over. The report says so, or what of the text was left out.
  FileReport Load();
  // Shows a list kept from an earlier run (bytes of the list file's form)
  // as this list's unsaved changes: marked modified, the file untouched.
  FileReport LoadUnsavedCopy(const std::string& bytes);
  // Writes the list to its file; a failure keeps the list marked modified
  // and the file as it was.
  FileReport Save();
  // Save, with a failure shown to the user; returns whether it saved.
  bool SaveAndReport() override;
  // The file exists but could not be read.
  bool LoadFailed() const { return file_.LoadFailed(); }

  bool IsModified() const override { return modified_; }
  // True for every edit (each one counts for the copy of the changes).
  void SetModified(bool modified);

  // "エディタ": runs the external editor on the file and loads it once the
  // editor is done (asynchronously, see ListEditCycle).
  void OpenEditor();
  ListEditCycle* EditCycle() const { return cycle_; }
  // While the editor has the file, what is shown is never saved over it.
  bool UnderEditor() const { return cycle_->IsRunning(); }

  // ---- the copy of unsaved changes ----
  std::string CopyPath() const;
  // A copy left by an earlier run is offered: loaded as unsaved changes, or
  // deleted.
  void OfferUnsavedCopy();
  // The close's part for this list: saves it, asks about it, or, with
  // nobody to ask (`unattended`), keeps its changes as the copy. False
  // keeps the window open. A list under the editor is left to the editor.
  bool CloseQuery(bool unattended);
  // For the window's idle step: writes the copy once the delay after an
  // edit has passed. Never inside a nested event loop.
  void WriteCopyIfDue();
  void SetCopyDelay(std::chrono::milliseconds delay);

 signals:
  // The list got unsaved changes, or has none any more (saved, reloaded).
  void ModifiedChanged(bool modified);

 private:
  FileReport LoadBytes(const std::string& bytes);
  // Starts the copy's delay unless it runs or the copy is due already.
  void CopyLater();
  FileReport WriteCopy();
  // WriteCopy, with a failure shown to the user.
  void KeepCopy();
  void DropCopy();

  // ListEditCycleOwner
  int AskBeforeEditor(const QString& text) override;
  void ReloadAfterEditor() override;
  void ShowEditorError(const QString& message) override;

  ListDocumentOwner& owner_;
  ListFile file_;
  QString name_;
  LoadMark load_mark_;
  const AppOptions& options_;
  QWidget* window_;
  bool modified_ = false;
  ListEditCycle* cycle_;
  QTimer* copy_timer_;
  bool copy_due_ = false;
  // The copy beside the file is ours to delete: written by this run, or
  // taken over from an earlier one.
  bool copy_kept_ = false;
};

}  // namespace sorvi

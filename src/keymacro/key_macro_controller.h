#pragma once
// Plays key macros into the active page and makes navigation keys and the
// clipboard shortcuts reach it.
#include <QObject>
#include <QPointer>
#include <string>

// The one header of the tabs that the key macros know: what they ask of the
// active page.
#include "tabs/active_page_host.h"

class QEvent;

namespace sorvi {

struct AppOptions;
class StockSelection;

class KeyMacroController : public QObject {
  Q_OBJECT
 public:
  // Installs the application-wide key filter. Plays go into `pages`'
  // active one; `selection` is the code tree's; `options` are the window's,
  // read at each play; `window` is the main window.
  KeyMacroController(ActivePageHost& pages, const StockSelection& selection, const AppOptions& options,
                     QWidget* window);
  ~KeyMacroController() override;

  // Plays `macro` (Shift-JIS) synchronously into the widget with the
  // keyboard focus. A clipboard that cannot be used ends the play with an
  // error box; the program goes on.
  void PlayKeyMacro(const std::string& macro);

  // A page load ended at the address the key macro of `page` (a tab)
  // waited for: the macro is played at the next idle moment, and until then
  // the user cannot leave the tab.
  void HandOver(QWidget* page, const std::string& macro);
  bool HasHandOver() const { return !macro_text_.empty(); }

  // The idle step's hand-over: plays the macro a finished page load left
  // for the active tab, drops it for any other tab; the slot is empty after.
  void IdleMacroStep();

  // Raises and activates the main window; never while a modal dialog is
  // open (it would come up over the dialog).
  void ForceForeground();

  // True while a play runs (the idle moment waits for its end).
  bool Playing() const { return plays_ > 0; }
  // Ends every running play before its next token or wait slice, with
  // `note` for the status bar. Esc in the window, closing the window and
  // closing the play's tab do this.
  void CancelPlay(const QString& note);

 signals:
  // A short text for the status bar: a play was cancelled or abandoned.
  void StatusNote(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Play;
  // The key filter proper: true when `event` for `receiver` was taken here.
  bool ApplicationEventsMessage(QObject* receiver, QEvent* event);
  void ShowError(const QString& text);
  // Esc cancels a play.
  bool WatchForCancel(QObject* receiver, QEvent* event);

  ActivePageHost& pages_;
  const StockSelection& selection_;
  const AppOptions& options_;
  QWidget* window_;
  // `MacroTab`, `MacroText`: the hand-over slot.
  QPointer<QWidget> macro_tab_;
  std::string macro_text_;
  // Plays running (one inside another through their event processing),
  // and whether they are to stop.
  int plays_ = 0;
  bool cancel_ = false;
  // A key event this filter is delivering itself passes through untouched.
  const QEvent* delivering_ = nullptr;
};

}  // namespace sorvi

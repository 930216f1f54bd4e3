#pragma once
// Plays key macros into the active page and makes navigation keys and the
// clipboard shortcuts reach it.
#include <QObject>
#include <string>

class QEvent;

namespace sorvi {

class TFormMain;

class KeyMacroController : public QObject {
  Q_OBJECT
 public:
  // Installs the application-wide key filter.
  explicit KeyMacroController(TFormMain& form);
  ~KeyMacroController() override;

  // Plays `macro` (Shift-JIS) synchronously into the widget with the
  // keyboard focus. A clipboard that cannot be used ends the play with an
  // error box; the program goes on.
  void PlayKeyMacro(const std::string& macro);

  // The idle step's hand-over: plays the macro a finished page load left
  // for the active tab, drops it for any other tab; the slot is empty after.
  void IdleMacroStep();

  // Raises and activates the main window.
  void ForceForeground();

  // The key filter proper: true when `event` for `receiver` was taken here.
  bool ApplicationEventsMessage(QObject* receiver, QEvent* event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TFormMain& form_;
  // A key event this filter is delivering itself passes through untouched.
  const QEvent* delivering_ = nullptr;
};

}  // namespace sorvi

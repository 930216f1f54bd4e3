#pragma once
// Plays key macros into the active page and forwards keys into it.
#include <QObject>

namespace sorvi {

class TFormMain;

class KeyMacroController : public QObject {
  Q_OBJECT
 public:
  explicit KeyMacroController(TFormMain& form);

  // The idle step's hand-over: plays the macro a finished page load left.
  void IdleMacroStep();

 private:
  TFormMain& form_;
};

}  // namespace sorvi

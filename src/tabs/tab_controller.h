#pragma once
// The tabs: opening pages from the address box, closing tabs, the toolbar
// following the active tab, and the idle steps of tab handling.
#include <QObject>
#include <string>

namespace sorvi {

class TFormMain;

class TabController : public QObject {
  Q_OBJECT
 public:
  explicit TabController(TFormMain& form);
  ~TabController() override;

  // One-shot values for the next `ToolButtonNavigateClick` (Shift-JIS).
  std::string PendingCaption;
  std::string PendingKeyMacro;

  void ToolButtonNavigateClick(QObject* sender);
  void PopupMenuTabPopup();
  void IdleSteps();

 private:
  TFormMain& form_;
};

}  // namespace sorvi

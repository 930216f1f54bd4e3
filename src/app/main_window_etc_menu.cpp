// The items of the "メニュー" button that belong to the window itself: the
// options dialog, the Internet settings, the help page and the about box.
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <optional>
#include <vector>

#include "app/main_window.h"
#include "codes/stock_marks_feed.h"
#include "core/help/help_tab.h"
#include "core/settings/internet_settings.h"
#include "core/settings/option_rules.h"
#include "core/settings/settings_file.h"
#include "dialogs/about_dialog.h"
#include "dialogs/internet_dialog.h"
#include "dialogs/option_dialog.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "platform/web_engine_internet.h"
#include "tabs/address_box.h"
#include "tabs/browser_tab.h"
#include "tabs/open_request.h"
#include "tabs/tab_controller.h"

namespace sorvi {

namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace

void TFormMain::WireEtcMenu() {
  connect(etc_items_.option, &QAction::triggered, this, &TFormMain::PopupMenuEtcOptionClick);
  connect(etc_items_.internet, &QAction::triggered, this, &TFormMain::PopupMenuNetOptionClick);
  connect(etc_items_.help, &QAction::triggered, this,
          [this] { PopupMenuEtcHelpClick(QGuiApplication::keyboardModifiers()); });
  connect(etc_items_.about, &QAction::triggered, this, &TFormMain::PopupMenuEtcAboutClick);
}

void TFormMain::PopupMenuEtcOptionClick() {
  const std::optional<OptionDialogResult> result = TFormOption::Run(
      options_,
      [this](const OptionDialogResult& confirmed) {
        StoreOptionDialogResult(*settings_, confirmed);
        return settings_->Commit();
      },
      this);
  if (!result) return;
  // The tabs and the macro player read these at each use, so later tabs take
  // Client, Silent and FocusLock from here on; open tabs keep their own.
  SetOptions(result->options);
  if (result->mark_stocks_changed) marks_feed_->SetEnabled(options_.MarkStocks);
  if (!result->link_target_changed) return;
  // Also after a refused write: the new value is in effect for this run, and
  // open tabs that kept the old one would behave unlike the tabs opened next.
  // A tab whose page waits takes the value when it loads.
  for (int i = 0; i < tabs_->Count(); ++i) {
    if (WebBrowser* browser = tabs_->TabAt(i)->Browser()) browser->SetRegisterAsBrowser(options_.LinkTarget);
  }
}

void TFormMain::PopupMenuNetOptionClick() {
  TFormInternet dialog(
      CurrentInternetSettings(),
      [this](const InternetSettings& confirmed) {
        WriteInternetSettings(*settings_, confirmed);
        return settings_->Commit();
      },
      this);
  dialog.exec();
}

void TFormMain::PopupMenuEtcHelpClick(Qt::KeyboardModifiers modifiers) {
  std::vector<TabIdentity> open;
  for (int i = 0; i < tabs_->Count(); ++i) {
    const WebBrowser* browser = tabs_->TabAt(i)->Browser();
    open.push_back({tabs_->Caption(i).toStdString(), browser ? browser->LocationURL().toStdString() : std::string()});
  }
  const int found = FindHelpTab(open);
  if (found >= 0) {
    tabs_->SwitchTo(found, this);
    return;
  }
  // Opened like a path typed into the address box: it enters the history,
  // and a directory name that Shift-JIS cannot hold still loads.
  const QString path = data_dir_ + FromUtf8(kHelpFileName);
  OpenRequest request;
  request.typed = path;
  request.caption = QStringToSjis(FromUtf8(kHelpCaption));
  request.shift = modifiers.testFlag(Qt::ShiftModifier);
  OpenPage(request);
}

void TFormMain::PopupMenuEtcAboutClick() {
  TFormAbout about(this);
  about.exec();
}

}  // namespace sorvi

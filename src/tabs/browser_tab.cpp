#include "tabs/browser_tab.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPalette>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/tabs/tab_title.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"

namespace sorvi {

namespace {

// The caption for a page title; titles the rule leaves whole keep every
// character, also those code page 932 cannot hold.
QString CaptionFromTitle(const QString& title) {
  const std::string bytes = QStringToSjis(title);
  const std::string caption = TabCaptionFromTitle(bytes);
  return caption == bytes ? title : SjisToQString(caption);
}

QScrollArea* MakeScrollBox(QWidget* tab) {
  auto* layout = new QVBoxLayout(tab);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* box = new QScrollArea(tab);
  box->setObjectName(QStringLiteral("ScrollBox"));
  box->setBackgroundRole(QPalette::Window);
  box->viewport()->setBackgroundRole(QPalette::Window);
  box->viewport()->setAutoFillBackground(true);
  layout->addWidget(box);
  return box;
}

}  // namespace

BrowserTab::BrowserTab(WebBrowser* browser, bool fill, QWidget* parent) : QWidget(parent), browser_(browser) {
  if (!browser) return;
  if (fill) {
    browser->setParent(this);
    browser->SetFillsParent(true);
  } else {
    scroll_box_ = MakeScrollBox(this);
    const QSize size = browser->size();
    scroll_box_->setWidget(browser);
    browser->resize(size);
  }
  browser->show();
  Wire(browser);
}

BrowserTab::~BrowserTab() {
  if (browser_) {
    browser_->DisconnectAll();
    delete browser_;
  }
}

WebBrowser* BrowserTab::TakeOver(WebBrowser* popup) {
  WebBrowser* old = browser_;
  if (old) Unwire(old);
  if (!scroll_box_) {
    popup->setParent(this);
    popup->SetFillsParent(true);
    if (old) old->hide();
  } else {
    const QSize size = old ? old->size() : popup->size();
    scroll_box_->takeWidget();
    if (old) {
      old->setParent(this);
      old->hide();
    }
    scroll_box_->setWidget(popup);
    popup->resize(size);
  }
  popup->show();
  popup->raise();
  browser_ = popup;
  // The new browser has no history yet; the engine reports only changes.
  can_go_back_ = can_go_forward_ = false;
  popup->SetZoomFactor(zoom_);
  Wire(popup);
  emit HistoryChanged(this);
  return old;
}

WebBrowser* BrowserTab::ReleaseBrowser(QWidget* keeper) {
  WebBrowser* browser = std::exchange(browser_, nullptr);
  if (!browser) return nullptr;
  Unwire(browser);
  browser->hide();
  browser->SetFillsParent(false);
  browser->setParent(keeper);
  return browser;
}

void BrowserTab::SetWaitingPage(std::string address, bool silent) {
  waiting_address_ = std::move(address);
  waiting_silent_ = silent;
}

void BrowserTab::Sleep(std::string address) {
  WebBrowser* browser = std::exchange(browser_, nullptr);
  if (!browser) return;
  waiting_history_ = browser->SaveHistory();
  waiting_silent_ = browser->Silent();
  waiting_address_ = std::move(address);
  browser->DisconnectAll();
  // Not in a scroll box any more: a woken page fills the tab.
  delete browser;
  delete std::exchange(scroll_box_, nullptr);
  delete layout();
}

std::string BrowserTab::Wake(WebBrowser* browser, QByteArray* history) {
  browser_ = browser;
  reloading_ = history != nullptr;
  if (history) *history = std::exchange(waiting_history_, QByteArray());
  waiting_history_.clear();
  browser->setParent(this);
  browser->SetFillsParent(true);
  browser->SetSilent(waiting_silent_);
  browser->SetZoomFactor(zoom_);
  browser->show();
  Wire(browser);
  return std::exchange(waiting_address_, std::string());
}

void BrowserTab::FillClient() {
  if (scroll_box_) scroll_box_->setWidgetResizable(true);
  browser_->SetFillsParent(true);
}

void BrowserTab::SetFixedCaption(const std::string& caption) {
  fixed_caption_ = !caption.empty();
  emit CaptionChanged(this, FixedCaptionText(caption));
}

QString BrowserTab::FixedCaptionText(const std::string& caption) {
  return caption.empty() ? QStringLiteral("Loading...") : SjisToQString(caption);
}

void BrowserTab::SetLoadKeyMacro(std::string macro, QString address) {
  load_key_macro_ = std::move(macro);
  load_key_macro_address_ = std::move(address);
}

std::string BrowserTab::TakeLoadKeyMacro(const QString& location) {
  if (load_key_macro_.empty() || location != load_key_macro_address_) return {};
  return std::exchange(load_key_macro_, std::string());
}

void BrowserTab::Wire(WebBrowser* b) {
  // Direct: the tab follows its page while the engine's call is under way.
  const auto direct = Qt::DirectConnection;
  const auto on_title = [this](WebBrowser*, const QString& t) { OnTitle(t); };
  connect(b, &WebBrowser::TitleChange, this, on_title, direct);
  connect(
      b, &WebBrowser::StatusTextChange, this,
      [this](WebBrowser*, const QString& text) { emit StatusTextChanged(this, text); }, direct);
  connect(
      b, &WebBrowser::ProgressChange, this,
      [this](WebBrowser*, int progress, int max) { emit ProgressChanged(this, progress, max); }, direct);
  connect(
      b, &WebBrowser::CommandStateChange, this,
      [this](WebBrowser*, int command, bool enable) { OnCommandState(command, enable); }, direct);
  const auto on_begin = [this](WebBrowser*) { emit LoadStarted(this); };
  const auto on_complete = [this](WebBrowser*) { OnLoadFinished(); };
  connect(b, &WebBrowser::DownloadBegin, this, on_begin, direct);
  connect(b, &WebBrowser::DownloadComplete, this, on_complete, direct);
  // The tab closes at the next idle moment, not inside the page's call.
  const auto on_closing = [this](WebBrowser*) { emit CloseRequested(this); };
  const auto on_pressed = [this](WebBrowser*) { emit PagePressed(this); };
  connect(b, &WebBrowser::WindowClosing, this, on_closing, direct);
  connect(b, &WebBrowser::PageMousePressed, this, on_pressed, direct);
  connect(
      b, &WebBrowser::DownloadAsked, this, [this](WebBrowser*, bool accepted) { emit DownloadAsked(this, accepted); },
      direct);
  connect(
      b, &WebBrowser::DownloadProgress, this,
      [this](WebBrowser*, const QString& path, qint64 received, qint64 total) {
        emit DownloadProgress(this, path, received, total);
      },
      direct);
  connect(
      b, &WebBrowser::DownloadFinished, this,
      [this](WebBrowser*, const QString& path, bool ok, const QString& message) {
        emit DownloadFinished(this, path, ok, message);
      },
      direct);
  connect(
      b, &WebBrowser::FullScreenRequested, this, [this](WebBrowser*, bool on) { emit FullScreenRequested(this, on); },
      direct);
}

void BrowserTab::SetWatch(StockWatch watch) {
  if (watch == watch_) return;
  watch_ = std::move(watch);
  appearances_.Forget();
}

void BrowserTab::SetZoomFactor(double factor) {
  if (browser_) {
    browser_->SetZoomFactor(factor);
    zoom_ = browser_->ZoomFactor();  // within the engine's limits
  } else {
    zoom_ = factor;
  }
}

void BrowserTab::Unwire(WebBrowser* b) { disconnect(b, nullptr, this, nullptr); }

void BrowserTab::OnTitle(const QString& title) {
  if (!fixed_caption_) emit CaptionChanged(this, CaptionFromTitle(title));
}

void BrowserTab::OnCommandState(int command, bool enable) {
  switch (command) {
    case WebBrowser::kCommandAll: emit BusyChanged(this, browser_->Busy()); break;
    case WebBrowser::kCommandForward:
      can_go_forward_ = enable;
      emit HistoryChanged(this);
      break;
    case WebBrowser::kCommandBack:
      can_go_back_ = enable;
      emit HistoryChanged(this);
      break;
    default: break;
  }
}

void BrowserTab::OnLoadFinished() {
  if (std::exchange(reloading_, false)) {
    emit StatusTextChanged(this, QString());
    // A fresh page has no name: give it the one it had before it slept, so
    // that links aimed at it still find it.
    if (!frame_name_.empty() && browser_->RegisterAsBrowser()) {
      const QString name =
          QString::fromUtf8(QJsonDocument(QJsonArray{SjisToQString(frame_name_)}).toJson(QJsonDocument::Compact));
      browser_->RunJavaScript(QStringLiteral("window.name = %1[0];").arg(name));
    }
  } else {
    // The engine names no target window, so the page's own name is what
    // later links and pop-ups aimed at it will use.
    ReadFrameName();
  }
  emit LoadFinished(this);
}

void BrowserTab::ReadFrameName() {
  QPointer<BrowserTab> self(this);
  WebBrowser* browser = browser_;
  browser->RunJavaScript(QStringLiteral("window.name"), [self, browser](const QVariant& name) {
    // The browser may have left this tab since (a takeover).
    if (self && self->browser_ == browser) self->frame_name_ = QStringToSjis(name.toString());
  });
}

}  // namespace sorvi

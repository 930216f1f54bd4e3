#include "dialogs/internet_dialog.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "platform/confirm_box.h"
#include "platform/japanese_locale.h"
#include "platform/report_text.h"
#include "platform/web_engine_internet.h"

namespace sorvi {

TFormInternet::TFormInternet(const InternetSettings& current, InternetSettingsStore store, QWidget* parent)
    : QDialog(parent), store_(std::move(store)), settings_(current) {
  setWindowTitle("インターネット設定");
  setObjectName("FormInternet");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  auto* proxy_group = new QGroupBox("プロキシ", this);
  proxy_system_radio_ = new QRadioButton("システムの設定を使う", proxy_group);
  proxy_system_radio_->setObjectName("RadioProxySystem");
  proxy_none_radio_ = new QRadioButton("使わない(直接接続)", proxy_group);
  proxy_none_radio_->setObjectName("RadioProxyNone");
  proxy_manual_radio_ = new QRadioButton("指定する  ホスト:ポート", proxy_group);
  proxy_manual_radio_->setObjectName("RadioProxyManual");
  proxy_edit_ = new QLineEdit(proxy_group);
  proxy_edit_->setObjectName("EditProxy");
  proxy_edit_->setPlaceholderText("proxy.example.jp:8080");
  auto* proxy_layout = new QGridLayout(proxy_group);
  proxy_layout->addWidget(proxy_system_radio_, 0, 0, 1, 2);
  proxy_layout->addWidget(proxy_none_radio_, 1, 0, 1, 2);
  proxy_layout->addWidget(proxy_manual_radio_, 2, 0);
  proxy_layout->addWidget(proxy_edit_, 2, 1);

  auto* language_group = new QGroupBox("サイトに送る言語", this);
  languages_edit_ = new QLineEdit(language_group);
  languages_edit_->setObjectName("EditLanguages");
  languages_edit_->setPlaceholderText("ja,en-US");
  // What an empty field sends, as sites see it (without the weights).
  const QString default_tags = QString::fromLatin1(kAcceptLanguage).remove(QRegularExpression(";q=[0-9.]*"));
  auto* language_hint = new QLabel(
      QString("優先する順にカンマで区切って入力します。空欄なら「%1」(日本語を優先) を送ります。").arg(default_tags),
      language_group);
  language_hint->setObjectName("LabelLanguageHint");
  language_hint->setWordWrap(true);
  auto* language_layout = new QVBoxLayout(language_group);
  language_layout->addWidget(languages_edit_);
  language_layout->addWidget(language_hint);

  auto* data_group = new QGroupBox("閲覧データ", this);
  clear_button_ = new QPushButton("Cookie・キャッシュ・サイトデータを削除...", data_group);
  clear_button_->setObjectName("ButtonClear");
  clear_button_->setAutoDefault(false);
  auto* data_layout = new QHBoxLayout(data_group);
  data_layout->addWidget(clear_button_);
  data_layout->addStretch();

  ok_button_ = new QPushButton("OK", this);
  ok_button_->setObjectName("ButtonOk");
  ok_button_->setDefault(true);
  cancel_button_ = new QPushButton("キャンセル", this);
  cancel_button_->setObjectName("ButtonCancel");
  cancel_button_->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_button_);
  buttons->addWidget(cancel_button_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(proxy_group);
  layout->addWidget(language_group);
  layout->addWidget(data_group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setMinimumWidth(380);

  switch (current.proxy) {
    case ProxyMode::kSystem: proxy_system_radio_->setChecked(true); break;
    case ProxyMode::kNone: proxy_none_radio_->setChecked(true); break;
    case ProxyMode::kManual: proxy_manual_radio_->setChecked(true); break;
  }
  if (!current.proxy_host.empty())
    proxy_edit_->setText(QString::fromStdString(FormatHostPort({current.proxy_host, current.proxy_port})));
  languages_edit_->setText(QString::fromStdString(current.languages));
  UpdateEnabled();

  connect(proxy_manual_radio_, &QRadioButton::toggled, this, &TFormInternet::UpdateEnabled);
  connect(clear_button_, &QPushButton::clicked, this, &TFormInternet::ButtonClearClick);
  connect(ok_button_, &QPushButton::clicked, this, &TFormInternet::ButtonOkClick);
  connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormInternet::UpdateEnabled() { proxy_edit_->setEnabled(proxy_manual_radio_->isChecked()); }

void TFormInternet::ButtonClearClick() {
  const int answer = AskYesNoCancel(this, "確認",
                                    "Cookie、キャッシュ、サイトデータをすべて削除しますか？\n"
                                    "ログインしているサイトからはログアウトされます。",
                                    QPoint(-1, -1));
  if (answer != QMessageBox::Yes) return;
  if (ClearProgramBrowsingData()) {
    ShowMessageBox(this, QMessageBox::Information, "削除しました。");
  } else {
    ShowMessageBox(this, QMessageBox::Information,
                   "Cookieとキャッシュを削除しました。\n"
                   "サイトが保存したその他のデータは次回の起動時に削除されます。");
  }
}

void TFormInternet::ButtonOkClick() {
  InternetSettings next;
  if (proxy_none_radio_->isChecked()) next.proxy = ProxyMode::kNone;
  if (proxy_manual_radio_->isChecked()) {
    const auto host_port = ParseHostPort(proxy_edit_->text().toStdString());
    if (!host_port) {
      ShowMessageBox(this, QMessageBox::Warning, "プロキシは「ホスト名:ポート番号」の形で入力してください。");
      proxy_edit_->setFocus();
      return;
    }
    next.proxy = ProxyMode::kManual;
    next.proxy_host = host_port->host;
    next.proxy_port = host_port->port;
  }
  const auto languages = NormalizeLanguages(languages_edit_->text().toStdString());
  if (!languages) {
    ShowMessageBox(this, QMessageBox::Warning,
                   "言語は「ja,en-US」のように言語コードをカンマで区切って入力してください。");
    languages_edit_->setFocus();
    return;
  }
  next.languages = *languages;

  settings_ = next;
  UseInternetSettings(settings_);
  // In effect for this run even when the write was refused.
  if (const FileReport report = store_(settings_); report.Failed()) ShowErrorBox(this, ReportText(report));
  accept();
}

}  // namespace sorvi

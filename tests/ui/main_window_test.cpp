// The main window as a user meets it: first start, saved geometry, the
// address history, and closing with and without unsaved lists.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QScopeGuard>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <csignal>
#include <memory>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "keymacro/key_macro_registries.h"
#include "keymacro/registry_window.h"
#include "platform/terminate_signals.h"
#include "support/dialog_driver.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/window_options.h"
#include "tabs/tab_stack.h"

using namespace sorvi;
using sorvi::testing::ChangeOptions;
using sorvi::testing::DialogDriver;
using sorvi::testing::Find;
using sorvi::testing::ScratchDir;
using sorvi::testing::WaitUntil;
using sorvi::testing::WindowInternals;

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void firstStartUsesTheDefaults();
  void everyMenuItemIsThere();
  void damagedWindowValuesGiveAUsableWindow();
  void maximizedStateRestoresAndKeepsNormalBounds();
  void urlHistorySkipsMissingEntriesWhenWritten();
  void splitterLeavesRoomOnTheRight();
  void cancelAtTheFirstQuestionKeepsTheWindowOpen();
  void answersDecideWhichListsAreSaved();
  void autoSaveSavesOnlyModifiedListsWithoutAsking();
  void settingsAtCloseLandOnlyInTheDataFolder();
  void failedSaveAtCloseOffersToLeaveWithoutIt();
  void unreadableFilesAreNeverWrittenOver();
  void openRegistryWindowKeepsItsSizeWhenTheProgramCloses();
  void terminateSignalClosesWithoutWaitingForAnAnswer();
  void keptCopiesAreOfferedAtTheNextStart();
  void editsAreCopiedForACrashUntilSavedOrDeclined();
  void copyThatCannotBeKeptIsReported();
};

void MainWindowTest::firstStartUsesTheDefaults() {
  ScratchDir dir;
  TFormMain form(dir.Path());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));

  QCOMPARE(form.windowTitle(), QString("そるび"));
  QCOMPARE(form.pos(), QPoint(100, 50));
  QCOMPARE(form.size(), QSize(640, 480));
  QCOMPARE(Find<QWidget>(&form, "PanelL")->width(), 250);
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->height(), 140);
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->columnWidth(0), 19);
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->columnWidth(1), 194);
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->columnWidth(2), 0);
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->columnWidth(3), 15);
  QVERIFY(Find<QAction>(&form, "PopupMenuNavigate1")->isChecked());
  QCOMPARE(Find<QToolButton>(&form, "ToolButtonNavigate")->toolTip(), QString("新規"));
  QCOMPARE(Find<QComboBox>(&form, "ComboBoxURL")->count(), 0);
  QCOMPARE(Find<TabStack>(&form, "PageControl")->count(), 0);
  for (QToolButton* button :
       {Find<QToolButton>(&form, "ToolButtonGoBack"), Find<QToolButton>(&form, "ToolButtonGoFoward"),
        Find<QToolButton>(&form, "ToolButtonStop"), Find<QToolButton>(&form, "ToolButtonRefresh"),
        Find<QToolButton>(&form, "ToolButtonClose"), Find<QToolButton>(&form, "ToolButtonPrint"),
        Find<QToolButton>(&form, "SpeedButtonOption"), Find<QToolButton>(&form, "ToolButtonLock")}) {
    QVERIFY2(!button->isEnabled(), qPrintable(button->toolTip()));
  }
  QVERIFY(Find<QToolButton>(&form, "SpeedButtonEtc")->isEnabled());
  QVERIFY(!Find<QAction>(&form, "PopupMenuCodeSave")->isEnabled());
  QVERIFY(!Find<QAction>(&form, "PopupMenuURLSave")->isEnabled());
  // Only "URLを開く" (checked) and its separator until stock-code macros exist.
  QCOMPARE(Find<QMenu>(&form, "PopupMenuCodeGo")->actions().size(), 2);
  QVERIFY(Find<QAction>(&form, "PopupMenuCodeGoURL")->isChecked());
  QVERIFY(Find<QProgressBar>(&form, "ProgressBar")->isHidden());
  QVERIFY(Find<QFrame>(&form, "PanelCover")->isHidden());
}

void MainWindowTest::everyMenuItemIsThere() {
  ScratchDir dir;
  TFormMain form(dir.Path());
  auto captions = [](QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) out << (a->isSeparator() ? QString("-") : a->text());
    return out;
  };
  QCOMPARE(captions(Find<QMenu>(&form, "PopupMenuNavigate")), QStringList({"新規", "上書"}));
  QCOMPARE(captions(Find<QMenu>(&form, "PopupMenuCode")),
           QStringList({"実行", "次の銘柄\tAlt+↓", "前の銘柄\tAlt+↑", "-", "コード コピー", "名称 コピー", "-", "編集",
                        "複製", "削除", "追加", "エディタ", "保存"}));
  QCOMPARE(captions(Find<QMenu>(&form, "PopupMenuURL")),
           QStringList({"実行", "銘柄ごとに開く", "-", "編集", "複製", "削除", "追加", "エディタ", "保存"}));
  QCOMPARE(captions(Find<QMenu>(&form, "PopupMenuEtc")),
           QStringList({"動作環境設定(&O)", "キーマクロ登録(&K)", "-", "インターネット設定(&I)", "-", "ヘルプ(&H)",
                        "バージョン情報(&A)"}));
  QCOMPARE(captions(Find<QMenu>(&form, "PopupMenuEtcKey")), QStringList({"ファンクション(&F)", "銘柄コード(&C)"}));
  QCOMPARE(captions(Find<QMenu>(&form, "PopupMenuTab")),
           QStringList({"自動更新(&U)", "銘柄の出現を知らせる(&W)", "-", "ダイアログ抑止(&S)", "ロック対象解除(&L)",
                        "タブ内全体表示(&C)", "-", "並べて表示(&T)"}));
  QCOMPARE(captions(Find<QMenu>(&form, "PopupMenuTabReload")),
           QStringList({"なし", "15秒", "30秒", "1分", "2分", "5分"}));
  QList<int> tags;
  for (QAction* a : Find<QMenu>(&form, "PopupMenuTabReload")->actions()) tags << a->data().toInt();
  QCOMPARE(tags, QList<int>({0, 1, 2, 4, 8, 20}));
  QVERIFY(Find<QAction>(&form, "PopupMenuTabReload00")->isChecked());
  QCOMPARE(Find<QAction>(&form, "PopupMenuNavigate1")->data().toInt(), 6);
  QCOMPARE(Find<QAction>(&form, "PopupMenuNavigate2")->data().toInt(), 7);
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->headerItem()->text(1), QString("ブックマーク"));
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->headerItem()->text(2), QString("URLマクロ"));
}

// Damaged window values still give a usable window. Found with the
// sanitizers: splitter positions of a damaged file were subtracted from the
// window size unbounded, which overflowed and gave the lists most of it.
void MainWindowTest::damagedWindowValuesGiveAUsableWindow() {
  ScratchDir dir;
  dir.Write("Sorvi.ini",
            "[Window]\r\nWidth=100\r\nHeight=100\r\nTarget=2\r\n"
            "SplitteL=-2147483648\r\nSplitteU=-2147483648\r\n");
  TFormMain form(dir.Path());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(form.size(), QSize(480, 320));
  QVERIFY(Find<QAction>(&form, "PopupMenuNavigate2")->isChecked());
  QCOMPARE(Find<QToolButton>(&form, "ToolButtonNavigate")->toolTip(), QString("上書"));
  const QList<int> lr = Find<QSplitter>(&form, "SplitterLR")->sizes();
  const QList<int> ud = Find<QSplitter>(&form, "SplitterUD")->sizes();
  QVERIFY2(lr[0] < lr[1], qPrintable(QString("left %1, right %2").arg(lr[0]).arg(lr[1])));
  QVERIFY2(ud[0] < ud[1], qPrintable(QString("upper %1, lower %2").arg(ud[0]).arg(ud[1])));
}

void MainWindowTest::maximizedStateRestoresAndKeepsNormalBounds() {
  ScratchDir dir;
  dir.Write("Sorvi.ini", "[Window]\r\nState=2\r\nTop=70\r\nLeft=90\r\nWidth=700\r\nHeight=500\r\n");
  {
    TFormMain form(dir.Path());
    QCOMPARE(form.pos(), QPoint(90, 70));
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_VERIFY(form.isMaximized());
    form.close();
  }
  QCOMPARE(dir.Ini("Window", "State"), QString("2"));
  QCOMPARE(dir.Ini("Window", "Top"), QString("70"));
  QCOMPARE(dir.Ini("Window", "Left"), QString("90"));
  QCOMPARE(dir.Ini("Window", "Width"), QString("700"));
  QCOMPARE(dir.Ini("Window", "Height"), QString("500"));
}

void MainWindowTest::urlHistorySkipsMissingEntriesWhenWritten() {
  ScratchDir dir;
  dir.Write("Sorvi.ini", "[URL]\r\nCount=3\r\n1=http://a.example/\r\n3=http://c.example/\r\n[Other]\r\nKeep=me\r\n");
  {
    TFormMain form(dir.Path());
    QCOMPARE(Find<QComboBox>(&form, "ComboBoxURL")->count(), 3);
    QCOMPARE(Find<QComboBox>(&form, "ComboBoxURL")->itemText(1), QString());
    form.show();
    form.close();
  }
  QCOMPARE(dir.Ini("URL", "Count"), QString("2"));
  QCOMPARE(dir.Ini("URL", "1"), QString("http://a.example/"));
  QCOMPARE(dir.Ini("URL", "2"), QString("http://c.example/"));
  QCOMPARE(dir.Ini("URL", "3"), QString("<missing>"));
  QCOMPARE(dir.Ini("Other", "Keep"), QString("me"));
  QCOMPARE(dir.Ini("Window", "Target"), QString("1"));
  QCOMPARE(dir.Ini("Window", "CLM-1"), QString("194"));
  // The options are written only by the options dialog.
  QCOMPARE(dir.Ini("Option", "AutoSave"), QString("<missing>"));
}

void MainWindowTest::splitterLeavesRoomOnTheRight() {
  ScratchDir dir;
  TFormMain form(dir.Path());
  form.resize(1200, 600);
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QCOMPARE(WindowInternals::AcceptedLeftWidth(form, 300), 300);
  QCOMPARE(WindowInternals::AcceptedLeftWidth(form, form.width() - 275), form.width() - 275);
  QCOMPARE(WindowInternals::AcceptedLeftWidth(form, form.width() - 200), form.width() - 275);
  Find<QSplitter>(&form, "SplitterLR")->setSizes({form.width() - 100, 94});
  emit Find<QSplitter>(&form, "SplitterLR")->splitterMoved(form.width() - 100, 1);
  QCOMPARE(Find<QWidget>(&form, "PanelL")->width(), form.width() - 275);
}

namespace {

void MarkBothListsModified(TFormMain& form) {
  form.Subsystems().codes->Document().SetModified(true);
  form.Subsystems().bookmarks->Document().SetModified(true);
}

}  // namespace

void MainWindowTest::cancelAtTheFirstQuestionKeepsTheWindowOpen() {
  ScratchDir dir;
  dir.Write("Sorvi.ini", "[Option]\r\nAutoSave=0\r\n");
  TFormMain form(dir.Path());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  MarkBothListsModified(form);
  DialogDriver driver({"キャンセル"});
  QVERIFY(!form.close());
  QVERIFY(form.isVisible());
  QCOMPARE(driver.Seen().size(), size_t(1));
  const auto& box = driver.Seen()[0];
  QCOMPARE(box.title, QString("確認"));
  QCOMPARE(box.text, QString("銘柄一覧を保存しますか？"));
  QStringList buttons = box.buttons;
  buttons.sort();
  QStringList expected{"はい(&Y)", "いいえ(&N)", "キャンセル"};
  expected.sort();
  QCOMPARE(buttons, expected);
  const QRect frame = form.frameGeometry();
  QCOMPARE(box.pos, QPoint(frame.left() + frame.width() / 2 - 100, frame.top() + frame.height() / 2 - 50));
  QVERIFY(!dir.Exists("SV_Code.txt"));
  QVERIFY(!dir.Exists("SV_List.txt"));
  QVERIFY(!dir.Exists("Sorvi.ini.___"));
  QVERIFY(form.Subsystems().codes->Document().IsModified());
}

void MainWindowTest::answersDecideWhichListsAreSaved() {
  ScratchDir dir;
  dir.Write("Sorvi.ini", "[Option]\r\nAutoSave=0\r\n");
  TFormMain form(dir.Path());
  form.show();
  MarkBothListsModified(form);
  form.Subsystems().codes->InsertNode(std::nullopt, true, "[A]");
  DialogDriver driver({"いいえ(&N)", "はい(&Y)"});
  QVERIFY(form.close());
  QCOMPARE(driver.Seen().size(), size_t(2));
  QCOMPARE(driver.Seen()[1].text, QString("URL一覧を保存しますか？"));
  QVERIFY(!dir.Exists("SV_Code.txt"));
  QVERIFY(dir.Exists("SV_List.txt"));
  QCOMPARE(dir.Read("SV_List.txt"), QByteArray());
}

void MainWindowTest::autoSaveSavesOnlyModifiedListsWithoutAsking() {
  ScratchDir dir;
  dir.WriteSjisLines("SV_List.txt", {"[株探]", "https://kabutan.jp/stock/?code=%CD%"});
  const QByteArray list_before = dir.Read("SV_List.txt");
  TFormMain form(dir.Path());
  form.show();
  form.Subsystems().codes->InsertNode(std::nullopt, true, testing::Sjis("[自動車]").toStdString());
  DialogDriver driver({});
  QVERIFY(form.close());
  QCOMPARE(driver.Seen().size(), size_t(0));
  QCOMPARE(dir.Read("SV_Code.txt"), testing::Sjis("[自動車]") + "\r\n");
  QCOMPARE(dir.Read("SV_List.txt"), list_before);
  QVERIFY(!dir.Exists("SV_Code.txt.___"));
}

void MainWindowTest::settingsAtCloseLandOnlyInTheDataFolder() {
  // A refused write says why and keeps the old file.
  {
    ScratchDir dir;
    dir.Write("Sorvi.ini", "[Window]\r\nTop=60\r\n");
    // A directory where the new copy of the file would go refuses the write,
    // also for root.
    QVERIFY(QDir(dir.Path()).mkdir("Sorvi.ini.___"));
    TFormMain form(dir.Path());
    form.show();
    DialogDriver driver({"OK"});
    QVERIFY(form.close());
    QCOMPARE(driver.Seen().size(), size_t(1));
    QCOMPARE(driver.Seen()[0].text, dir.File("Sorvi.ini") + " に書き込めません（同じ名前のフォルダがあります）");
    QCOMPARE(dir.Read("Sorvi.ini"), QByteArray("[Window]\r\nTop=60\r\n"));
  }
  // Whatever the temporary directory is, the close writes the settings in
  // the data folder and leaves nothing of them elsewhere.
  const QByteArray tmpdir = qgetenv("TMPDIR");
  const auto restore = qScopeGuard([&] {
    if (tmpdir.isNull())
      qunsetenv("TMPDIR");
    else
      qputenv("TMPDIR", tmpdir);
  });
  for (const char* tmp : {"no-such-tmp", "tmp"}) {
    ScratchDir dir;
    QVERIFY(QDir(dir.Path()).mkdir("tmp"));
    qputenv("TMPDIR", QFile::encodeName(dir.File(tmp)));
    {
      TFormMain form(dir.Path());
      form.show();
      DialogDriver driver({"OK"});
      QVERIFY(form.close());
      QCOMPARE(driver.Seen().size(), size_t(0));
    }
    QVERIFY2(dir.Read("Sorvi.ini").contains("[URL]"), tmp);
    QCOMPARE(QDir(dir.File("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    QVERIFY(!dir.Exists("Sorvi.ini.___"));
    // It holds the address history: nobody else reads it.
    const QFile::Permissions others = QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther;
    QCOMPARE(QFile::permissions(dir.File("Sorvi.ini")) & others, QFile::Permissions());
  }
}

void MainWindowTest::failedSaveAtCloseOffersToLeaveWithoutIt() {
  ScratchDir dir;
  dir.WriteSjisLines("SV_List.txt", {"[株探]", "https://kabutan.jp/stock/?code=%CD%"});
  const QByteArray list_before = dir.Read("SV_List.txt");
  // Bookmarks can't be saved: a directory where their new copy would go.
  QVERIFY(QDir(dir.Path()).mkdir("SV_List.txt.___"));
  TFormMain form(dir.Path());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.Subsystems().codes->InsertNode(std::nullopt, true, "[A]");
  form.Subsystems().bookmarks->Document().SetModified(true);

  // The failure is reported, then the user may stay...
  {
    DialogDriver driver({"OK", "いいえ(&N)"});
    QVERIFY(!form.close());
    QCOMPARE(driver.Seen().size(), size_t(2));
    QVERIFY(driver.Seen()[0].text.contains("URL一覧を保存できませんでした"));
    QVERIFY(driver.Seen()[1].text.contains("保存せずに終了しますか？"));
    QVERIFY(form.isVisible());
    QVERIFY(form.Subsystems().bookmarks->Document().IsModified());
  }
  // ...or leave without that list; the other list and the settings are
  // written all the same.
  {
    DialogDriver driver({"OK", "はい(&Y)"});
    QVERIFY(form.close());
    QCOMPARE(driver.Seen().size(), size_t(2));
  }
  QCOMPARE(dir.Read("SV_Code.txt"), QByteArray("[A]\r\n"));
  QCOMPARE(dir.Read("SV_List.txt"), list_before);
  QVERIFY(dir.Read("Sorvi.ini").contains("[Window]"));
}

void MainWindowTest::unreadableFilesAreNeverWrittenOver() {
  // A settings file that can't be read: defaults, one word at start-up, and
  // the file is left alone at close.
  {
    ScratchDir dir;
    QVERIFY(QDir(dir.Path()).mkdir("Sorvi.ini"));
    DialogDriver driver({"OK", "OK"});
    TFormMain form(dir.Path());
    form.show();
    QVERIFY(WaitUntil([&] { return driver.Seen().size() == 1; }));
    QVERIFY(driver.Seen()[0].text.contains("設定ファイル"));
    QVERIFY(driver.Seen()[0].text.contains(dir.File("Sorvi.ini")));
    QVERIFY(form.close());
    QCOMPARE(driver.Seen().size(), size_t(2));
    QCOMPARE(driver.Seen()[1].text,
             dir.File("Sorvi.ini") + " に書き込めません（読み込めなかったファイルのため上書きしません）");
    QVERIFY(QFileInfo(dir.File("Sorvi.ini")).isDir());
  }
  // A code list that can't be read: the bookmarks still load, and neither
  // the list nor what the settings say of it is written back.
  {
    ScratchDir dir;
    dir.Write("Sorvi.ini", "[Window]\r\nExpand=101\r\nIniDir=/srv/charts\r\n");
    dir.WriteSjisLines("SV_List.txt", {"[株探]", "https://kabutan.jp/stock/?code=%CD%"});
    QVERIFY(QDir(dir.Path()).mkdir("SV_Code.txt"));
    DialogDriver driver({"OK", "OK"});
    TFormMain form(dir.Path());
    form.show();
    QVERIFY(WaitUntil([&] { return driver.Seen().size() == 1; }));
    QVERIFY(driver.Seen()[0].text.contains(dir.File("SV_Code.txt")));
    QCOMPARE(form.Subsystems().bookmarks->Bookmarks().size(), size_t(1));
    form.Subsystems().codes->Document().SetModified(true);
    QVERIFY(!form.Subsystems().codes->Document().SaveAndReport());
    form.Subsystems().codes->Document().SetModified(false);
    QVERIFY(form.close());
    QVERIFY(QFileInfo(dir.File("SV_Code.txt")).isDir());
    const QByteArray ini = dir.Read("Sorvi.ini");
    QVERIFY2(ini.contains("Expand=101\r\n"), ini.constData());
    QVERIFY2(ini.contains("IniDir=/srv/charts\r\n"), ini.constData());
  }
}

void MainWindowTest::openRegistryWindowKeepsItsSizeWhenTheProgramCloses() {
  ScratchDir dir;
  TFormMain form(dir.Path());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  Find<QAction>(&form, "PopupMenuEtcKeyFunc")->trigger();
  QPointer<QWidget> registry = form.Subsystems().key_registries->OpenWindow();
  QVERIFY(registry);
  registry->resize(517, 311);
  QVERIFY(form.close());
  QVERIFY(registry.isNull() || !registry->isVisible());
  const QByteArray ini = dir.Read("Sorvi.ini");
  QVERIFY2(ini.contains("Width=517\r\n"), ini.constData());
  QVERIFY2(ini.contains("Height=311\r\n"), ini.constData());
}

namespace {

// SIGTERM comes 300 ms after `then` starts, from whatever loop runs then (a
// box's own); a person would answer what is still open only after 5 s.
// True when the window closed before anyone answered.
bool ClosedOnSignalUnanswered(TFormMain& form, const std::function<void()>& then) {
  CloseOnTerminateSignals(&form, [&form] { form.CloseUnattended(); });
  std::unique_ptr<DialogDriver> person;
  QTimer signal, person_comes;
  signal.callOnTimeout([] { std::raise(SIGTERM); });
  person_comes.callOnTimeout([&] { person = std::make_unique<DialogDriver>(QStringList()); });
  signal.start(300);
  person_comes.start(5000);
  then();
  return WaitUntil([&] { return !form.isVisible(); }, 8000) && !person;
}

}  // namespace

void MainWindowTest::terminateSignalClosesWithoutWaitingForAnAnswer() {
  // Boxes at start-up (a list of random bytes); an error box with AutoSave
  // on; the close's own question with AutoSave off.
  enum class Open { StartUpBoxes, ErrorBox, CloseQuestion };
  const QByteArray binary("\x93\xfa\x96\x7b\r\n\xff\x00\x01[X]\r\n", 14), edited("[A]\r\n[B]\r\n");
  for (Open open : {Open::StartUpBoxes, Open::ErrorBox, Open::CloseQuestion}) {
    ScratchDir dir;
    dir.Write("Sorvi.ini", open == Open::CloseQuestion ? "[Option]\r\nAutoSave=0\r\n" : "");
    dir.Write("SV_Code.txt", open == Open::StartUpBoxes ? binary : "[A]\r\n");
    dir.WriteSjisLines("SV_List.txt", {"[株探]", "https://kabutan.jp/stock/?code=%CD%"});
    const QByteArray codes = dir.Read("SV_Code.txt"), list = dir.Read("SV_List.txt");
    {
      TFormMain form(dir.Path());
      form.show();
      if (open != Open::StartUpBoxes) {
        form.Subsystems().codes->InsertNode(std::nullopt, true, "[B]");
      }
      QVERIFY(ClosedOnSignalUnanswered(form, [&] {
        if (open == Open::ErrorBox) WindowInternals::ShowError(form, "エラー");
        if (open == Open::CloseQuestion) form.close();
      }));
    }
    QVERIFY(dir.Read("Sorvi.ini").contains("[Window]"));
    QCOMPARE(dir.Read("SV_Code.txt"), open == Open::ErrorBox ? edited : codes);
    QCOMPARE(dir.Read("SV_Code.txt.unsaved"), open == Open::CloseQuestion ? edited : QByteArray());
    QCOMPARE(dir.Read("SV_List.txt"), list);
  }
}

// The copies a close with nobody to ask left are offered at the next start:
// one taken (it goes once saved), one declined (it goes at once).
void MainWindowTest::keptCopiesAreOfferedAtTheNextStart() {
  ScratchDir dir;
  dir.Write("SV_Code.txt", "[A]\r\n");
  dir.Write("SV_Code.txt.unsaved", "[A]\r\n[B]\r\n");
  dir.Write("SV_List.txt.unsaved", "[X]\r\nhttp://x/\r\n");
  DialogDriver driver({"はい(&Y)", "いいえ(&N)"});
  TFormMain form(dir.Path());
  form.show();
  QVERIFY(WaitUntil([&] { return driver.Seen().size() == 2; }));
  QVERIFY(driver.Seen()[0].text.contains(dir.File("SV_Code.txt.unsaved")));
  QVERIFY(form.Subsystems().codes->Document().IsModified() && form.Subsystems().bookmarks->Bookmarks().empty());
  QVERIFY(dir.Exists("SV_Code.txt.unsaved") && !dir.Exists("SV_List.txt.unsaved"));
  QVERIFY(form.Subsystems().codes->Document().SaveAndReport());
  QCOMPARE(dir.Read("SV_Code.txt"), QByteArray("[A]\r\n[B]\r\n"));
  QVERIFY(!dir.Exists("SV_Code.txt.unsaved"));
}

// Edits are copied beside the list a while after they were made, at an idle
// moment (never inside a box's loop), so that a crash loses none of them;
// the copy goes once the list is saved or its changes are declined.
void MainWindowTest::editsAreCopiedForACrashUntilSavedOrDeclined() {
  ScratchDir dir;
  dir.Write("Sorvi.ini", "[Option]\r\nAutoSave=0\r\n");
  dir.Write("SV_Code.txt", "[A]\r\n");
  const QString copy = "SV_Code.txt.unsaved";
  const auto edit = [](TFormMain& form, const char* group) {
    form.Subsystems().codes->Document().SetCopyDelay(std::chrono::milliseconds(200));
    form.Subsystems().codes->InsertNode(std::nullopt, true, group);
  };
  auto form = std::make_unique<TFormMain>(dir.Path());
  form->show();
  edit(*form, "[B]");
  bool copied_in_box = true;
  {
    QMessageBox box(form.get());
    QTimer::singleShot(600, &box, [&] {
      copied_in_box = dir.Exists(copy);
      box.reject();
    });
    box.exec();
  }
  QVERIFY(!copied_in_box);
  QVERIFY(WaitUntil([&] { return dir.Read(copy) == "[A]\r\n[B]\r\n"; }));

  // Killed: the next start offers the copy as after a terminate signal.
  form.reset();
  {
    DialogDriver driver({"はい(&Y)"});
    form = std::make_unique<TFormMain>(dir.Path());
    form->show();
    QVERIFY(WaitUntil([&] { return driver.Seen().size() == 1; }));
    QVERIFY(driver.Seen()[0].text.contains(dir.File(copy)));
  }
  QCOMPARE(form->Subsystems().codes->ListFileBytes(), std::string("[A]\r\n[B]\r\n"));
  QVERIFY(form->Subsystems().codes->Document().IsModified());

  edit(*form, "[C]");
  QVERIFY(WaitUntil([&] { return dir.Read(copy) == "[A]\r\n[B]\r\n[C]\r\n"; }));
  QVERIFY(form->Subsystems().codes->Document().SaveAndReport());
  QVERIFY(!dir.Exists(copy));

  edit(*form, "[D]");
  QVERIFY(WaitUntil([&] { return dir.Exists(copy); }));
  DialogDriver driver({"いいえ(&N)"});
  QVERIFY(form->close());
  QVERIFY(!dir.Exists(copy));
  QCOMPARE(dir.Read("SV_Code.txt"), QByteArray("[A]\r\n[B]\r\n[C]\r\n"));
}

// A close with nobody to ask that cannot keep a list's changes beside its
// file says which list and where.
void MainWindowTest::copyThatCannotBeKeptIsReported() {
  for (const bool codes : {true, false}) {
    ScratchDir dir;
    dir.Write("Sorvi.ini", "[Option]\r\nAutoSave=0\r\n");
    const QString copy = dir.File(codes ? "SV_Code.txt.unsaved" : "SV_List.txt.unsaved");
    QVERIFY(QDir().mkdir(copy));
    DialogDriver driver({"OK"});
    TFormMain form(dir.Path());
    form.show();
    if (codes)
      form.Subsystems().codes->Document().SetModified(true);
    else
      form.Subsystems().bookmarks->Document().SetModified(true);
    form.CloseUnattended();
    QVERIFY(WaitUntil([&] { return !form.isVisible(); }));
    QCOMPARE(driver.Seen().size(), size_t(1));
    QCOMPARE(driver.Seen()[0].text, QString("%1の変更を %2 に残せませんでした。\n(同じ名前のフォルダがあります)")
                                        .arg(codes ? "銘柄一覧" : "URL一覧", copy));
  }
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

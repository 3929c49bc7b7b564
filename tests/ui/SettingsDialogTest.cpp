#include "app/EnvironmentProbes.h"
#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/WindowGeometry.h"
#include "app/platform/QtCommonDialogs.h"
#include "search/PostalLookup.h"
#include "support/CurrentFolder.h"
#include "support/FakePlatform.h"
#include "support/MemorySettingsStore.h"
#include "support/ModalDriver.h"
#include "support/OfficeFixtures.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/main/MainMenus.h"
#include "ui/main/TORUMIN.h"
#include "ui/settings/PathLabel.h"
#include "ui/settings/SETTEI.h"
#include "ui/settings/ToolbarCustomizeDialog.h"
#include "ui/settings/UpDown.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMouseEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <memory>
#include <optional>

using namespace torumin;
using namespace torumin::testing;

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QByteArray record(const char *code, const char *city)
{
    return QByteArray("13101,\"100  \",\"") + code + "\",\"TOKYO\",\"" + city + "\",\"TOWN\",\"T\",\"" + city
        + "\",\"M\",0,0,0,0,0,0\r\n";
}

} // namespace

class TestSettingsDialog final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void opensWithEveryOptionAndOneMessagePerMissingSlot();
    void menuBarOffAppliesAtOnce();
    void positionOnlyMovesWhenCentringOrAtTheCorner();
    void okStoresEveryTabAndSwitchesTheListOnce();
    void applyOnTheListTabThenCancelKeepsTheTable();
    void reloadOfAMissingListKeepsTheTable();
    void colourChoiceShowsAndIsStoredAsDecimal();
    void customisedToolbarSurvivesARestart();
    void initialAndSearchTabs();
    void helpFollowsTheTabAndTheLinkOpensTheDownloadPage();
    void listChooserShowsPlainPatternsAndMatchesAnyCase();
    void toolbarDialogCaptionsLeadToTheirLists();
    void longSlotPathKeepsItsFileNameInView();
    void upDownsShowTheFocus();

private:
    std::unique_ptr<TORUMIN> showMainWindow();
    QString writeList(const QString &name, const QByteArray &bytes);
    UiContext context() { return {*m_state, m_store, m_boxes, m_clipboard, m_help, m_web}; }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::optional<CurrentFolderKept> m_currentFolder;
    std::unique_ptr<Module1> m_state;
    MemorySettingsStore m_store;
    ScriptedMessageBoxes m_boxes;
    FakeClipboard m_clipboard;
    RecordingHelpViewer m_help;
    RecordingWebOpener m_web;
    ScriptedCommonDialogs m_dialogs;
    EnvironmentProbes m_probes;
    std::unique_ptr<ModalDriver> m_driver;
};

QString TestSettingsDialog::writeList(const QString &name, const QByteArray &bytes)
{
    const QString path = m_folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
    return QDir::toNativeSeparators(path);
}

void TestSettingsDialog::init()
{
    // The options as a first start leaves them, with a one-record list beside
    // the program.
    m_currentFolder.emplace();
    m_folder = std::make_unique<QTemporaryDir>();
    writeList(QStringLiteral("ken_all.csv"), record("1000005", "CHIYODA"));
    QVERIFY(writeTinyOfficeList(m_folder->path()));
    m_state = std::make_unique<Module1>();
    m_store.reset();
    m_boxes.clear();
    m_web.opened.clear();
    m_help.requests.clear();
    m_dialogs.files.clear();
    m_dialogs.colours.clear();
    m_dialogs.fileRequests.clear();
    m_dialogs.colourRequests.clear();
    StartUpEnvironment env;
    env.programFolder = QDir::toNativeSeparators(m_folder->path());
    env.screenTwips = QSizeF(15360, 11520);
    m_store.preset(Section::Config, QStringLiteral("OptLogo"), QStringLiteral("0"));
    StartUp(*m_state, m_store, m_boxes, env);
    QVERIFY(m_boxes.shown().empty());
    QCOMPARE(m_state->table.recordCount(), 1);
    m_store.clearWrites();
    m_driver = std::make_unique<ModalDriver>();
}

void TestSettingsDialog::cleanup()
{
    QCOMPARE(m_driver->unexpected(), 0);
    QCOMPARE(m_driver->pending(), std::size_t(0));
    m_driver.reset();
    QCOMPARE(m_boxes.unanswered(), 0);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
    m_currentFolder.reset();
    m_folder.reset();
}

std::unique_ptr<TORUMIN> TestSettingsDialog::showMainWindow()
{
    auto window = std::make_unique<TORUMIN>(context(), m_probes);
    window->setCommonDialogs(m_dialogs);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window not active");
    return window;
}

void TestSettingsDialog::opensWithEveryOptionAndOneMessagePerMissingSlot()
{
    const auto window = showMainWindow();
    m_state->options.set(s("OptLATab"), s("2"));
    m_state->options.set(s("OptLAct"), s("0"));
    m_state->options.set(s("OptTemae"), s("0"));
    m_state->options.set(s("OptYBketa"), s("7"));
    m_state->options.set(s("OptLak(1)"), s("0"));
    for (int i = 0; i < 8; ++i)
        m_state->options.set(arrayKey(s("Yubin_File"), i), m_folder->filePath(QStringLiteral("gone%1.csv").arg(i)));
    for (int i = 0; i < 8; ++i)
        m_boxes.queueAnswer(MsgResult::Ok);

    SETTEI dialog(context(), *window, m_dialogs, window.get());
    QCOMPARE(m_boxes.shown().size(), std::size_t(8));
    for (const auto &box : m_boxes.shown()) {
        QCOMPARE(box.title, s("*.CSV 確認"));
        QCOMPARE(box.text, missingListMessage());
    }
    // The label keeps the path; the slot itself is emptied in memory only.
    QCOMPARE(dialog.csv.Label3[3]->text(), m_folder->filePath(s("gone3.csv")));
    QCOMPARE(dialog.csv.Label3[3]->toolTip(), s("　") + m_folder->filePath(s("gone3.csv")) + s("　"));
    QCOMPARE(m_state->options.value(s("Yubin_File(3)")), QString());
    QVERIFY(m_store.writes().empty());

    QCOMPARE(dialog.SSTab1->currentIndex(), 2);
    QVERIFY(!dialog.environment.Check1[2]->isChecked());
    QVERIFY(dialog.environment.Check1[4]->isChecked());
    QCOMPARE(dialog.initial.Label4[0]->text(), s("7"));
    QCOMPARE(dialog.initial.Label4[2]->text(), s("9"));
    QVERIFY(!dialog.search.Check5[1]->isChecked());
    QVERIFY(dialog.search.Check5[0]->isChecked());
    QVERIFY(dialog.csv.Option1[0]->isChecked());
    QCOMPARE(dialog.OpenedSlot(), 0);
    QCOMPARE(dialog.environment.Check1[0]->toolTip(), s(" ロゴの表示 "));
    QCOMPARE(dialog.SSTab1->tabText(3), s("*.CSV 保存先"));
    window->hide();
}

void TestSettingsDialog::menuBarOffAppliesAtOnce()
{
    const auto window = showMainWindow();
    SETTEI dialog(context(), *window, m_dialogs, window.get());
    dialog.SSTab1->setCurrentIndex(0);
    dialog.environment.Check1[4]->setChecked(false);
    // The box changes the option at once; the window only on apply.
    QCOMPARE(m_state->options.value(s("OptMBar")), s("0"));
    QVERIFY(window->menuBar()->isVisible());
    dialog.Command1[2]->click();

    QVERIFY(!window->menuBar()->isVisible());
    const double dpi = window->screen()->logicalDotsPerInch();
    QTRY_COMPARE(window->frameGeometry().size(),
                 QSize(int(std::lround(twipsToPixels(2900, dpi))), int(std::lround(twipsToPixels(1530, dpi)))));
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptMBar")), s("0"));
    QCOMPARE(m_store.ReadSetting(Section::Position, s("OptCent")), s("0"));
    // OptLAct is on: the tab is remembered.
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptLATab")), s("0"));
    // Apply on tab 0 stores nothing of the other tabs.
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptYBketa")), s("3"));
    for (const auto &write : m_store.writes())
        QVERIFY2(!write.key.startsWith(s("YJ_")) && !write.key.startsWith(s("OptRen")), qPrintable(write.key));
    dialog.reject();
    window->hide();
}

void TestSettingsDialog::positionOnlyMovesWhenCentringOrAtTheCorner()
{
    const auto window = showMainWindow();
    window->move(120, 90);
    QTRY_COMPARE(window->pos(), QPoint(120, 90));
    {
        SETTEI dialog(context(), *window, m_dialogs, window.get());
        dialog.SSTab1->setCurrentIndex(0);
        dialog.Command1[2]->click();
        QCOMPARE(window->pos(), QPoint(120, 90));
    }
    window->move(0, 0);
    QTRY_COMPARE(window->pos(), QPoint(0, 0));
    SETTEI dialog(context(), *window, m_dialogs, window.get());
    dialog.SSTab1->setCurrentIndex(0);
    dialog.Command1[2]->click();
    QVERIFY(window->pos() != QPoint(0, 0));
    QCOMPARE(m_store.ReadSetting(Section::Position, s("OptCent")), s("0"));
    window->hide();
}

void TestSettingsDialog::okStoresEveryTabAndSwitchesTheListOnce()
{
    const QString second = writeList(s("second.csv"), record("9071801", "YONAGUNI") + record("1000005", "OTHER"));
    const auto window = showMainWindow();
    m_dialogs.files.push_back(second);
    m_driver->then([&](QWidget &modal) {
        auto &dialog = static_cast<SETTEI &>(modal);
        dialog.csv.Command4[2]->click();
        QCOMPARE(dialog.csv.Label3[2]->text(), second);
        QCOMPARE(m_dialogs.fileRequests.back().title, s("郵便番号一覧の選択"));
        QCOMPARE(m_dialogs.fileRequests.back().folder, QDir::toNativeSeparators(m_folder->path()));
        // Browsing does not select the slot; clicking its path does.
        QVERIFY(dialog.csv.Option1[0]->isChecked());
        QTest::mouseClick(dialog.csv.Label3[2], Qt::LeftButton);
        QVERIFY(dialog.csv.Option1[2]->isChecked());
        QCOMPARE(m_state->options.value(s("OptSen")), s("2"));
        dialog.Command1[0]->click();
    });
    window->menus().toolbarButtons[5]->trigger();

    QCOMPARE(m_state->table.recordCount(), 2);
    QCOMPARE(addressResultText(m_state->table, s("9071801")), s("TYONAGUNIM"));
    QCOMPARE(m_state->tablePath, second);
    SETTEI reopened(context(), *window, m_dialogs, window.get());
    QVERIFY(reopened.csv.loadedList->text().contains(second + s("　2 件（")));
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptSen")), s("2"));
    QCOMPARE(m_store.ReadSetting(Section::Config, s("Yubin_File(2)")), second);
    QCOMPARE(m_store.ReadSetting(Section::Config, s("FolderName(2)")), QDir::toNativeSeparators(m_folder->path()));
    // Every tab was stored.
    for (const char *key : {"OptLogo", "OptYBketa", "YJ_Copy(2)", "OptRen(3)", "OptTemae"})
        QVERIFY2(!m_store.ReadSetting(findSettingKey(s(key))->section, s(key)).isEmpty(), key);
    QCOMPARE(m_store.ReadSetting(Section::Saigo, s("OptLak(0)")), s("1"));
    QVERIFY(m_boxes.shown().empty());
    window->hide();
}

void TestSettingsDialog::applyOnTheListTabThenCancelKeepsTheTable()
{
    const QString second = writeList(s("second.csv"), record("9071801", "YONAGUNI"));
    m_state->options.set(s("Yubin_File(5)"), second);
    const auto window = showMainWindow();
    SETTEI dialog(context(), *window, m_dialogs, window.get());
    dialog.SSTab1->setCurrentIndex(3);
    dialog.csv.Option1[5]->click();
    dialog.Command1[2]->click();
    dialog.Command1[1]->click();

    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptSen")), s("5"));
    QCOMPARE(m_state->table.recordCount(), 1);
    QCOMPARE(m_state->table.zipCode(0), s("1000005"));
    // Reopened, the dialog shows what Cancel did not undo.
    SETTEI again(context(), *window, m_dialogs, window.get());
    QVERIFY(again.csv.Option1[5]->isChecked());
    QCOMPARE(again.OpenedSlot(), 5);
    window->hide();
}

void TestSettingsDialog::reloadOfAMissingListKeepsTheTable()
{
    const QString second = writeList(s("second.csv"), record("9071801", "YONAGUNI"));
    m_state->options.set(s("Yubin_File(1)"), second);
    const auto window = showMainWindow();
    SETTEI dialog(context(), *window, m_dialogs, window.get());
    QFile::remove(second);  // gone between opening the dialog and OK
    dialog.csv.Option1[1]->click();
    m_boxes.queueAnswer(MsgResult::Ok);
    dialog.Command1[0]->click();
    QCOMPARE(m_boxes.shown().size(), std::size_t(1));
    QCOMPARE(m_boxes.shown()[0].text, missingListMessage());
    QCOMPARE(m_state->table.recordCount(), 1);
    window->hide();
}

void TestSettingsDialog::colourChoiceShowsAndIsStoredAsDecimal()
{
    const auto window = showMainWindow();
    SETTEI dialog(context(), *window, m_dialogs, window.get());
    // Cancelled: nothing changes.
    dialog.environment.Command2[1]->click();
    QCOMPARE(m_state->options.value(s("OptColor(1)")), s("&H00FFFFFF&"));
    QCOMPARE(m_dialogs.colourRequests, std::vector<std::uint32_t>{0xFFFFFFu});

    m_dialogs.colours.push_back(0x00C0FFu);  // 00BBGGRR: orange
    dialog.environment.Command2[1]->click();
    QCOMPARE(m_state->options.value(s("OptColor(1)")), s("49407"));
    QVERIFY(dialog.environment.Command2[1]->styleSheet().contains(s("#ffc000")));
    // The main window changes on apply, and the store then holds the decimal text.
    QCOMPARE(window->Text1()->palette().color(QPalette::Base), QColor(255, 255, 255));
    dialog.SSTab1->setCurrentIndex(0);
    dialog.Command1[2]->click();
    QCOMPARE(window->Text1()->palette().color(QPalette::Base), QColor(255, 192, 0));
    QCOMPARE(window->centralWidget()->palette().color(QPalette::Window), QColor(255, 192, 0));
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptColor(1)")), s("49407"));
    window->hide();
}

void TestSettingsDialog::customisedToolbarSurvivesARestart()
{
    {
        const auto window = showMainWindow();
        SETTEI dialog(context(), *window, m_dialogs, window.get());
        m_driver->then([](QWidget &modal) {
            auto &customise = static_cast<ToolbarCustomizeDialog &>(modal);
            customise.shown->setCurrentRow(0);  // 終了
            customise.hideSelected();
            customise.shown->setCurrentRow(3);  // 住所入力 (now fourth)
            customise.moveSelected(-3);
            customise.accept();
        });
        dialog.environment.Command3->click();
        // At once in the window.
        QCOMPARE(window->toolbarLayout(), (std::vector<int>{5, 2, 3, 4, 6, 7, 8}));
        dialog.SSTab1->setCurrentIndex(0);
        dialog.Command1[0]->click();
        window->hide();
    }
    QCOMPARE(m_store.ReadSetting(Section::Config, s("Toolbar")), s("5,2,3,4,6,7,8"));

    const auto restarted = showMainWindow();
    QTRY_COMPARE(restarted->toolbarLayout(), (std::vector<int>{5, 2, 3, 4, 6, 7, 8}));

    // Without the saving option, apply leaves the stored layout alone.
    ToolbarCustomizeDialog customise(restarted->menus());
    customise.restoreDesign();
    QCOMPARE(restarted->toolbarLayout(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    SETTEI dialog(context(), *restarted, m_dialogs, restarted.get());
    dialog.environment.Check1[7]->setChecked(false);
    dialog.SSTab1->setCurrentIndex(0);
    dialog.Command1[2]->click();
    QCOMPARE(m_store.ReadSetting(Section::Config, s("Toolbar")), s("5,2,3,4,6,7,8"));
    restarted->hide();
}

void TestSettingsDialog::initialAndSearchTabs()
{
    const auto window = showMainWindow();
    SETTEI dialog(context(), *window, m_dialogs, window.get());
    UpDown *rows = dialog.initial.UpDown1[0];
    rows->stepBy(1);
    QCOMPARE(dialog.initial.Label4[0]->text(), s("4"));
    rows->stepBy(-10);
    QCOMPARE(rows->value(), 3);
    rows->setValue(99);
    QCOMPARE(dialog.initial.Label4[0]->text(), s("50"));
    dialog.initial.UpDown1[2]->stepBy(5);
    QCOMPARE(dialog.initial.Label4[2]->text(), s("11"));
    dialog.initial.Check2[0]->setChecked(false);
    dialog.search.Check5[0]->setChecked(false);
    dialog.search.Check4[3]->setChecked(false);
    dialog.SSTab1->setCurrentIndex(1);
    dialog.Command1[2]->click();
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptYBketa")), s("50"));
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptYBsize")), s("11"));
    QCOMPARE(m_store.ReadSetting(Section::Config, s("YJ_Disp(0)")), s("0"));
    QCOMPARE(m_store.ReadSetting(Section::Saigo, s("OptLak(0)")), s("1"));  // tab 2 not applied yet

    dialog.SSTab1->setCurrentIndex(2);
    dialog.Command1[2]->click();
    QCOMPARE(m_store.ReadSetting(Section::Saigo, s("OptLak(0)")), s("0"));
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptLak(0)")), QString());
    QCOMPARE(m_store.ReadSetting(Section::Config, s("OptRen(3)")), s("0"));
    QVERIFY(!dialog.initial.Check3[2]->isVisible());
    window->hide();
}

void TestSettingsDialog::helpFollowsTheTabAndTheLinkOpensTheDownloadPage()
{
    const auto window = showMainWindow();
    SETTEI dialog(context(), *window, m_dialogs, window.get());
    for (int tab = 0; tab < 4; ++tab) {
        dialog.SSTab1->setCurrentIndex(tab);
        dialog.Command1[3]->click();
    }
    QCOMPARE(m_help.requests, (std::vector<int>{10025, 10026, 10027, 10028}));

    dialog.SSTab1->setCurrentIndex(3);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto moveOver = [](QWidget *widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    };
    moveOver(dialog.csv.Label1);
    QCOMPARE(dialog.csv.Label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    moveOver(dialog.SSTab1);
    QCOMPARE(dialog.csv.Label1->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QTest::mouseClick(dialog.csv.Label1, Qt::LeftButton);
    QCOMPARE(m_web.opened, std::vector<QString>{s("https://www.post.japanpost.jp/zipcode/")});

    m_web.canOpen = false;
    m_boxes.queueAnswer(MsgResult::Ok);
    QTest::mouseClick(dialog.csv.Label1, Qt::LeftButton);
    QCOMPARE(m_boxes.shown().back().text, s("「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。　"));
    QCOMPARE(m_boxes.shown().back().title, s("IE ｲﾝｽﾄｰﾙ 確認"));
    m_web.canOpen = true;
    dialog.reject();
    window->hide();
}

void TestSettingsDialog::listChooserShowsPlainPatternsAndMatchesAnyCase()
{
    // Names that differ by more than letter case: Windows would take two
    // that differ by case alone for one file.
    for (const char *name : {"ken_all.csv", "UTF_KEN_ALL.CSV", "Ken_All.Zip", "notes.txt", "ken_all.csv.bak"})
        writeList(QString::fromLatin1(name), QByteArray());
    const auto dialog = QtCommonDialogs::makeListFileDialog(nullptr, s("郵便番号一覧の選択"), m_folder->path());
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QCOMPARE(dialog->windowTitle(), s("郵便番号一覧の選択"));
    QCOMPARE(dialog->findChild<QComboBox *>(s("fileTypeCombo"))->currentText(), s("(*.CSV *.ZIP)"));
    const QListView *files = dialog->findChild<QListView *>(s("listView"));
    QVERIFY(files);
    const auto listed = [files] {
        QStringList names;
        for (int row = 0; row < files->model()->rowCount(files->rootIndex()); ++row)
            names << files->model()->index(row, 0, files->rootIndex()).data().toString();
        names.sort();
        return names;
    };
    QTRY_COMPARE(listed(), (QStringList{s("JIGYOSYO.CSV"), s("Ken_All.Zip"), s("UTF_KEN_ALL.CSV"), s("ken_all.csv")}));
    dialog->reject();
}

void TestSettingsDialog::toolbarDialogCaptionsLeadToTheirLists()
{
    TORUMIN window(context(), m_probes);
    ToolbarCustomizeDialog customise(window.menus());
    customise.show();
    customise.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&customise));
    QTest::keyClick(&customise, Qt::Key_T, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), customise.shown);
    QTest::keyClick(&customise, Qt::Key_V, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), customise.available);
    customise.accept();
}

void TestSettingsDialog::longSlotPathKeepsItsFileNameInView()
{
    const auto window = showMainWindow();
    const int usualWidth = SETTEI(context(), *window, m_dialogs).sizeHint().width();
    const QString folder(120, QLatin1Char('d'));
    QVERIFY(QDir(m_folder->path()).mkpath(folder));
    const QString path = writeList(folder + s("/utf_ken_all.csv"), QByteArray());
    m_state->options.set(s("Yubin_File(1)"), path);
    m_state->options.set(s("Yubin_File(2)"), path + path);  // missing: one message
    m_state->tablePath = path;
    m_boxes.queueAnswer(MsgResult::Ok);
    SETTEI dialog(context(), *window, m_dialogs, window.get());
    dialog.SSTab1->setCurrentIndex(3);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // The window does not grow with the path; the label loses the path's
    // middle and keeps both its ends, and its tip the whole of it.
    QCOMPARE(dialog.sizeHint().width(), usualWidth);
    const auto *label = static_cast<PathLabel *>(dialog.csv.Label3[1]);
    const QString shown = label->shownText();
    QVERIFY2(shown.endsWith(s("utf_ken_all.csv")) && shown.contains(s("…")), qPrintable(shown));
    QVERIFY(shown.startsWith(path.left(4)));
    QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());
    QCOMPARE(label->text(), path);
    QCOMPARE(label->toolTip(), s("　") + path + s("　"));

    // So does the line that names the list loaded, which keeps the figures
    // at its end.
    const auto *loaded = qobject_cast<PathLabel *>(dialog.csv.loadedList);
    QVERIFY(loaded);
    const QString line = s("読み込み中の郵便番号一覧：") + path + s("　") + loadedListSummary(*m_state);
    QCOMPARE(loaded->text(), line);
    const QString loadedShown = loaded->shownText();
    QVERIFY2(loadedShown.startsWith(s("読み込み中の郵便番号一覧：") + path.left(4)) && loadedShown.contains(s("…"))
                 && loadedShown.endsWith(s("ken_all.csv　") + loadedListSummary(*m_state)),
             qPrintable(loadedShown));
    QVERIFY(loaded->fontMetrics().horizontalAdvance(loadedShown) <= loaded->contentsRect().width());
    QCOMPARE(loaded->toolTip(), line);
    dialog.reject();
    window->hide();
}

void TestSettingsDialog::upDownsShowTheFocus()
{
    TORUMIN window(context(), m_probes);
    SETTEI dialog(context(), window, m_dialogs);
    dialog.SSTab1->setCurrentIndex(1);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    UpDown *rows = dialog.initial.UpDown1[0];
    const QImage unmarked = rows->grab().toImage();
    // From the tab bar, Tab reaches the row count first, then the font size.
    dialog.SSTab1->tabBar()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), rows);
    QVERIFY(rows->grab().toImage() != unmarked);
    QTest::keyClick(rows, Qt::Key_Up);
    QCOMPARE(dialog.initial.Label4[0]->text(), s("4"));
    QTest::keyClick(rows, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), dialog.initial.UpDown1[2]);
    QVERIFY(dialog.initial.UpDown1[2]->grab().toImage() != unmarked);
    QCOMPARE(rows->grab().toImage(), unmarked);
    dialog.reject();
}

QTEST_MAIN(TestSettingsDialog)
#include "SettingsDialogTest.moc"

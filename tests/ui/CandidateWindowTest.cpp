#include "app/EnvironmentProbes.h"
#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/WindowGeometry.h"
#include "app/platform/QtMessageBoxes.h"
#include "data/PostalListReader.h"
#include "app/HistoryStore.h"
#include "support/FakePlatform.h"
#include "support/FakeServices.h"
#include "support/MemorySettingsStore.h"
#include "support/ModalDriver.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/dialogs/CandidateListModel.h"
#include "ui/dialogs/JUSHO_K_KEN.h"
#include "ui/dialogs/YB_KOUHO.h"
#include "ui/main/MainMenus.h"
#include "ui/main/TORUMIN.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <cmath>
#include <memory>

using namespace torumin;
using namespace torumin::testing;

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

int pixels(double twips)
{
    return static_cast<int>(std::lround(twipsToPixels(twips, QGuiApplication::primaryScreen()->logicalDotsPerInch())));
}

// Selects the candidate line with this text.
void select(YB_KOUHO &window, const QString &line)
{
    const int row = static_cast<int>(window.candidates().lines().indexOf(line));
    QVERIFY2(row >= 0, qPrintable(line));
    window.List1->setCurrentIndex(window.List1->model()->index(row, 0));
}

} // namespace

class TestCandidateWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void freeAddressSearchFromTheResultBox();
    void inputDialogRemembersAndClosesByOption();
    void nothingFoundAndNothingSelected();
    void sizeFollowsTheOptions_data();
    void sizeFollowsTheOptions();
    void listShowsWholeRows_data();
    void listShowsWholeRows();
    void windowStaysWholeOnItsScreen_data();
    void windowStaysWholeOnItsScreen();
    void noResultMessageLeavesTheAddressInView();
    void longestListScrollsToItsWidestLine();
    void theTypedTownIsSelected();
    void theNamedRowOpensSelectedAndCentred_data();
    void theNamedRowOpensSelectedAndCentred();

private:
    UiContext context() { return m_fakes.context(); }

    FakeServices m_fakes;
    Module1 &m_state = m_fakes.state;
    MemorySettingsStore &m_store = m_fakes.store;
    ScriptedMessageBoxes &m_boxes = m_fakes.boxes;
    FakeClipboard &m_clipboard = m_fakes.clipboard;
    RecordingHelpViewer &m_help = m_fakes.help;
    RecordingWebOpener &m_web = m_fakes.web;
    EnvironmentProbes m_probes;
    std::unique_ptr<ModalDriver> m_driver;
};

void TestCandidateWindow::initTestCase()
{
    ListReadResult list = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
    QVERIFY(!list.error);
    m_state.table = std::move(list.table);
}

void TestCandidateWindow::init()
{
    m_state.options = Options();
    m_store.reset();
    m_boxes.clear();
    m_clipboard.contents.reset();
    m_clipboard.writes = 0;
    m_help.requests.clear();
    Options &o = m_state.options;
    for (const char *key : {"OptMBar", "OptTemae", "OptLak(3)", "OptRen(3)", "YJ_Disp(0)", "YJ_Disp(1)", "YJ_Disp(2)",
                            "YJ_Copy(0)", "YJ_Copy(1)"})
        o.set(QString::fromLatin1(key), QStringLiteral("1"));
    o.set(QStringLiteral("OptYBsize"), QStringLiteral("9"));
    o.set(QStringLiteral("OptYBketa"), QStringLiteral("3"));
    o.set(QStringLiteral("YB_Left"), QStringLiteral("1500"));
    o.set(QStringLiteral("YB_Top"), QStringLiteral("750"));
    m_driver = std::make_unique<ModalDriver>();
}

void TestCandidateWindow::cleanup()
{
    QCOMPARE(m_driver->unexpected(), 0);
    QCOMPARE(m_driver->pending(), std::size_t(0));
    m_driver.reset();
    QCOMPARE(m_boxes.unanswered(), 0);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

void TestCandidateWindow::freeAddressSearchFromTheResultBox()
{
    TORUMIN window(context(), m_probes);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.Text1()->setPlainText(s("前の結果"));
    window.Text1()->setFocus();

    int lines = 0;
    QPoint candidatePosition;
    m_driver->then([&](QWidget &dialog) {
        auto &input = static_cast<JUSHO_K_KEN &>(dialog);
        input.Text1->setText(s("東京都千代田区丸の内"));
        input.Command1[0]->click();
        // Continuous search keeps the dialog open for the next address.
        QVERIFY(input.isVisible());
        input.Command1[1]->click();
    });
    m_driver->then([&](QWidget &modal) {
        auto &candidates = static_cast<YB_KOUHO &>(modal);
        lines = candidates.List1->model()->rowCount();
        candidatePosition = candidates.pos();
        select(candidates, s("〒100-0005　東京都千代田区丸の内"));
        candidates.Command1[0]->click();
        QCOMPARE(m_clipboard.contents, std::optional<QString>(s("〒100-0005　東京都千代田区丸の内")));
        m_state.options.set(s("YJ_Copy(0)"), s("0"));
        candidates.Command1[0]->click();
        QCOMPARE(m_clipboard.contents, std::optional<QString>(s("東京都千代田区丸の内")));
        candidates.Command1[2]->click();
        candidates.move(pixels(3000), pixels(1200));
        candidates.Command1[1]->click();
    });
    // Ctrl+A in the result box is the free-address search, not select-all.
    QTest::keyClick(window.Text1(), Qt::Key_A, Qt::ControlModifier);

    int chiyodaRows = 0;
    for (int row = 0; row < m_state.table.recordCount(); ++row)
        chiyodaRows += m_state.table.prefName(row) == u"東京都" && m_state.table.cityName(row) == u"千代田区";
    QCOMPARE(lines, chiyodaRows);
    QCOMPARE(candidatePosition, QPoint(pixels(1500), pixels(750)));
    QCOMPARE(m_help.requests, std::vector<int>{39});
    QCOMPARE(m_store.ReadSetting(Section::Saigo, s("J_Input")), s("東京都千代田区丸の内"));
    QCOMPARE(m_store.ReadSetting(Section::Position, s("YB_Left")), twipsText(pixelsToTwips(pixels(3000), QGuiApplication::primaryScreen()->logicalDotsPerInch())));
    QVERIFY(!m_store.ReadSetting(Section::Position, s("YB_Top")).isEmpty());
    // The main window's result and the history are not touched.
    QCOMPARE(window.Text1()->toPlainText(), s("前の結果"));
    QCOMPARE(historyEntries(m_state.options), QStringList());
    QVERIFY(!window.Text1()->textCursor().hasSelection());
    window.hide();
}

void TestCandidateWindow::inputDialogRemembersAndClosesByOption()
{
    m_state.options.set(s("J_Input"), s("北海道"));
    {
        JUSHO_K_KEN dialog(context());
        QCOMPARE(dialog.Text1->text(), s("北海道"));
    }
    m_state.options.set(s("OptLak(3)"), s("0"));
    m_state.options.set(s("OptRen(3)"), s("0"));
    JUSHO_K_KEN dialog(context());
    QCOMPARE(dialog.Text1->text(), QString());
    QCOMPARE(m_state.options.value(s("J_Input")), QString());
    QVERIFY(m_store.writes().empty());

    dialog.show();
    // Only the empty text is empty: spaces go on to the search (and find nothing).
    m_boxes.queueAnswer(MsgResult::Ok);
    dialog.Command1[0]->click();
    QCOMPARE(m_boxes.shown().back().text, s("検索する住所を入力して下さい。　"));
    QCOMPARE(m_boxes.shown().back().title, s("住所入力確認"));
    QVERIFY(m_store.writes().empty());

    dialog.Text1->setText(s("京都府京都市"));
    m_driver->then([](QWidget &modal) {
        auto &candidates = static_cast<YB_KOUHO &>(modal);
        QVERIFY(candidates.List1->model()->rowCount() > 0);
        QVERIFY(candidates.candidates().lines().front().contains(s("京都府京都市")));
        candidates.close();
    });
    dialog.Command1[0]->click();
    QVERIFY(!dialog.isVisible());  // no continuous search: closed with the candidate window
    QCOMPARE(m_store.ReadSetting(Section::Saigo, s("J_Input")), s("京都府京都市"));
    QCOMPARE(m_help.requests, std::vector<int>{});
}

void TestCandidateWindow::nothingFoundAndNothingSelected()
{
    m_boxes.queueAnswer(MsgResult::Ok);
    YB_KOUHO window(context(), s("横浜市中区"));
    QCOMPARE(m_boxes.shown().size(), std::size_t(1));
    QCOMPARE(m_boxes.shown()[0].text, s("入力された住所から、検索できませんでした。　入力住所を確認して下さい。　"));
    QCOMPARE(m_boxes.shown()[0].title, s("入力住所確認"));
    QCOMPARE(m_boxes.shown()[0].style, 48);
    QCOMPARE(window.List1->model()->rowCount(), 0);

    m_boxes.queueAnswer(MsgResult::Ok);
    window.Command1[0]->click();
    QCOMPARE(m_boxes.shown()[1].text, s("クリップボードにコピーするデータを候補一覧の中から選択して下さい。　"));
    QCOMPARE(m_boxes.shown()[1].title, s("選択確認"));
    QCOMPARE(m_clipboard.writes, 0);
}

void TestCandidateWindow::sizeFollowsTheOptions_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("listTwips");
    QTest::newRow("defaults") << "9" << "3" << 960;
    QTest::newRow("11 point, r not r + 1") << "11" << "3" << 960;
    QTest::newRow("10 point") << "10" << "5" << 1425;
    QTest::newRow("many rows") << "9" << "20" << 4020;
}

void TestCandidateWindow::sizeFollowsTheOptions()
{
    QFETCH(QString, size);
    QFETCH(QString, rows);
    QFETCH(int, listTwips);
    m_state.options.set(s("OptYBsize"), size);
    m_state.options.set(s("OptYBketa"), rows);
    YB_KOUHO window(context(), s("東京都千代田区"));
    QCOMPARE(window.List1->height(), pixels(listTwips));
    QCOMPARE(window.List1->font().pointSizeF(), size.toDouble());
    QCOMPARE(window.Command1[0]->y(), pixels(listTwips + 1430 - 915));
    QCOMPARE(window.height(), pixels(listTwips + 1430));  // no frame in this test: outer and inner agree
}

void TestCandidateWindow::listShowsWholeRows_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("listTwips");
    const QString shortLines = s("東京都千代田区");
    const QString longLines = s("東京都渋谷区");  // wider than the list: a scroll bar below
    QTest::newRow("9 pt, 3 rows") << "9" << "3" << shortLines << 960;
    QTest::newRow("9 pt, 3 rows, scroll bar") << "9" << "3" << longLines << 960;
    QTest::newRow("9 pt, 25 rows, scroll bar") << "9" << "25" << longLines << 4920;
    QTest::newRow("10 pt, 5 rows") << "10" << "5" << shortLines << 1425;
    QTest::newRow("10 pt, 3 rows, scroll bar") << "10" << "3" << longLines << 1035;
    QTest::newRow("11 pt, 3 rows") << "11" << "3" << shortLines << 960;
    QTest::newRow("11 pt, 12 rows, scroll bar") << "11" << "12" << longLines << 2985;
}

void TestCandidateWindow::listShowsWholeRows()
{
    QFETCH(QString, size);
    QFETCH(QString, rows);
    QFETCH(QString, address);
    QFETCH(int, listTwips);
    m_state.options.set(s("OptYBsize"), size);
    m_state.options.set(s("OptYBketa"), rows);
    YB_KOUHO window(context(), address);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QWidget *viewport = window.List1->viewport();
    const auto rowHeight = [&] { return window.List1->visualRect(window.List1->model()->index(0, 0)).height(); };
    // No row is cut at the bottom: the rows fill the view exactly.
    QTRY_COMPARE(viewport->height() % rowHeight(), 0);
    QVERIFY(viewport->height() / rowHeight() >= rows.toInt());
    // Rows keep room for their glyphs, and the list keeps its designed
    // height but for less than a pixel a row.
    QVERIFY(rowHeight() >= QFontInfo(window.List1->font()).pixelSize());
    QVERIFY(window.List1->height() <= pixels(listTwips));
    QVERIFY(window.List1->height() > pixels(listTwips) - viewport->height() / rowHeight());
    window.reject();
}

void TestCandidateWindow::windowStaysWholeOnItsScreen_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::newRow("50 rows at 9 pt, stored low") << "9" << "50" << "1500" << "3000";
    QTest::newRow("50 rows at 11 pt") << "11" << "50" << "0" << "0";
    QTest::newRow("stored off the bottom right") << "9" << "3" << "90000" << "90000";
    QTest::newRow("stored off the top left") << "10" << "20" << "-5000" << "-3000";
}

void TestCandidateWindow::windowStaysWholeOnItsScreen()
{
    QFETCH(QString, size);
    QFETCH(QString, rows);
    QFETCH(QString, left);
    QFETCH(QString, top);
    m_state.options.set(s("OptYBsize"), size);
    m_state.options.set(s("OptYBketa"), rows);
    m_state.options.set(s("YB_Left"), left);
    m_state.options.set(s("YB_Top"), top);
    // Over the input dialog it opens from, whose frame tells its own.
    JUSHO_K_KEN input(context());
    input.show();
    QVERIFY(QTest::qWaitForWindowExposed(&input));
    YB_KOUHO window(context(), s("東京都渋谷区"), &input);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY2(screen.contains(window.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(window.x()).arg(window.y()).arg(window.width()).arg(window.height())));
    // The list's end and the buttons below it are on the screen, and the
    // rows are whole.
    for (QPushButton *button : window.Command1)
        QVERIFY(button->geometry().bottom() < window.height());
    QVERIFY(window.List1->geometry().bottom() < window.Command1[0]->y());
    const auto rowHeight = [&] { return window.List1->visualRect(window.List1->model()->index(0, 0)).height(); };
    QTRY_COMPARE(window.List1->viewport()->height() % rowHeight(), 0);
    QVERIFY(rowHeight() >= QFontInfo(window.List1->font()).pixelSize());
    window.reject();
}

void TestCandidateWindow::noResultMessageLeavesTheAddressInView()
{
    QtMessageBoxes real;
    UiContext withRealBoxes{m_state, m_store, real, m_clipboard, m_help, m_web};
    JUSHO_K_KEN dialog(withRealBoxes);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.Text1->setText(s("横浜市中区"));
    QRect message;
    QString text;
    m_driver->then([&](QWidget &box) {
        message = box.frameGeometry();
        text = static_cast<QMessageBox &>(box).text();
        QTest::keyClick(&box, Qt::Key_Return);
    });
    m_driver->then([](QWidget &candidates) { static_cast<QDialog &>(candidates).reject(); });
    QTest::keyClick(dialog.Text1, Qt::Key_Return);
    QCOMPARE(text, s("入力された住所から、検索できませんでした。　入力住所を確認して下さい。　"));
    const QRect typed(dialog.Text1->mapToGlobal(QPoint(0, 0)), dialog.Text1->size());
    QVERIFY(!message.isEmpty());
    QVERIFY(!message.intersects(typed));
    QVERIFY(dialog.screen()->availableGeometry().contains(message));
    dialog.reject();
}

void TestCandidateWindow::longestListScrollsToItsWidestLine()
{
    {
        YB_KOUHO hokkaido(context(), s("北海道"));
        QCOMPARE(hokkaido.List1->model()->rowCount(), 8191);
    }
    // 渋谷区 has the list's longest lines (the floors of its tall buildings).
    YB_KOUHO window(context(), s("東京都渋谷区"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The scroll range reaches the end of the widest line, measured exactly.
    const QFontMetrics metrics(window.List1->font());
    int widest = 0;
    for (const QString &line : window.candidates().lines())
        widest = std::max(widest, metrics.horizontalAdvance(line));
    QCOMPARE(window.candidates().widestLinePixels(), widest);
    QVERIFY(widest > window.List1->viewport()->width());
    QScrollBar *bar = window.List1->horizontalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    QVERIFY(bar->maximum() + window.List1->viewport()->width() >= widest);
    window.reject();
}

void TestCandidateWindow::theTypedTownIsSelected()
{
    YB_KOUHO window(context(), s("神奈川県横浜市中区山下町"));
    QCOMPARE(window.List1->model()->rowCount(), 939);  // every ward of the city
    const QModelIndex current = window.List1->currentIndex();
    QVERIFY(current.isValid());
    QCOMPARE(current.data().toString(), s("〒231-0023　神奈川県横浜市中区山下町"));
    window.Command1[0]->click();
    QCOMPARE(m_clipboard.contents, std::optional<QString>(s("〒231-0023　神奈川県横浜市中区山下町")));

    YB_KOUHO chiyoda(context(), s("東京都千代田区丸の内１－９－１"));
    QCOMPARE(chiyoda.List1->currentIndex().data().toString(), s("〒100-0005　東京都千代田区丸の内"));
    // The ward alone: its row for every town area the list does not name.
    YB_KOUHO ward(context(), s("東京都千代田区"));
    QCOMPARE(ward.List1->currentIndex().data().toString(), s("〒100-0000　東京都千代田区"));
    YB_KOUHO sapporo(context(), s("北海道札幌市"));
    QVERIFY(!sapporo.List1->currentIndex().isValid());
    QVERIFY(!sapporo.List1->selectionModel()->hasSelection());
    // A town name of two codes that the list does not tell apart: no guess.
    YB_KOUHO twoCodes(context(), s("北海道札幌市中央区大通西20丁目"));
    QVERIFY(!twoCodes.List1->currentIndex().isValid());
    QVERIFY(!twoCodes.List1->selectionModel()->hasSelection());
}

void TestCandidateWindow::theNamedRowOpensSelectedAndCentred_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("line");
    QTest::newRow("Sapporo") << s("北海道札幌市白石区東札幌3条2丁目") << s("〒003-0003　北海道札幌市白石区東札幌三条");
    QTest::newRow("Kyoto") << s("京都府京都市中京区河原町通二条下る一之船入町")
                           << s("〒604-0924　京都府京都市中京区一之船入町");
}

void TestCandidateWindow::theNamedRowOpensSelectedAndCentred()
{
    QFETCH(QString, address);
    QFETCH(QString, line);
    YB_KOUHO window(context(), address);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QModelIndex current = window.List1->currentIndex();
    QCOMPARE(current.data().toString(), line);
    QVERIFY(window.List1->selectionModel()->isSelected(current));
    // In the middle of the list's view, not at its edge: the list shows whole
    // rows, so with an even number of them the middle is either of two rows.
    const QRect viewport = window.List1->viewport()->rect();
    const QRect row = window.List1->visualRect(current);
    QVERIFY(viewport.contains(row));
    QVERIFY2(std::abs(row.center().y() - viewport.center().y()) <= row.height(),
             qPrintable(QStringLiteral("row at %1, view centre at %2").arg(row.center().y()).arg(viewport.center().y())));
    window.reject();
}

QTEST_MAIN(TestCandidateWindow)
#include "CandidateWindowTest.moc"

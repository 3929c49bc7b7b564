#include "app/EnvironmentProbes.h"
#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/WindowGeometry.h"
#include "search/PostalLookup.h"
#include "support/FakePlatform.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/main/MainMenus.h"
#include "ui/main/SessionEnd.h"
#include "ui/main/TORUMIN.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include <cmath>
#include <memory>

using namespace torumin;
using torumin::testing::MemorySettingsStore;
using torumin::testing::ScriptedMessageBoxes;

namespace {

class FakeSessionEnd final : public SessionEnd {
public:
    bool interaction = true;
    bool cancelled = false;
    bool allowsInteraction() override { return interaction; }
    void cancel() override { cancelled = true; }
};

class FakeProbes final : public EnvironmentProbes {
public:
    QString osName;
    QString scheme;
    [[nodiscard]] QString GetOSName() const override { return osName; }
    [[nodiscard]] QString GetAppearanceScheme() const override { return scheme; }
};

int pixels(double twips, const QWidget &widget)
{
    return static_cast<int>(std::lround(twipsToPixels(twips, widget.screen()->logicalDotsPerInch())));
}

} // namespace

class TestMainWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void menusAndToolbarAsDesigned();
    void sizeFollowsMenuBarOptionAndVersion_data();
    void sizeFollowsMenuBarOptionAndVersion();
    void positionFromStoreOrCentred();
    void coloursFromOptions_data();
    void coloursFromOptions();
    void exitFromMenuSavesPositionThenAsks_data();
    void exitFromMenuSavesPositionThenAsks();
    void closeBoxAsksAndProgramCloseDoesNot();
    void endOfSessionAsksAndCancelRefusesIt_data();
    void endOfSessionAsksAndCancelRefusesIt();
    void toolbarLayoutRestoredAtFirstActivation_data();
    void toolbarLayoutRestoredAtFirstActivation();
    void topmostFollowsOptionAtEachActivation();
    void notFoundTextsFitWithoutAScrollBar_data();
    void notFoundTextsFitWithoutAScrollBar();

private:
    std::unique_ptr<TORUMIN> makeWindow();

    Module1 m_state;
    MemorySettingsStore m_store;
    ScriptedMessageBoxes m_boxes;
    torumin::testing::FakeClipboard m_clipboard;
    torumin::testing::RecordingHelpViewer m_help;
    torumin::testing::RecordingWebOpener m_web;
    FakeProbes m_probes;
};

void TestMainWindow::init()
{
    m_state = Module1();
    m_store.reset();
    m_boxes.clear();
    m_probes.osName.clear();
    m_probes.scheme.clear();
    Options &o = m_state.options;
    o.set(QStringLiteral("OptMBar"), QStringLiteral("1"));
    o.set(QStringLiteral("OptTemae"), QStringLiteral("1"));
    o.set(QStringLiteral("OptCent"), QStringLiteral("0"));
    o.set(QStringLiteral("O_Left"), QStringLiteral("1500"));
    o.set(QStringLiteral("O_Top"), QStringLiteral("3000"));
    o.set(QStringLiteral("OptColor(0)"), QStringLiteral("&H00000000&"));
    o.set(QStringLiteral("OptColor(1)"), QStringLiteral("&H00FFFFFF&"));
}

void TestMainWindow::cleanup()
{
    QCOMPARE(m_boxes.unanswered(), 0);
    QCOMPARE(m_boxes.pendingAnswers(), std::size_t(0));
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

std::unique_ptr<TORUMIN> TestMainWindow::makeWindow()
{
    return std::make_unique<TORUMIN>(UiContext{m_state, m_store, m_boxes, m_clipboard, m_help, m_web}, m_probes);
}

void TestMainWindow::menusAndToolbarAsDesigned()
{
    const auto window = makeWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("とるみん for Windows"));

    const QList<QAction *> bar = window->menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QCOMPARE(bar[0]->text(), QStringLiteral("総合ﾒﾆｭｰ(&M)"));
    QCOMPARE(bar[1]->text(), QStringLiteral("編集(&E)"));

    // Caption and shortcut of every item, in menu order, separators as "-".
    QStringList total;
    for (QAction *sub : bar[0]->menu()->actions()) {
        total << sub->text();
        for (QAction *item : sub->menu()->actions())
            total << (item->isSeparator() ? QStringLiteral("  -")
                                          : QStringLiteral("  ") + item->text() + QLatin1Char('|')
                                                + item->shortcut().toString(QKeySequence::PortableText));
    }
    const QStringList expectedTotal{
        QStringLiteral("ﾍﾙﾌﾟ(&H)"),          QStringLiteral("  ﾄﾋﾟｯｸの検索(&H)|F1"),
        QStringLiteral("  目次(&C)|"),        QStringLiteral("  -"),
        QStringLiteral("  ﾊﾞｰｼﾞｮﾝ情報(&A)...|"), QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"),
        QStringLiteral("  各種設定(&K)|"),    QStringLiteral("検索(&S)"),
        QStringLiteral("  郵便番号 → 住所(&Y)|Ctrl+Y"), QStringLiteral("  住所 → 郵便番号(&J)|Ctrl+J"),
        QStringLiteral("  ｶﾅ住所 → 郵便番号(&K)|Ctrl+K"), QStringLiteral("  住所入力 → 〒＋住所候補(&A)|Ctrl+A"),
        QStringLiteral("  事業所名 → 郵便番号(&O)|Ctrl+O"),
        QStringLiteral("ﾌｧｲﾙ(&F)"),          QStringLiteral("  検索履歴一覧(&R)|"),
        QStringLiteral("  -"),                QStringLiteral("  とるみん の終了(&X)...|"),
    };
    QCOMPARE(total, expectedTotal);

    QStringList edit;
    for (QAction *item : bar[1]->menu()->actions())
        edit << (item->isSeparator() ? QStringLiteral("-")
                                     : item->text() + QLatin1Char('|')
                                           + item->shortcut().toString(QKeySequence::PortableText));
    QCOMPARE(edit, (QStringList{QStringLiteral("ｺﾋﾟｰ(&C)|Ctrl+C"), QStringLiteral("貼り付け(&P)|Ctrl+V"),
                                QStringLiteral("結果の削除(&D)|Ctrl+D"), QStringLiteral("-"),
                                QStringLiteral("検索条件の削除(&E)|")}));

    QStringList tips;
    for (QAction *button : window->findChild<QToolBar *>(QStringLiteral("Toolbar1"))->actions()) {
        tips << button->toolTip();
        QVERIFY(!button->icon().pixmap(16, 16).isNull());
    }
    QCOMPARE(tips, (QStringList{QStringLiteral(" とるみんの終了 "), QStringLiteral(" 郵便番号 → 住所 "),
                                QStringLiteral(" 住所 → 郵便番号 "), QStringLiteral(" ｶﾅ住所 → 郵便番号 "),
                                QStringLiteral(" 住所入力 → 〒＋住所候補 "), QStringLiteral(" 各種設定 "),
                                QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 "), QStringLiteral(" ﾍﾙﾌﾟ ")}));
    QVERIFY(window->findChild<QPlainTextEdit *>(QStringLiteral("Text1")));
}

void TestMainWindow::sizeFollowsMenuBarOptionAndVersion_data()
{
    QTest::addColumn<QString>("menuBar");
    QTest::addColumn<QString>("osName");
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QSize>("twips");
    QTest::newRow("menus") << "1" << "" << "" << QSize(2880, 1840);
    QTest::newRow("no menus") << "0" << "" << "Luna" << QSize(2900, 1530);
    QTest::newRow("XP classic") << "1" << "Windows XP" << "" << QSize(2900, 1980);
    QTest::newRow("XP scheme, no menus") << "0" << "Windows XP" << "Luna" << QSize(2920, 1530);
}

void TestMainWindow::sizeFollowsMenuBarOptionAndVersion()
{
    QFETCH(QString, menuBar);
    QFETCH(QString, osName);
    QFETCH(QString, scheme);
    QFETCH(QSize, twips);
    m_state.options.set(QStringLiteral("OptMBar"), menuBar);
    m_probes.osName = osName;
    m_probes.scheme = scheme;
    const auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    QTRY_COMPARE(window->frameGeometry().size(), QSize(pixels(twips.width(), *window), pixels(twips.height(), *window)));
    QCOMPARE(window->menuBar()->isVisible(), menuBar == QLatin1String("1"));
    // Without menus the toolbar still offers every search.
    QCOMPARE(window->findChild<QToolBar *>(QStringLiteral("Toolbar1"))->actions().size(), 8);
    window->hide();
}

void TestMainWindow::positionFromStoreOrCentred()
{
    {
        const auto window = makeWindow();
        QCOMPARE(window->pos(), QPoint(pixels(1500, *window), pixels(3000, *window)));
    }
    {
        // A stored value that is not a number places the window at 0.
        m_state.options.set(QStringLiteral("O_Top"), QStringLiteral("abc"));
        const auto window = makeWindow();
        QCOMPARE(window->pos().y(), 0);
    }
    {
        m_state.options.set(QStringLiteral("OptCent"), QStringLiteral("1"));
        const auto window = makeWindow();
        const QRect screen = window->screen()->geometry();
        const double dpi = window->screen()->logicalDotsPerInch();
        const QSizeF size = mainWindowSizeTwips(QStringLiteral("1"), QString(), QString());
        const double left = (pixelsToTwips(screen.width(), dpi) - size.width()) / 2;
        const double top = (pixelsToTwips(screen.height(), dpi) - size.height()) / 2;
        QCOMPARE(window->pos(), QPoint(pixels(left, *window), pixels(top, *window)));
    }
}

void TestMainWindow::coloursFromOptions_data()
{
    QTest::addColumn<QString>("background");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("black") << "&H00000000&" << QColor(0, 0, 0);
    QTest::newRow("navy") << "&H00800000&" << QColor(0, 0, 0x80);
    QTest::newRow("decimal cyan") << "16776960" << QColor(0, 255, 255);
    QTest::newRow("not a colour reads as black") << "pink" << QColor(0, 0, 0);
}

void TestMainWindow::coloursFromOptions()
{
    QFETCH(QString, background);
    QFETCH(QColor, expected);
    m_state.options.set(QStringLiteral("OptColor(0)"), QStringLiteral("&H000000FF&"));  // red text
    m_state.options.set(QStringLiteral("OptColor(1)"), background);
    const auto window = makeWindow();
    const QPalette text = window->Text1()->palette();
    QCOMPARE(text.color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(text.color(QPalette::Base), expected);
    // The client area around the result box takes the colour too.
    const QImage client = window->centralWidget()->grab().toImage();
    QCOMPARE(QColor(client.pixel(0, client.height() - 1)), expected);

    // Menu bar and toolbar keep the desktop's colours, whatever the option.
    for (QWidget *bar : {static_cast<QWidget *>(window->menuBar()),
                         static_cast<QWidget *>(window->findChild<QToolBar *>(QStringLiteral("Toolbar1")))}) {
        const QPalette desktop = QApplication::palette(bar);
        for (const auto role : {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText})
            QCOMPARE(bar->palette().color(role), desktop.color(role));
        const QImage drawn = bar->grab().toImage();
        QCOMPARE(QColor(drawn.pixel(drawn.width() - 2, drawn.height() / 2)), desktop.color(QPalette::Window));
    }
}

void TestMainWindow::exitFromMenuSavesPositionThenAsks_data()
{
    QTest::addColumn<bool>("answerOk");
    QTest::newRow("OK ends") << true;
    QTest::newRow("Cancel stays") << false;
}

void TestMainWindow::exitFromMenuSavesPositionThenAsks()
{
    QFETCH(bool, answerOk);
    const auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->move(pixels(4500, *window), pixels(600, *window));
    QTRY_COMPARE(window->pos(), QPoint(pixels(4500, *window), pixels(600, *window)));
    QSignalSpy ended(window.get(), &TORUMIN::programEnded);

    m_boxes.queueAnswer(answerOk ? MsgResult::Ok : MsgResult::Cancel);
    window->menus().mnuFileEnd->trigger();

    QCOMPARE(m_boxes.shown().size(), std::size_t(1));
    QCOMPARE(m_boxes.shown()[0].text, QStringLiteral("「とるみん for Windows」 を終了しますか？　"));
    QCOMPARE(m_boxes.shown()[0].title, QStringLiteral("終了確認"));
    QCOMPARE(m_boxes.shown()[0].style, 33);
    // The position is written before the question, whatever the answer.
    const std::vector<MemorySettingsStore::Write> expected{
        {Section::Position, QStringLiteral("O_Top"), QStringLiteral("600")},
        {Section::Position, QStringLiteral("O_Left"), QStringLiteral("4500")},
    };
    QCOMPARE(m_store.writes(), expected);
    QCOMPARE(ended.count(), answerOk ? 1 : 0);

    if (answerOk) {
        // Once ended, closing asks nothing more.
        window->close();
        QCOMPARE(m_boxes.shown().size(), std::size_t(1));
    } else {
        QVERIFY(window->isVisible());
        window->hide();
    }
}

void TestMainWindow::closeBoxAsksAndProgramCloseDoesNot()
{
    const auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QSignalSpy ended(window.get(), &TORUMIN::programEnded);

    m_boxes.queueAnswer(MsgResult::Cancel);
    QVERIFY(!window->Form_QueryUnload(TORUMIN::vbFormControlMenu));
    QCOMPARE(ended.count(), 0);
    QCOMPARE(m_store.writes().size(), std::size_t(2));

    m_boxes.queueAnswer(MsgResult::Ok);
    QVERIFY(window->Form_QueryUnload(TORUMIN::vbAppWindows));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(m_boxes.shown().size(), std::size_t(2));

    // A close the program starts itself: no question, the position still saved.
    const auto second = makeWindow();
    second->show();
    QVERIFY(QTest::qWaitForWindowExposed(second.get()));
    m_store.clearWrites();
    QVERIFY(second->close());
    QCOMPARE(m_boxes.shown().size(), std::size_t(2));
    QCOMPARE(m_store.writes().size(), std::size_t(2));
    window->hide();
}

void TestMainWindow::endOfSessionAsksAndCancelRefusesIt_data()
{
    QTest::addColumn<bool>("interaction");
    QTest::addColumn<int>("answer");  // -1: no question may be shown
    QTest::addColumn<bool>("ended");
    QTest::newRow("OK lets the session end the program") << true << int(MsgResult::Ok) << true;
    QTest::newRow("Cancel refuses the logout") << true << int(MsgResult::Cancel) << false;
    QTest::newRow("no question allowed: position only") << false << -1 << false;
}

void TestMainWindow::endOfSessionAsksAndCancelRefusesIt()
{
    QFETCH(bool, interaction);
    QFETCH(int, answer);
    QFETCH(bool, ended);
    const bool refuses = answer == int(MsgResult::Cancel);
    const auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QSignalSpy endedSpy(window.get(), &TORUMIN::programEnded);
    FakeSessionEnd session;
    session.interaction = interaction;
    if (answer >= 0)
        m_boxes.queueAnswer(static_cast<MsgResult>(answer));

    window->sessionEnding(session);

    QCOMPARE(session.cancelled, refuses);
    QCOMPARE(endedSpy.count(), ended ? 1 : 0);
    QCOMPARE(m_boxes.shown().size(), std::size_t(answer >= 0 ? 1 : 0));
    if (answer >= 0) {
        QCOMPARE(m_boxes.shown()[0].text, QStringLiteral("「とるみん for Windows」 を終了しますか？　"));
        QCOMPARE(m_boxes.shown()[0].title, QStringLiteral("終了確認"));
        QCOMPARE(m_boxes.shown()[0].style, 33);
    }
    // The position is kept whatever happens next.
    QCOMPARE(m_store.writes().size(), std::size_t(2));
    QCOMPARE(m_store.writes()[0].key, QStringLiteral("O_Top"));
    QVERIFY(window->isVisible());

    // The window hears the application's own request.
    QVERIFY(QObject::disconnect(qGuiApp, &QGuiApplication::commitDataRequest, window.get(), nullptr));
    window->hide();
}

void TestMainWindow::toolbarLayoutRestoredAtFirstActivation_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("saved layout") << "2,5,1" << QList<int>{2, 5, 1};
    QTest::newRow("nothing saved") << "" << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("garbage keeps the design") << "1,x" << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("all hidden") << "0" << QList<int>{};
}

void TestMainWindow::toolbarLayoutRestoredAtFirstActivation()
{
    QFETCH(QString, stored);
    QFETCH(QList<int>, shown);
    m_store.preset(Section::Config, QStringLiteral("Toolbar"), stored);
    const auto window = makeWindow();
    QCOMPARE(window->toolbarLayout(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const std::vector<int> expected(shown.cbegin(), shown.cend());
    QTRY_COMPARE(window->toolbarLayout(), expected);
    window->hide();
}

void TestMainWindow::topmostFollowsOptionAtEachActivation()
{
    const auto window = makeWindow();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTRY_VERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // Changed while the program runs: the next activation applies it.
    m_state.options.set(QStringLiteral("OptTemae"), QStringLiteral("0"));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTRY_VERIFY(!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QTRY_VERIFY(window->isVisible());
    other.hide();
    window->hide();
}

void TestMainWindow::notFoundTextsFitWithoutAScrollBar_data()
{
    QTest::addColumn<QString>("menuBar");
    QTest::addColumn<QString>("text");
    for (const char *menuBar : {"1", "0"}) {
        QTest::addRow("code, menus %s", menuBar) << menuBar << kCodeNotFound;
        QTest::addRow("address, menus %s", menuBar) << menuBar << kAddressNotFound;
    }
}

void TestMainWindow::notFoundTextsFitWithoutAScrollBar()
{
    QFETCH(QString, menuBar);
    QFETCH(QString, text);
    m_state.options.set(QStringLiteral("OptMBar"), menuBar);
    const auto window = makeWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QPlainTextEdit *box = window->Text1();
    box->setPlainText(text);
    QCoreApplication::processEvents();
    // The message's lines fit, with no scroll bar; its closing ideographic
    // space is not a line of its own.
    const QTextLayout *layout = box->document()->firstBlock().layout();
    QVERIFY(layout->lineCount() > 1);
    QVERIFY(layout->lineAt(layout->lineCount() - 1).textLength() > 1);
    QCOMPARE(box->verticalScrollBar()->maximum(), 0);
    QCOMPARE(box->toPlainText(), text);  // copied as it is
    window->hide();
}

QTEST_MAIN(TestMainWindow)
#include "MainWindowTest.moc"

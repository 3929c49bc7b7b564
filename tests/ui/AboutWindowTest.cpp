#include "app/Module1.h"
#include "data/PostalListReader.h"
#include "app/WindowGeometry.h"
#include "support/DrawnInk.h"
#include "support/FakePlatform.h"
#include "support/MemorySettingsStore.h"
#include "support/ModalDriver.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/settings/INFO_VER.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <cmath>

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

QLabel *label(const INFO_VER &window, int index)
{
    return window.findChild<QLabel *>(QStringLiteral("Label1_%1").arg(index));
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

const QColor kPaleGreen(0xC0, 0xFF, 0xC0);
const QColor kGreen(0x00, 0xFF, 0x00);
const QColor kGrey(0x80, 0x80, 0x80);

// The colours of the mail labels (10, 11) and the web labels (12 to 14), each
// group named by one colour when all its labels agree, "mixed" when not.
QString groupColour(const INFO_VER &window, int first, int last)
{
    const QColor colour = textColour(label(window, first));
    for (int i = first + 1; i <= last; ++i) {
        if (textColour(label(window, i)) != colour)
            return QStringLiteral("mixed");
    }
    if (colour == kGreen)
        return QStringLiteral("green");
    if (colour == kPaleGreen)
        return QStringLiteral("pale");
    return colour.name();
}

QString lights(const INFO_VER &window)
{
    return groupColour(window, 10, 11) + QLatin1Char('/') + groupColour(window, 12, 14);
}

void hover(QWidget *widget, QPoint at = QPoint())
{
    QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
}

} // namespace

class TestAboutWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void shadowedTextsHaveABlackCopyOnTop_data();
    void shadowedTextsHaveABlackCopyOnTop();
    void shadowedTextsKeepToTheirDesignedBoxes_data();
    void shadowedTextsKeepToTheirDesignedBoxes();
    void windowAndLinksLook();

    void hoverLightsOneLinkGroupAtATime();
    void otherControlsLeaveTheLinksAsTheyAre();

    void clickingALinkOpensIt_data();
    void clickingALinkOpensIt();
    void clickingAnythingElseOpensNothing();
    void missingMailProgramAndBrowserAreReported();

    void okEnterAndEscapeClose();
    void showsHowFreshTheLoadedListIs();

private:
    UiContext context() { return {m_state, m_store, m_boxes, m_clipboard, m_help, m_web}; }
    // A shown window, so mouse moves reach it as they would from the desktop.
    void showAndWait(INFO_VER &window)
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    Module1 m_state;
    MemorySettingsStore m_store;
    ScriptedMessageBoxes m_boxes;
    FakeClipboard m_clipboard;
    RecordingHelpViewer m_help;
    RecordingWebOpener m_web;
};

void TestAboutWindow::init()
{
    m_state.options = Options();
    m_store.reset();
    m_boxes.clear();
    m_web.opened.clear();
    m_web.canOpen = true;
}

void TestAboutWindow::cleanup()
{
    QCOMPARE(m_boxes.unanswered(), 0);
    QCOMPARE(m_boxes.pendingAnswers(), std::size_t(0));
    // Whatever was done in the window, it leaves the settings alone.
    QVERIFY(m_store.writes().empty());
    QCOMPARE(m_store.storedKeys(), QStringList());
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

void TestAboutWindow::shadowedTextsHaveABlackCopyOnTop_data()
{
    QTest::addColumn<int>("colouredIndex");
    QTest::addColumn<int>("blackIndex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("offsetTwips");
    const QColor yellow(0xFF, 0xFF, 0x00);
    QTest::newRow("name, first part") << 0 << 1 << s("とるみ") << yellow << 120;
    QTest::newRow("name, last part") << 2 << 3 << s("ん") << yellow << 120;
    QTest::newRow("version") << 4 << 5 << s("Ver.3.1.0") << QColor(0xFF, 0xFF, 0xC0) << 90;
    QTest::newRow("systems") << 18 << 19 << s("for    Windows 2000/XP/Vista") << yellow << 90;
}

void TestAboutWindow::shadowedTextsHaveABlackCopyOnTop()
{
    QFETCH(int, colouredIndex);
    QFETCH(int, blackIndex);
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QFETCH(int, offsetTwips);
    INFO_VER window(context());
    const QLabel *coloured = label(window, colouredIndex);
    const QLabel *black = label(window, blackIndex);
    QVERIFY(coloured && black);
    QCOMPARE(window.Label1.at(static_cast<std::size_t>(blackIndex)), black);
    QCOMPARE(coloured->text(), text);
    QCOMPARE(black->text(), text);
    QCOMPARE(textColour(coloured), colour);
    QCOMPARE(textColour(black), QColor(0, 0, 0));
    QCOMPARE(black->font(), coloured->font());
    QCOMPARE(black->pos() - coloured->pos(), QPoint(pixels(offsetTwips), pixels(offsetTwips)));
    // Siblings later in the list are drawn over earlier ones.
    const QObjectList &stack = window.children();
    QVERIFY(stack.indexOf(black) > stack.indexOf(coloured));
    // Transparent, so the coloured copy shows where the black one leaves room.
    QVERIFY(!black->autoFillBackground());
    QVERIFY(!coloured->autoFillBackground());
    // A fallback font wider than the design's must not clip the text.
    QVERIFY(coloured->width() >= coloured->sizeHint().width());
}

void TestAboutWindow::shadowedTextsKeepToTheirDesignedBoxes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRectF>("designedTwips");
    QTest::newRow("name, first part") << 0 << QRectF(1260, 180, 3000, 1140);
    QTest::newRow("name, last part") << 2 << QRectF(4260, 870, 420, 450);
    QTest::newRow("version") << 4 << QRectF(5160, 1020, 1560, 420);
    QTest::newRow("systems") << 18 << QRectF(1260, 1560, 5000, 420);
}

void TestAboutWindow::shadowedTextsKeepToTheirDesignedBoxes()
{
    QFETCH(int, index);
    QFETCH(QRectF, designedTwips);
    // The stand-in fonts' taller lines must not push the name into the line
    // below it.
    INFO_VER window(context());
    QLabel *coloured = label(window, index);
    QVERIFY(coloured);
    const QRect designed(pixels(designedTwips.left()), pixels(designedTwips.top()), pixels(designedTwips.width()),
                         pixels(designedTwips.height()));
    const QString outside = inkOutside(*coloured, designed);
    QVERIFY2(outside.isEmpty(), qPrintable(outside));
}

void TestAboutWindow::windowAndLinksLook()
{
    INFO_VER window(context());
    QCOMPARE(window.windowTitle(), s("ﾊﾞｰｼﾞｮﾝ情報"));
    QVERIFY(window.isModal());
    QCOMPARE(window.palette().color(QPalette::Window), kGrey);
    QVERIFY(window.autoFillBackground());

    // The name is in bold Japanese type, larger than the rest.
    for (int index : {0, 2}) {
        const QFont font = label(window, index)->font();
        QVERIFY(font.bold());
        const QFontMetrics metrics(font);
        for (QChar ch : label(window, index)->text())
            QVERIFY2(metrics.inFont(ch), qPrintable(QFontInfo(font).family()));
    }
    QVERIFY(label(window, 0)->font().pointSizeF() > label(window, 4)->font().pointSizeF());

    // The freeware note, in its frame.
    QVERIFY(window.Frame1);
    QCOMPARE(window.Frame1->objectName(), s("Frame1"));
    const QLabel *note = window.Frame1->findChild<QLabel *>();
    QVERIFY(note);
    QVERIFY(note->text().contains(s("フリーウェア")));
    QCOMPARE(textColour(note), QColor(0xFF, 0xFF, 0xC0));
    const QFontMetrics noteMetrics(note->font());
    for (QChar ch : note->text()) {
        if (!ch.isSpace())
            QVERIFY2(noteMetrics.inFont(ch), qPrintable(QString(ch)));
    }

    QVERIFY(window.Image1);
    QCOMPARE(window.Image1->objectName(), s("Image1"));
    QVERIFY(!window.Image1->pixmap().isNull());

    // The web address is split in two labels that together make the address.
    QCOMPARE(label(window, 13)->text() + label(window, 14)->text(), s("https://torumin.example.org/"));
    QCOMPARE(label(window, 14)->x(), label(window, 13)->geometry().right() + 1);
    QCOMPARE(label(window, 14)->y(), label(window, 13)->y());

    QCOMPARE(label(window, 10)->text(), s("E-Mail Address："));
    QCOMPARE(label(window, 11)->text(), s("torumin@example.com"));
    QCOMPARE(label(window, 12)->text(), s("URL Address："));
    for (int index = 10; index <= 14; ++index) {
        const QLabel *link = label(window, index);
        QCOMPARE(link->toolTip(), index <= 11 ? s(" torumin@example.com ") : s(" https://torumin.example.org/ "));
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link->palette().color(QPalette::Window), kGrey);
        QVERIFY(link->autoFillBackground());
        QCOMPARE(textColour(link), kPaleGreen);
    }
    // Only the links look clickable.
    for (int index : {0, 4, 18})
        QCOMPARE(label(window, index)->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(m_web.opened.empty());
}

void TestAboutWindow::hoverLightsOneLinkGroupAtATime()
{
    INFO_VER window(context());
    showAndWait(window);
    const QPoint background(pixels(7000), pixels(4470));
    QVERIFY(!window.childAt(background));
    QCOMPARE(lights(window), s("pale/pale"));

    hover(label(window, 11));
    QCOMPARE(lights(window), s("green/pale"));
    hover(label(window, 13));
    QCOMPARE(lights(window), s("pale/green"));
    hover(label(window, 10));
    QCOMPARE(lights(window), s("green/pale"));
    hover(&window, background);
    QCOMPARE(lights(window), s("pale/pale"));

    // Each label of a group lights the whole group, even its last part of one
    // character.
    hover(label(window, 14), QPoint(1, 1));
    QCOMPARE(lights(window), s("pale/green"));
    hover(label(window, 12));
    QCOMPARE(lights(window), s("pale/green"));
    hover(&window, background);
    QCOMPARE(lights(window), s("pale/pale"));
    window.reject();
}

void TestAboutWindow::otherControlsLeaveTheLinksAsTheyAre()
{
    INFO_VER window(context());
    showAndWait(window);

    hover(label(window, 13));
    QCOMPARE(lights(window), s("pale/green"));
    hover(label(window, 4));
    QCOMPARE(lights(window), s("pale/green"));
    hover(label(window, 0));
    QCOMPARE(lights(window), s("pale/green"));
    hover(window.Frame1->findChild<QLabel *>());
    QCOMPARE(lights(window), s("pale/green"));
    hover(window.Image1);
    QCOMPARE(lights(window), s("pale/green"));
    hover(window.Command1);
    QCOMPARE(lights(window), s("pale/green"));

    hover(label(window, 11));
    QCOMPARE(lights(window), s("green/pale"));
    hover(label(window, 19));
    QCOMPARE(lights(window), s("green/pale"));
    window.reject();
}

void TestAboutWindow::clickingALinkOpensIt_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("url");
    QTest::newRow("mail caption") << 10 << s("mailto:torumin@example.com");
    QTest::newRow("mail address") << 11 << s("mailto:torumin@example.com");
    QTest::newRow("web caption") << 12 << s("https://torumin.example.org/");
    QTest::newRow("web address") << 13 << s("https://torumin.example.org/");
    QTest::newRow("web address, last part") << 14 << s("https://torumin.example.org/");
}

void TestAboutWindow::clickingALinkOpensIt()
{
    QFETCH(int, index);
    QFETCH(QString, url);
    INFO_VER window(context());
    showAndWait(window);
    QTest::mouseClick(label(window, index), Qt::LeftButton);
    QCOMPARE(m_web.opened, std::vector<QString>{url});
    QVERIFY(m_boxes.shown().empty());
    // The window stays open for the other link.
    QVERIFY(window.isVisible());
    window.reject();
}

void TestAboutWindow::clickingAnythingElseOpensNothing()
{
    INFO_VER window(context());
    showAndWait(window);
    for (int index : {0, 1, 2, 3, 4, 5, 18, 19})
        QTest::mouseClick(label(window, index), Qt::LeftButton);
    QTest::mouseClick(window.Frame1->findChild<QLabel *>(), Qt::LeftButton);
    QTest::mouseClick(window.Image1, Qt::LeftButton);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(pixels(7000), pixels(4470)));
    // Not a click either: pressed on a link, let go away from it.
    QTest::mousePress(label(window, 11), Qt::LeftButton);
    QTest::mouseRelease(label(window, 11), Qt::LeftButton, {}, QPoint(-pixels(300), label(window, 11)->height() / 2));
    QTest::mouseClick(label(window, 13), Qt::RightButton);
    QCOMPARE(m_web.opened, std::vector<QString>{});
    QVERIFY(m_boxes.shown().empty());
    QVERIFY(window.isVisible());
    window.reject();
}

void TestAboutWindow::missingMailProgramAndBrowserAreReported()
{
    m_web.canOpen = false;
    INFO_VER window(context());
    showAndWait(window);

    m_boxes.queueAnswer(MsgResult::Ok);
    QTest::mouseClick(label(window, 11), Qt::LeftButton);
    QCOMPARE(m_boxes.shown().size(), std::size_t(1));
    QCOMPARE(m_boxes.shown()[0].text, s("「Outlook Express」 が ｲﾝｽﾄｰﾙ されていません。"));
    QCOMPARE(m_boxes.shown()[0].title, s("OE ｲﾝｽﾄｰﾙ 確認"));
    QCOMPARE(m_boxes.shown()[0].style, 48);

    // The About window's text has no ideographic space at the end, unlike the
    // settings dialog's.
    m_boxes.queueAnswer(MsgResult::Ok);
    QTest::mouseClick(label(window, 14), Qt::LeftButton);
    QCOMPARE(m_boxes.shown().size(), std::size_t(2));
    QCOMPARE(m_boxes.shown()[1].text, s("「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。"));
    QCOMPARE(m_boxes.shown()[1].title, s("IE ｲﾝｽﾄｰﾙ 確認"));
    QCOMPARE(m_boxes.shown()[1].style, 48);

    QCOMPARE(m_web.opened, (std::vector<QString>{s("mailto:torumin@example.com"), s("https://torumin.example.org/")}));
    QVERIFY(window.isVisible());
    window.reject();
}

void TestAboutWindow::okEnterAndEscapeClose()
{
    {
        INFO_VER window(context());
        QCOMPARE(window.Command1->objectName(), s("Command1"));
        QCOMPARE(window.Command1->text(), s("OK"));
        QCOMPARE(window.Command1->toolTip(), s(" OK "));
        QVERIFY(window.Command1->isDefault());
        // Only here: a driver would close the windows the other cases show.
        ModalDriver driver;
        bool modalWhileOpen = false;
        driver.then([&](QWidget &modal) {
            modalWhileOpen = &modal == &window;
            static_cast<INFO_VER &>(modal).Command1->click();
        });
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QVERIFY(modalWhileOpen);
        QCOMPARE(driver.unexpected(), 0);
        QVERIFY(!window.isVisible());
    }
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        INFO_VER window(context());
        showAndWait(window);
        QTest::keyClick(&window, key);
        QVERIFY2(!window.isVisible(), qPrintable(QKeySequence(key).toString()));
    }
    QVERIFY(m_web.opened.empty());
}

void TestAboutWindow::showsHowFreshTheLoadedListIs()
{
    {
        INFO_VER window(context());
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("loadedList"))->text(),
                 QStringLiteral("郵便番号一覧：読み込まれていません"));
    }
    ListReadResult list = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
    QVERIFY(!list.error);
    m_state.table = std::move(list.table);
    m_state.tablePath = QStringLiteral(TORUMIN_FULL_LIST);
    m_state.tableDataDate = QDateTime(QDate(2025, 9, 30), QTime(12, 0));
    INFO_VER window(context());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("loadedList"))->text(),
             QStringLiteral("郵便番号一覧：124,495 件（2025/09/30 更新）"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("loadedOffices"))->text(),
             QStringLiteral("事業所の個別郵便番号一覧：読み込まれていません"));
    m_state.table = PostalTable();
    m_state.tablePath.clear();
}

QTEST_MAIN(TestAboutWindow)
#include "AboutWindowTest.moc"

#include "app/WindowGeometry.h"
#include "app/platform/QtMessageBoxes.h"
#include "support/DrawnInk.h"
#include "ui/ProgramMain.h"
#include "ui/dialogs/INITDISP.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace torumin;

class TestStartUpWindows final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void splashShowsItsTextsInJapaneseFonts();
    void splashTextsKeepToTheirDesignedBoxes_data();
    void splashTextsKeepToTheirDesignedBoxes();
    void splashClosesItselfAfterTwoSecondsAndIgnoresKeys();
    void messageBoxesShowExactTextsWithJapaneseButtons_data();
    void messageBoxesShowExactTextsWithJapaneseButtons();
};

void TestStartUpWindows::initTestCase()
{
    QVERIFY2(installJapaneseQtTexts(*qApp), "Qt's Japanese texts (qt6-translations-l10n) are not installed");
}

void TestStartUpWindows::cleanup()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

void TestStartUpWindows::splashShowsItsTextsInJapaneseFonts()
{
    INITDISP splash;
    const auto label = [&splash](int index) {
        return splash.findChild<QLabel *>(QStringLiteral("Label1_%1").arg(index));
    };
    const std::vector<std::pair<int, QString>> texts{
        {0, QStringLiteral("とるみ")}, {1, QStringLiteral("とるみ")}, {2, QStringLiteral("ん")},
        {3, QStringLiteral("ん")},     {4, QStringLiteral("Ver.3.1.0")}, {6, QStringLiteral("Ver.3.1.0")},
        {14, QStringLiteral("for      Windows 2000/XP/Vista")}, {15, QStringLiteral("for      Windows 2000/XP/Vista")},
    };
    for (const auto &[index, text] : texts) {
        QVERIFY2(label(index), qPrintable(QString::number(index)));
        QCOMPARE(label(index)->text(), text);
    }
    // The shadow lies under the text, down and to the right.
    QVERIFY(label(0)->geometry().topLeft().x() > label(1)->geometry().topLeft().x());
    QVERIFY(label(0)->geometry().topLeft().y() > label(1)->geometry().topLeft().y());
    QCOMPARE(label(1)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    QCOMPARE(label(6)->palette().color(QPalette::WindowText), QColor(255, 255, 192));
    QCOMPARE(splash.palette().color(QPalette::Window), QColor(128, 128, 128));
    const QLabel *image = splash.findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(image);
    QVERIFY(!image->pixmap().isNull());

    // The font actually chosen has the kana; a box instead of a glyph fails here.
    for (int index : {1, 3}) {
        const QFontMetrics metrics(label(index)->font());
        for (QChar ch : label(index)->text())
            QVERIFY2(metrics.inFont(ch), qPrintable(QFontInfo(label(index)->font()).family()));
    }
}

void TestStartUpWindows::splashTextsKeepToTheirDesignedBoxes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QRectF>("designedTwips");
    QTest::newRow("name, 72 pt") << 1 << QRectF(2070, 300, 4995, 1425);
    QTest::newRow("name, last character") << 3 << QRectF(7110, 1230, 465, 405);
    QTest::newRow("version") << 6 << QRectF(420, 1290, 1365, 405);
    QTest::newRow("systems") << 14 << QRectF(1335, 1860, 5235, 465);
}

void TestStartUpWindows::splashTextsKeepToTheirDesignedBoxes()
{
    QFETCH(int, index);
    QFETCH(QRectF, designedTwips);
    // Whatever line height the stand-in font has, the glyphs stay in the box
    // they were designed for and so clear of the texts around them.
    INITDISP splash;
    QLabel *text = splash.findChild<QLabel *>(QStringLiteral("Label1_%1").arg(index));
    QVERIFY(text);
    const double dpi = splash.logicalDpiY();
    const auto px = [dpi](double twips) { return static_cast<int>(std::lround(twipsToPixels(twips, dpi))); };
    const QRect designed(px(designedTwips.left()), px(designedTwips.top()), px(designedTwips.width()),
                         px(designedTwips.height()));
    const QString outside = torumin::testing::inkOutside(*text, designed);
    QVERIFY2(outside.isEmpty(), qPrintable(outside));
}

void TestStartUpWindows::splashClosesItselfAfterTwoSecondsAndIgnoresKeys()
{
    INITDISP splash;
    bool stillOpenAfterEscape = false;
    QTimer::singleShot(300, &splash, [&] {
        QTest::keyClick(&splash, Qt::Key_Escape);
        splash.close();
        stillOpenAfterEscape = splash.isVisible();
    });
    QElapsedTimer clock;
    clock.start();
    splash.exec();
    QVERIFY(stillOpenAfterEscape);
    QVERIFY2(clock.elapsed() >= INITDISP::kShowMilliseconds - 50, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!splash.isVisible());
}

void TestStartUpWindows::messageBoxesShowExactTextsWithJapaneseButtons_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("pressOk");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("icon");
    QTest::newRow("48") << 48 << true << QStringList{QStringLiteral("OK")} << int(QMessageBox::Warning);
    QTest::newRow("33 OK") << 33 << true << QStringList{QStringLiteral("OK"), QStringLiteral("キャンセル")}
                           << int(QMessageBox::Question);
    QTest::newRow("33 Cancel") << 33 << false << QStringList{QStringLiteral("OK"), QStringLiteral("キャンセル")}
                               << int(QMessageBox::Question);
}

void TestStartUpWindows::messageBoxesShowExactTextsWithJapaneseButtons()
{
    QFETCH(int, style);
    QFETCH(bool, pressOk);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);

    QString seenTitle;
    QString seenText;
    QStringList seenButtons;
    int seenIcon = -1;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;  // the test fails below on the empty title, without hanging
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = int(box->icon());
        QAbstractButton *choice = nullptr;
        for (QAbstractButton *button : box->buttons()) {
            seenButtons << button->text();
            if ((box->buttonRole(button) == QMessageBox::AcceptRole) == pressOk)
                choice = button;
        }
        seenButtons.sort();
        if (choice)
            choice->click();
        else
            box->reject();
    });

    QtMessageBoxes boxes;
    const MsgResult result = boxes.MsgBox(QStringLiteral("一行目。　\r\r二行目。  "), style, QStringLiteral("*.CSV 確認"));
    QCOMPARE(seenTitle, QStringLiteral("*.CSV 確認"));
    QCOMPARE(seenText, QStringLiteral("一行目。　\n\n二行目。  "));
    buttons.sort();
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(result, pressOk ? MsgResult::Ok : MsgResult::Cancel);
}

QTEST_MAIN(TestStartUpWindows)
#include "StartUpWindowTest.moc"

#include "app/EnvironmentProbes.h"
#include "app/Module1.h"
#include "data/OfficeTable.h"
#include "app/HistoryStore.h"
#include "support/FakeServices.h"
#include "support/ModalDriver.h"
#include "support/TableFixtures.h"
#include "ui/dialogs/JIGYOSYO_KEN.h"
#include "ui/dialogs/YB_KOUHO.h"
#include "ui/main/MainMenus.h"
#include "ui/main/TORUMIN.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace torumin;
using namespace torumin::testing;

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Text as an input method hands it over when the user accepts a conversion.
void commitText(QWidget *target, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(target, &commit);
}

} // namespace

class TestOfficeWindow final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void typedNameNarrowsAndEnterTakesTheHighlightedOffice();
    void copiesALineInParts();
    void officeCodeAnswersACodeSearch();
    void candidatesPutTheNamedOfficeFirstAndSelectIt();

private:
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<ModalDriver> m_driver;
    EnvironmentProbes m_probes;
};

void TestOfficeWindow::init()
{
    m_services = std::make_unique<FakeServices>();
    OfficeReadResult offices = readOfficeListFile(QStringLiteral(TORUMIN_TEST_FIXTURES "/jigyosyo_small.csv"));
    QVERIFY(!offices.error);
    m_services->state.offices = std::move(offices.table);
    m_services->state.table = tableOf({{s("1000005"), s("ﾄｳｷｮｳﾄ"), s("ﾁﾖﾀﾞｸ"), s("ﾏﾙﾉｳﾁ"), s("東京都"), s("千代田区"), s("丸の内")}});
    for (const char *key : {"OptMBar", "YJ_Copy(0)", "YJ_Copy(1)"})
        m_services->state.options.set(QString::fromLatin1(key), s("1"));
    m_driver = std::make_unique<ModalDriver>();
}

void TestOfficeWindow::cleanup()
{
    QCOMPARE(m_driver->unexpected(), 0);
    QCOMPARE(m_driver->pending(), std::size_t(0));
    m_driver.reset();
    QCOMPARE(m_services->boxes.unanswered(), 0);
    m_services.reset();
}

void TestOfficeWindow::typedNameNarrowsAndEnterTakesTheHighlightedOffice()
{
    TORUMIN window(m_services->context(), m_probes);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.Text1()->setFocus();
    QCOMPARE(window.menus().mnuSeekKensaku[4]->text(), s("事業所名 → 郵便番号(&O)"));
    QStringList listed;
    m_driver->then([&listed](QWidget &modal) {
        auto &dialog = static_cast<JIGYOSYO_KEN &>(modal);
        QCOMPARE(dialog.windowTitle(), s("事業所名検索"));
        QCOMPARE(dialog.focusWidget(), dialog.Text1);
        QTRY_VERIFY(dialog.isActiveWindow());
        QCOMPARE(dialog.listedOffices().size(), std::size_t(6));  // every office before a key
        commitText(dialog.Text1, s("東京中央"));
        QCOMPARE(dialog.listedOffices(), (std::vector<int>{1, 2}));
        // The arrows move through the list while the text keeps the keys.
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Down);
        QCOMPARE(dialog.focusWidget(), dialog.Text1);
        QCOMPARE(dialog.List1->currentIndex().row(), 1);
        // Sent to the window, as the window system does, so the dialog's
        // default button gets its say.
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
    });
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE(window.Text1()->toPlainText(), s("100-8994\u3000東京中央郵便局\u3000郵便課"));
    QCOMPARE(historyEntries(m_services->state.options),
             QStringList{s("〒100-8994\u3000東京都千代田区丸の内２丁目７－２\u3000東京中央郵便局\u3000郵便課")});

    // The next search starts from the text that found it.
    m_driver->then([](QWidget &modal) {
        auto &dialog = static_cast<JIGYOSYO_KEN &>(modal);
        QCOMPARE(dialog.Text1->text(), s("東京中央"));
        QCOMPARE(dialog.listedOffices().size(), std::size_t(2));
        dialog.reject();
    });
    window.menus().mnuSeekKensaku[4]->trigger();
    window.hide();
}

void TestOfficeWindow::copiesALineInParts()
{
    JIGYOSYO_KEN dialog(m_services->context());
    dialog.show();
    commitText(dialog.Text1, s("ａｂｃ(株)"));
    QCOMPARE(dialog.listedOffices(), std::vector<int>{3});
    const struct {
        const char *code, *address, *copied;
    } cases[] = {
        {"1", "1", "〒100-8691\u3000（株）ＡＢＣ商会\u3000東京都千代田区丸の内東京中央郵便局私書箱第１号"},
        {"1", "0", "〒100-8691"},
        {"0", "1", "（株）ＡＢＣ商会\u3000東京都千代田区丸の内東京中央郵便局私書箱第１号"},
    };
    for (const auto &c : cases) {
        m_services->state.options.set(s("YJ_Copy(0)"), s(c.code));
        m_services->state.options.set(s("YJ_Copy(1)"), s(c.address));
        dialog.Command1[1]->click();
        QCOMPARE(m_services->clipboard.contents.value_or(QString()), s(c.copied));
    }
    dialog.reject();
}

void TestOfficeWindow::officeCodeAnswersACodeSearch()
{
    TORUMIN window(m_services->context(), m_probes);
    window.show();
    m_driver->then([](QWidget &dialog) {
        dialog.findChild<QLineEdit *>(s("Text1_0"))->setText(s("100"));
        dialog.findChild<QLineEdit *>(s("Text1_1"))->setText(s("8994"));
        dialog.findChild<QPushButton *>(s("Command1_0"))->click();
    });
    window.menus().mnuSeekKensaku[0]->trigger();
    QCOMPARE(window.Text1()->toPlainText(), s("東京都千代田区丸の内２丁目７－２\u3000東京中央郵便局"));
    QCOMPARE(historyEntries(m_services->state.options),
             QStringList{s("〒100-8994\u3000東京都千代田区丸の内２丁目７－２\u3000東京中央郵便局")});
    window.hide();
}

void TestOfficeWindow::candidatesPutTheNamedOfficeFirstAndSelectIt()
{
    for (const char *key : {"YJ_Disp(0)", "YJ_Disp(1)", "YJ_Disp(2)"})
        m_services->state.options.set(QString::fromLatin1(key), s("1"));
    m_services->state.options.set(s("OptYBketa"), s("3"));
    m_services->state.options.set(s("OptYBsize"), s("9"));
    const struct {
        const char *address;
        QStringList lines;
    } cases[] = {
        {"東京都千代田区丸の内2-7-2 東京中央郵便局",
         {s("〒100-8994　東京都千代田区丸の内２丁目７－２　東京中央郵便局"), s("〒100-0005　東京都千代田区丸の内")}},
        {"東京都千代田区丸の内2-7-2", {s("〒100-0005　東京都千代田区丸の内")}},
    };
    for (const auto &c : cases) {
        YB_KOUHO window(m_services->context(), s(c.address));
        const auto &model = *window.List1->model();
        QStringList lines;
        for (int row = 0; row < model.rowCount(); ++row)
            lines << model.index(row, 0).data().toString();
        QCOMPARE(lines, c.lines);
        QCOMPARE(window.List1->currentIndex().row(), 0);
        window.reject();
    }
}

QTEST_MAIN(TestOfficeWindow)
#include "OfficeWindowTest.moc"

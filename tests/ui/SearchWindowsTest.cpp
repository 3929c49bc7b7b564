#include "app/EnvironmentProbes.h"
#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/platform/QtMessageBoxes.h"
#include "data/PostalListReader.h"
#include "search/PickLists.h"
#include "app/HistoryStore.h"
#include "support/FakePlatform.h"
#include "support/FakeServices.h"
#include "support/MemorySettingsStore.h"
#include "support/ModalDriver.h"
#include "support/ScriptedMessageBoxes.h"
#include "ui/dialogs/JUSHO_KEN.h"
#include "ui/dialogs/YUBIN_KEN.h"
#include "ui/main/MainCommands.h"
#include "ui/main/MainMenus.h"
#include "ui/main/RIREKI.h"
#include "ui/main/TORUMIN.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QThread>

#include <cmath>
#include <memory>

using namespace torumin;
using namespace torumin::testing;

namespace {

template <typename T>
T *child(QWidget &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}

void click(QWidget &dialog, const char *button)
{
    QPushButton *target = child<QPushButton>(dialog, button);
    QVERIFY2(target, button);
    target->click();
}

// Picks an item of a combo box by its text, as a user choosing from the list.
void pick(QComboBox *combo, const QString &text)
{
    QVERIFY(combo);
    combo->hidePopup();
    const int index = combo->findText(text, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
}

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

void activate(QWidget &window)
{
    window.activateWindow();
    QTRY_VERIFY(window.isActiveWindow());
}

// Where the keyboard's keys arrive: at an open popup (a list or offered
// completions) when there is one, else at the focus. Asked afresh for each
// key, as a person's keys come after the window system has settled: the
// offscreen platform would still send a key to a popup the last key closed.
QWidget *keyTarget()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    return QApplication::focusWidget();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString())
{
    QTest::sendKeyEvent(QTest::Click, keyTarget(), key, text, modifiers);
}

// Types one key per character: "\r" is Return, "\n" the keypad's Enter.
void typeKeys(const QString &keys)
{
    for (const QChar ch : keys) {
        if (ch == u'\r')
            press(Qt::Key_Return);
        else if (ch == u'\n')
            press(Qt::Key_Enter, Qt::KeypadModifier);
        else if (ch >= u'0' && ch <= u'9')
            press(Qt::Key(ch.unicode()), Qt::NoModifier, QString(ch));
        else
            press(Qt::Key_unknown, Qt::NoModifier, QString(ch));
    }
}

// Text as an input method hands it over when the user accepts a conversion.
void commitText(QWidget *target, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(target, &commit);
}

// A left click where the window system puts it, so an open popup takes the
// release as it would from a real mouse.
void clickAt(QWidget &window, QWidget *target, QPoint inTarget)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, target->mapTo(&window, inTarget));
}

} // namespace

class TestSearchWindows final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void codeSearchFromTheKeyboard();
    void continuousCodeSearchReopensUntilClosed();
    void longContinuousChainDoesNotNest();
    void codeCheckMessagesKeepTheDialogOpen();
    void addressSearchKanjiAndKana_data();
    void addressSearchKanjiAndKana();
    void addressDialogChecksAndForgetsByOption();
    void addressBoxesKeepWhatIsTyped_data();
    void addressBoxesKeepWhatIsTyped();
    void enterMovesOnUntilTheTownBox_data();
    void enterMovesOnUntilTheTownBox();
    void boxNamedByTheCheckIsEnteredAsByTab_data();
    void boxNamedByTheCheckIsEnteredAsByTab();
    void clickIntoTheCityBoxDropsItsList_data();
    void clickIntoTheCityBoxDropsItsList();
    void keysAtAnOpenListGoIntoTheBox_data();
    void keysAtAnOpenListGoIntoTheBox();
    void aPickedTownGivesItsOwnCode_data();
    void aPickedTownGivesItsOwnCode();
    void codeBoxesTakeTypingAcross_data();
    void codeBoxesTakeTypingAcross();
    void pastedCodeFillsBothBoxes_data();
    void pastedCodeFillsBothBoxes();
    void resultBoxCopyPasteClear();
    void eraseAsksAndWritesEightKeys_data();
    void eraseAsksAndWritesEightKeys();
    void historyWindowCommitsDiscardsAndCopies();
    void historyListShowsWholeRows();

private:
    std::unique_ptr<TORUMIN> showMainWindow();
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

void TestSearchWindows::initTestCase()
{
    ListReadResult list = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
    QVERIFY2(!list.error, list.error ? qPrintable(list.error->message) : "");
    m_state.table = std::move(list.table);
    QCOMPARE(m_state.table.recordCount(), 124495);
}

void TestSearchWindows::init()
{
    m_state.options = Options();
    m_state.searchRequested = 0;
    m_state.SearchMode = 0;
    m_store.reset();
    m_boxes.clear();
    m_clipboard.contents.reset();
    m_clipboard.usable = true;
    m_clipboard.writes = 0;
    m_help.requests.clear();
    Options &o = m_state.options;
    for (const char *key : {"OptMBar", "OptTemae", "OptLak(0)", "OptLak(1)", "OptLak(2)", "OptLak(3)", "YJ_Copy(0)",
                            "YJ_Copy(1)"})
        o.set(QString::fromLatin1(key), QStringLiteral("1"));
    for (int mode = 0; mode < 4; ++mode)
        o.set(arrayKey(QStringLiteral("OptRen"), mode), QStringLiteral("0"));
    o.set(QStringLiteral("OptColor(1)"), QStringLiteral("&H00FFFFFF&"));
    m_driver = std::make_unique<ModalDriver>();
}

void TestSearchWindows::cleanup()
{
    QCOMPARE(m_driver->unexpected(), 0);
    QCOMPARE(m_driver->pending(), std::size_t(0));
    m_driver.reset();
    QCOMPARE(m_boxes.unanswered(), 0);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

std::unique_ptr<TORUMIN> TestSearchWindows::showMainWindow()
{
    auto window = std::make_unique<TORUMIN>(context(), m_probes);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("main window not active");
    window->Text1()->setFocus();
    return window;
}

void TestSearchWindows::codeSearchFromTheKeyboard()
{
    for (const auto &[slot, entry] : {std::pair{0, s("older")}, std::pair{2, s("kept")}}) {
        m_state.options.set(historyKey(slot), entry);
        m_store.preset(Section::Rireki, historyKey(slot), entry);
    }
    const auto window = showMainWindow();

    QString focusAtOpening;
    m_driver->then([&](QWidget &dialog) {
        auto *first = child<QLineEdit>(dialog, "Text1_0");
        auto *second = child<QLineEdit>(dialog, "Text1_1");
        focusAtOpening = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
        QTest::keyClicks(first, QStringLiteral("100"));
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(dialog.focusWidget(), second);
        QTest::keyClicks(second, QStringLiteral("0005"));
        QTest::keyClick(second, Qt::Key_Return);
        // Enter moves to the search button without searching.
        QCOMPARE(dialog.focusWidget(), child<QPushButton>(dialog, "Command1_0"));
        QVERIFY(dialog.isVisible());
        // Enter again, on the focused button, searches (sent to the window, as
        // the window system does, so shortcuts get their say first).
        QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
    });
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);

    QCOMPARE(window->Text1()->toPlainText(), s("東京都千代田区丸の内"));
    QCOMPARE(m_state.options.value(historyKey(1)), s("〒100-0005　東京都千代田区丸の内"));
    QCOMPARE(m_store.ReadSetting(Section::Rireki, historyKey(1)), s("〒100-0005　東京都千代田区丸の内"));
    QCOMPARE(m_store.ReadSetting(Section::Saigo, s("YubinB")), s("1000005"));
    QCOMPARE(focusAtOpening, s("Text1_0"));

    // The whole list is loaded: the far end of it is found from the toolbar.
    m_driver->then([&](QWidget &dialog) {
        // The last code comes back in the boxes.
        QCOMPARE(child<QLineEdit>(dialog, "Text1_0")->text(), s("100"));
        QCOMPARE(child<QLineEdit>(dialog, "Text1_1")->text(), s("0005"));
        child<QLineEdit>(dialog, "Text1_0")->setText(s("907"));
        child<QLineEdit>(dialog, "Text1_1")->setText(s("1801"));
        click(dialog, "Command1_0");
    });
    window->menus().toolbarButtons[1]->trigger();
    QCOMPARE(window->Text1()->toPlainText(), s("沖縄県八重山郡与那国町与那国"));
    QCOMPARE(m_state.options.value(historyKey(3)), s("〒907-1801　沖縄県八重山郡与那国町与那国"));
    window->hide();
}

void TestSearchWindows::continuousCodeSearchReopensUntilClosed()
{
    m_state.options.set(s("OptRen(0)"), s("1"));
    const auto window = showMainWindow();
    m_driver->then([](QWidget &dialog) {
        child<QLineEdit>(dialog, "Text1_0")->setText(s("999"));
        child<QLineEdit>(dialog, "Text1_1")->setText(s("9999"));
        click(dialog, "Command1_0");
    });
    QString shownWhenReopened;
    bool resultInView = false;
    m_driver->then([&](QWidget &dialog) {
        shownWhenReopened = window->Text1()->toPlainText();
        const QRect result(window->Text1()->mapToGlobal(QPoint(0, 0)), window->Text1()->size());
        resultInView = !dialog.frameGeometry().intersects(result);
        click(dialog, "Command1_1");
    });
    window->menus().mnuSeekKensaku[0]->trigger();
    QCOMPARE(shownWhenReopened, s("指定の郵便番号に該当する 「住所」 は存在しません。　"));
    QVERIFY(resultInView);
    QCOMPARE(historyEntries(m_state.options),
             QStringList{s("〒999-9999　指定の郵便番号に該当する 「住所」 は存在しません。　")});
    window->hide();
}

void TestSearchWindows::longContinuousChainDoesNotNest()
{
    m_state.options.set(s("OptRen(0)"), s("1"));
    const auto window = showMainWindow();
    constexpr int searches = 1000;
    int lowest = 1 << 30;
    int highest = 0;
    for (int i = 0; i < searches; ++i) {
        m_driver->then([&](QWidget &dialog) {
            const int level = QThread::currentThread()->loopLevel();
            lowest = std::min(lowest, level);
            highest = std::max(highest, level);
            child<QLineEdit>(dialog, "Text1_0")->setText(s("100"));
            child<QLineEdit>(dialog, "Text1_1")->setText(s("0005"));
            click(dialog, "Command1_0");
        });
    }
    m_driver->then([](QWidget &dialog) { static_cast<QDialog &>(dialog).reject(); });
    window->menus().mnuSeekKensaku[0]->trigger();
    QCOMPARE(lowest, highest);
    QCOMPARE(m_state.options.value(historyKey(19)), s("〒100-0005　東京都千代田区丸の内"));
    window->hide();
}

void TestSearchWindows::codeCheckMessagesKeepTheDialogOpen()
{
    m_state.options.set(s("OptLak(0)"), s("0"));
    m_state.options.set(s("YubinB"), s("1000005"));
    YUBIN_KEN dialog(context());
    dialog.show();
    // Without the keep-last option the boxes open empty and the code is forgotten.
    QCOMPARE(dialog.Text1[0]->text(), QString());
    QCOMPARE(m_state.options.value(s("YubinB")), QString());

    dialog.Text1[0]->setText(s("10a"));
    dialog.Text1[1]->setFocus();
    m_boxes.queueAnswer(MsgResult::Ok);
    m_boxes.queueAnswer(MsgResult::Ok);
    QCOMPARE(dialog.Yubin_Check(), 1);
    QCOMPARE(m_boxes.shown().size(), std::size_t(2));
    QCOMPARE(m_boxes.shown()[0].title, s("桁数確認"));
    QCOMPARE(m_boxes.shown()[1].title, s("数字確認"));

    m_boxes.clear();
    dialog.Text1[0]->setText(s("１０o"));
    dialog.Text1[1]->setText(s("0005"));
    m_boxes.queueAnswer(MsgResult::Ok);
    dialog.Command1[0]->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_boxes.shown().size(), std::size_t(1));
    QCOMPARE(m_boxes.shown()[0].text, s("入力された郵便番号が数字ではありません。　"));
    QCOMPARE(dialog.focusWidget(), dialog.Text1[0]);
    QCOMPARE(m_state.searchRequested, 0);

    dialog.Command1[2]->click();
    QCOMPARE(m_help.requests, std::vector<int>{10030});
    dialog.Command1[1]->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_state.searchRequested, 0);
}

void TestSearchWindows::addressSearchKanjiAndKana_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("kanji") << 1 << QStringList{s("東京都"), s("千代田区"), s("丸の内")};
    QTest::newRow("kana") << 2 << QStringList{s("ﾄｳｷｮｳﾄ"), s("ﾁﾖﾀﾞｸ"), s("ﾏﾙﾉｳﾁ")};
}

void TestSearchWindows::addressSearchKanjiAndKana()
{
    QFETCH(int, mode);
    QFETCH(QStringList, names);
    const auto window = showMainWindow();
    int prefectures = 0;
    bool cityListDropped = false;
    m_driver->then([&](QWidget &dialog) {
        dialog.activateWindow();
        QTRY_VERIFY(dialog.isActiveWindow());
        auto *pref = child<QComboBox>(dialog, "Combo1_0");
        auto *city = child<QComboBox>(dialog, "Combo1_1");
        auto *town = child<QComboBox>(dialog, "Combo1_2");
        prefectures = pref->count();
        pick(pref, names[0]);
        QTest::keyClick(pref, Qt::Key_Tab);

        cityListDropped = city->view()->isVisible();
        pick(city, names[1]);
        town->setFocus(Qt::TabFocusReason);
        pick(town, names[2]);
        click(dialog, "Command1_0");
    });
    QTest::keyClick(window.get(), mode == 1 ? Qt::Key_J : Qt::Key_K, Qt::ControlModifier);

    QCOMPARE(prefectures, 47);
    QVERIFY(cityListDropped);
    QCOMPARE(window->Text1()->toPlainText(), s("100-0005"));
    const QString family = mode == 1 ? s("Jusho") : s("Jusho2");
    QCOMPARE(m_store.ReadSetting(Section::Saigo, arrayKey(family, 1)), names[1]);
    QCOMPARE(m_state.options.value(historyKey(0)), s("〒100-0005　") + names.join(QString()));
    window->hide();
}

void TestSearchWindows::addressDialogChecksAndForgetsByOption()
{
    m_state.SearchMode = 2;
    m_state.options.set(s("OptLak(2)"), s("0"));
    m_state.options.set(s("Jusho2(1)"), s("ﾁﾖﾀﾞｸ"));
    m_state.options.set(s("Jusho(1)"), s("千代田区"));
    JUSHO_KEN dialog(context());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.Label1[2]->text(), s("ｼ/ｸﾒｲ"));
    QCOMPARE(m_state.options.value(s("Jusho2(1)")), QString());
    QCOMPARE(m_state.options.value(s("Jusho(1)")), s("千代田区"));

    dialog.Combo1[1]->setEditText(s("ﾁﾖﾀﾞｸ"));
    m_boxes.queueAnswer(MsgResult::Ok);
    dialog.Command1[0]->click();
    QCOMPARE(m_boxes.shown().size(), std::size_t(1));
    QCOMPARE(m_boxes.shown()[0].text, s("「ﾏﾁ/ﾑﾗ/ｱｻﾞﾒｲ」 が入力されていません。　"));
    QCOMPARE(m_boxes.shown()[0].title, s("入力確認"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_state.searchRequested, 0);

    // Entering the town box lists every row of that city, of every prefecture.
    dialog.activateWindow();
    QTRY_VERIFY(dialog.isActiveWindow());
    dialog.Combo1[0]->setFocus(Qt::BacktabFocusReason);
    dialog.Combo1[1]->setFocus(Qt::TabFocusReason);
    dialog.Combo1[1]->hidePopup();
    QCOMPARE(dialog.Combo1[1]->currentText(), QString());  // entering the box starts it afresh
    dialog.Combo1[1]->setEditText(s("ﾌﾁｭｳｼ"));
    dialog.Combo1[2]->setFocus(Qt::TabFocusReason);
    QCOMPARE(dialog.Combo1[2]->count(), 39 + 46);  // 府中市 of 東京都 and of 広島県
    QCOMPARE(dialog.Combo1[2]->itemText(1), s("ｱｻﾋﾁｮｳ"));

    dialog.Command1[2]->click();
    QCOMPARE(m_help.requests, std::vector<int>{10032});
    dialog.reject();
}

void TestSearchWindows::addressBoxesKeepWhatIsTyped_data()
{
    QTest::addColumn<bool>("byInputMethod");
    QTest::addColumn<bool>("tabFirst");
    QTest::newRow("keys, Tab, search") << false << true;
    QTest::newRow("keys, search") << false << false;
    QTest::newRow("input method, Tab, search") << true << true;
}

void TestSearchWindows::addressBoxesKeepWhatIsTyped()
{
    QFETCH(bool, byInputMethod);
    QFETCH(bool, tabFirst);
    // 弘前市 lists 八幡町 (036-8057) before 八幡 (036-1314).
    const auto window = showMainWindow();
    QString typed;
    m_driver->then([&](QWidget &dialog) {
        activate(dialog);
        auto *pref = child<QComboBox>(dialog, "Combo1_0");
        auto *city = child<QComboBox>(dialog, "Combo1_1");
        auto *town = child<QComboBox>(dialog, "Combo1_2");
        pick(pref, s("青森県"));
        QTest::keyClick(pref, Qt::Key_Tab);
        pick(city, s("弘前市"));
        QTest::keyClick(city, Qt::Key_Tab);
        QCOMPARE(dialog.focusWidget(), town);
        if (byInputMethod) {
            commitText(town, s("八"));
            commitText(town, s("幡"));
        } else {
            typeKeys(s("八幡"));
        }
        typed = town->currentText();
        if (tabFirst)
            press(Qt::Key_Tab);
        click(dialog, "Command1_0");
    });
    QTest::keyClick(window.get(), Qt::Key_J, Qt::ControlModifier);
    QCOMPARE(typed, s("八幡"));
    QCOMPARE(m_state.options.value(s("Jusho(2)")), s("八幡"));
    QCOMPARE(window->Text1()->toPlainText(), s("036-1314"));
    window->hide();
}

void TestSearchWindows::enterMovesOnUntilTheTownBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void TestSearchWindows::enterMovesOnUntilTheTownBox()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    const auto enter = [&] { press(Qt::Key(key), Qt::KeyboardModifiers(modifiers)); };
    // The last search comes back; only the prefecture is retyped.
    m_state.SearchMode = 1;
    m_state.options.set(s("Jusho(0)"), s("東京都"));
    m_state.options.set(s("Jusho(1)"), s("千代田区"));
    m_state.options.set(s("Jusho(2)"), s("丸の内"));
    JUSHO_KEN dialog(context());
    dialog.show();
    activate(dialog);
    dialog.Combo1[0]->lineEdit()->selectAll();
    typeKeys(s("青森県"));
    enter();
    QCOMPARE(dialog.focusWidget(), dialog.Combo1[1]);
    QVERIFY(dialog.Combo1[1]->view()->isVisible());
    QCOMPARE(dialog.Combo1[1]->itemText(0), s("青森市"));
    QCOMPARE(m_state.searchRequested, 0);

    pick(dialog.Combo1[1], s("弘前市"));
    enter();
    QCOMPARE(dialog.focusWidget(), dialog.Combo1[2]);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.Combo1[2]->currentText(), QString());

    // In the town box Enter searches what was typed, completions offered or not.
    typeKeys(s("八幡"));
    enter();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_state.searchRequested, 1);
    QCOMPARE(m_state.options.value(s("Jusho(1)")), s("弘前市"));
    QCOMPARE(m_state.options.value(s("Jusho(2)")), s("八幡"));
    QVERIFY(m_boxes.shown().empty());
}

void TestSearchWindows::boxNamedByTheCheckIsEnteredAsByTab_data()
{
    QTest::addColumn<bool>("realBox");
    QTest::addColumn<QString>("city");
    QTest::newRow("city box, scripted message") << false << QString();
    QTest::newRow("city box, real message box") << true << QString();
    QTest::newRow("town box, real message box") << true << s("千代田区");
}

void TestSearchWindows::boxNamedByTheCheckIsEnteredAsByTab()
{
    QFETCH(bool, realBox);
    QFETCH(QString, city);
    QtMessageBoxes real;
    UiContext withBoxes = context();
    UiContext withRealBoxes{m_state, m_store, real, m_clipboard, m_help, m_web};
    m_state.SearchMode = 1;
    m_state.options.set(s("OptLak(1)"), s("0"));
    JUSHO_KEN dialog(realBox ? withRealBoxes : withBoxes);
    dialog.show();
    activate(dialog);
    dialog.Combo1[0]->setEditText(s("東京都"));
    dialog.Combo1[1]->setEditText(city);
    QString shown;
    if (realBox) {
        m_driver->then([&](QWidget &box) {
            shown = static_cast<QMessageBox &>(box).text();
            QTest::keyClick(&box, Qt::Key_Return);
        });
    } else {
        m_boxes.queueAnswer(MsgResult::Ok);
    }
    dialog.Command1[0]->setFocus();
    QTest::keyClick(dialog.Command1[0], Qt::Key_Return);

    const bool cityBox = city.isEmpty();
    QComboBox *entered = dialog.Combo1[cityBox ? 1 : 2];
    QTRY_VERIFY(dialog.isActiveWindow());
    QCOMPARE(dialog.focusWidget(), entered);
    if (cityBox) {
        QTRY_VERIFY(entered->view()->isVisible());
        QCOMPARE(entered->count(), cityList(m_state.table, AddressScript::Kanji, s("東京都")).size());
        entered->hidePopup();
    } else {
        QCOMPARE(entered->count(), townList(m_state.table, AddressScript::Kanji, s("東京都"), city).names.size());
    }
    if (realBox)
        QCOMPARE(shown, cityBox ? s("「市/区名」 が入力されていません。　") : s("「町/村/字名」 が入力されていません。　"));
    dialog.reject();
}

void TestSearchWindows::clickIntoTheCityBoxDropsItsList_data()
{
    QTest::addColumn<bool>("onArrow");
    QTest::newRow("text") << false;
    QTest::newRow("arrow") << true;
}

void TestSearchWindows::clickIntoTheCityBoxDropsItsList()
{
    QFETCH(bool, onArrow);
    m_state.SearchMode = 1;
    JUSHO_KEN dialog(context());
    dialog.show();
    activate(dialog);
    dialog.Combo1[0]->setEditText(s("北海道"));
    QComboBox *city = dialog.Combo1[1];
    QStyleOptionComboBox option;
    option.initFrom(city);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QPoint where = onArrow
        ? city->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, city).center()
        : city->lineEdit()->geometry().center();
    clickAt(dialog, city, where);
    QCOMPARE(dialog.focusWidget(), city);
    QCOMPARE(city->itemText(0), s("札幌市中央区"));
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QVERIFY(city->view()->isVisible());
    city->hidePopup();
    dialog.reject();
}

void TestSearchWindows::keysAtAnOpenListGoIntoTheBox_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("box");
    QTest::addColumn<QStringList>("above");  // the boxes before it
    QTest::addColumn<QString>("typed");      // by keys in kanji mode, by an input method in kana mode
    QTest::addColumn<int>("key");            // what ends the typing
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("focus");
    const int tab = Qt::Key_Tab;
    const int esc = Qt::Key_Escape;
    const int ret = Qt::Key_Return;
    QTest::newRow("kanji city, Tab") << 1 << 1 << QStringList{s("東京都")} << s("八王子市") << tab << s("八王子市") << s("Combo1_2");
    QTest::newRow("kanji city, Esc") << 1 << 1 << QStringList{s("東京都")} << s("八王子市") << esc << s("八王子市") << s("Combo1_1");
    QTest::newRow("kanji unknown city, Enter") << 1 << 1 << QStringList{s("広島県")} << s("存在市") << ret << s("存在市") << s("Combo1_2");
    QTest::newRow("kanji city, nothing typed: Enter takes the highlighted row") << 1 << 1 << QStringList{s("東京都")} << QString() << ret << s("千代田区") << s("Combo1_1");
    QTest::newRow("kanji prefecture, Tab") << 1 << 0 << QStringList{} << s("北海道") << tab << s("北海道") << s("Combo1_1");
    QTest::newRow("kanji town, Tab") << 1 << 2 << QStringList{s("東京都"), s("八王子市")} << s("元本郷町") << tab << s("元本郷町") << s("Command1_0");
    QTest::newRow("kana prefecture, Tab") << 2 << 0 << QStringList{} << s("ホッカイドウ") << tab << s("ﾎｯｶｲﾄﾞｳ") << s("Combo1_1");
    QTest::newRow("kana city, Tab") << 2 << 1 << QStringList{s("ﾄｳｷｮｳﾄ")} << s("ハチオウジシ") << tab << s("ﾊﾁｵｳｼﾞｼ") << s("Combo1_2");
    QTest::newRow("kana unknown city, Enter") << 2 << 1 << QStringList{s("ﾋﾛｼﾏｹﾝ")} << s("ソンザイシ") << ret << s("ｿﾝｻﾞｲｼ") << s("Combo1_2");
    QTest::newRow("kana town, Enter searches") << 2 << 2 << QStringList{s("トウキョウト"), s("チヨダク")} << s("マルノウチ") << ret << s("ﾏﾙﾉｳﾁ") << QString();
}

void TestSearchWindows::keysAtAnOpenListGoIntoTheBox()
{
    QFETCH(int, mode);
    QFETCH(int, box);
    QFETCH(QStringList, above);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, kept);
    QFETCH(QString, focus);
    m_state.SearchMode = mode;
    m_state.options.set(arrayKey(QStringLiteral("OptLak"), mode), s("0"));
    JUSHO_KEN dialog(context());
    dialog.show();
    activate(dialog);
    // The boxes above are typed and left with Tab, as a user does; the city
    // box drops its list when entered, the others open theirs with F4.
    for (int i = 0; i < above.size(); ++i) {
        QComboBox *earlier = dialog.Combo1[static_cast<std::size_t>(i)];
        QCOMPARE(dialog.focusWidget(), earlier);
        earlier->hidePopup();
        if (mode == 1)
            typeKeys(above[i]);
        else
            commitText(keyTarget(), above[i]);
        earlier->completer()->popup()->hide();
        QTest::keyClick(earlier, Qt::Key_Tab);
    }
    QComboBox *target = dialog.Combo1[static_cast<std::size_t>(box)];
    QCOMPARE(dialog.focusWidget(), target);
    if (box != 1)
        press(Qt::Key_F4);
    QTRY_VERIFY(target->view()->isVisible());
    QVERIFY(target->count() > 0);

    if (mode == 1)
        typeKeys(typed);
    else if (!typed.isEmpty())
        commitText(keyTarget(), typed);
    if (!typed.isEmpty())
        QCOMPARE(target->currentText(), kept);
    press(Qt::Key(key));
    if (focus.isEmpty()) {
        // Enter in the town box searched what was typed.
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_state.options.value(s("Jusho2(2)")), kept);
        QCOMPARE(m_state.options.value(s("Jusho2(0)")), s("ﾄｳｷｮｳﾄ"));
        return;
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(target->currentText(), kept);
    QCOMPARE(dialog.focusWidget()->objectName(), focus);
    if (box == 0) {
        // The folded prefecture lists its cities.
        QTRY_VERIFY(dialog.Combo1[1]->view()->isVisible());
        QVERIFY(dialog.Combo1[1]->count() > 0);
        dialog.Combo1[1]->hidePopup();
    }
    dialog.reject();
}

void TestSearchWindows::aPickedTownGivesItsOwnCode_data()
{
    QTest::addColumn<QString>("pref");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("town");
    QTest::addColumn<int>("downs");  // 0: typed, not picked
    QTest::addColumn<QString>("code");
    QTest::newRow("typed: the first") << s("北海道") << s("札幌市中央区") << s("大通西") << 0 << s("060-0042");
    QTest::newRow("the second picked") << s("北海道") << s("札幌市中央区") << s("大通西") << 2 << s("064-0820");
    QTest::newRow("the third of four") << s("京都府") << s("京都市中京区") << s("中之町") << 3 << s("604-8042");
}

void TestSearchWindows::aPickedTownGivesItsOwnCode()
{
    QFETCH(QString, pref);
    QFETCH(QString, city);
    QFETCH(QString, town);
    QFETCH(int, downs);
    QFETCH(QString, code);
    const auto window = showMainWindow();
    m_driver->then([&](QWidget &dialog) {
        activate(dialog);
        auto *prefBox = child<QComboBox>(dialog, "Combo1_0");
        auto *cityBox = child<QComboBox>(dialog, "Combo1_1");
        pick(prefBox, pref);
        QTest::keyClick(prefBox, Qt::Key_Tab);
        pick(cityBox, city);
        QTest::keyClick(cityBox, Qt::Key_Tab);
        // The town's completions offer every row of that name; arrows choose one.
        typeKeys(town);
        for (int i = 0; i < downs; ++i)
            press(Qt::Key_Down);
        if (downs == 0) {
            press(Qt::Key_Return);  // searches what was typed
            return;
        }
        press(Qt::Key_Return);  // takes the completion
        auto *townBox = child<QComboBox>(dialog, "Combo1_2");
        QCOMPARE(townBox->currentText(), town);
        QTest::keyClick(townBox, Qt::Key_Return);  // searches
    });
    QTest::keyClick(window.get(), Qt::Key_J, Qt::ControlModifier);
    QCOMPARE(window->Text1()->toPlainText(), code);
    QCOMPARE(m_state.options.value(historyKey(0)), s("〒") + code + s("　") + pref + city + town);
    QCOMPARE(m_store.ReadSetting(Section::Saigo, s("Jusho(2)")), town);
    window->hide();
}

void TestSearchWindows::codeBoxesTakeTypingAcross_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("focus");
    QTest::newRow("seven digits") << s("1000005") << s("100") << s("0005") << s("Text1_1");
    QTest::newRow("a full second box keeps the focus") << s("10000059") << s("100") << s("0005") << s("Text1_1");
    QTest::newRow("full-width digits") << s("１０００００５") << s("１００") << s("０００５") << s("Text1_1");
    QTest::newRow("a letter goes nowhere") << s("100a") << s("100") << QString() << s("Text1_0");
    QTest::newRow("Return moves on") << s("10\r") << s("10") << QString() << s("Text1_1");
    QTest::newRow("keypad Enter moves on") << s("10\n") << s("10") << QString() << s("Text1_1");
    QTest::newRow("keypad Enter to the button") << s("100\n0005\n") << s("100") << s("0005") << s("Command1_0");
}

void TestSearchWindows::codeBoxesTakeTypingAcross()
{
    QFETCH(QString, keys);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, focus);
    YUBIN_KEN dialog(context());
    dialog.show();
    activate(dialog);
    typeKeys(keys);
    QCOMPARE(dialog.Text1[0]->text(), first);
    QCOMPARE(dialog.Text1[1]->text(), second);
    QCOMPARE(dialog.focusWidget()->objectName(), focus);
    QVERIFY(dialog.isVisible());
    if (second.size() == 4) {
        // Searched as the list writes codes, whatever digits were typed.
        dialog.Command1[0]->click();
        QCOMPARE(m_state.options.value(s("YubinB")), s("1000005"));
    }
    dialog.reject();
}

void TestSearchWindows::pastedCodeFillsBothBoxes_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("digits") << s("1000005") << 0 << s("100") << s("0005");
    QTest::newRow("hyphen, second box") << s("100-0005") << 1 << s("100") << s("0005");
    QTest::newRow("postal mark") << s("〒100-0005") << 0 << s("100") << s("0005");
    QTest::newRow("full-width") << s("１０００００５") << 1 << s("100") << s("0005");
    QTest::newRow("part of a code") << s("0005") << 1 << QString() << s("0005");
    QTest::newRow("not a code") << s("abcde") << 0 << s("abc") << QString();
    QTest::newRow("a result or history line") << s("〒100-0005　東京都千代田区丸の内") << 0 << s("100") << s("0005");
    QTest::newRow("a candidate line") << s("100-0005　東京都千代田区丸の内") << 1 << s("100") << s("0005");
}

void TestSearchWindows::pastedCodeFillsBothBoxes()
{
    QFETCH(QString, pasted);
    QFETCH(int, box);
    QFETCH(QString, first);
    QFETCH(QString, second);
    YUBIN_KEN dialog(context());
    dialog.show();
    activate(dialog);
    m_clipboard.contents = pasted;
    QLineEdit *target = dialog.Text1[static_cast<std::size_t>(box)];
    target->setFocus();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(dialog.Text1[0]->text(), first);
    QCOMPARE(dialog.Text1[1]->text(), second);
    if (first.size() == 3 && second.size() == 4) {
        QCOMPARE(dialog.focusWidget(), dialog.Text1[1]);
        dialog.Command1[0]->click();
        QCOMPARE(m_state.options.value(s("YubinB")), s("1000005"));
    }
    dialog.reject();
}

void TestSearchWindows::resultBoxCopyPasteClear()
{
    const auto window = showMainWindow();
    QPlainTextEdit *text = window->Text1();
    text->setPlainText(s("東京都千代田区丸の内"));
    QTextCursor cursor = text->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);
    text->setFocus();

    // Ctrl+C in the result box copies all of it, not the selection.
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(m_clipboard.contents, std::optional<QString>(s("東京都千代田区丸の内")));

    m_clipboard.contents = s("貼り付け");
    QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), s("貼り付け"));

    text->clear();
    window->menus().mnuEditCopyPaste[0]->trigger();
    QCOMPARE(m_clipboard.contents, std::optional<QString>(QString()));

    // Something that is not text empties the box; an unusable clipboard leaves it.
    text->setPlainText(s("結果"));
    m_clipboard.contents.reset();
    window->menus().mnuEditCopyPaste[1]->trigger();
    QCOMPARE(text->toPlainText(), QString());
    text->setPlainText(s("結果"));
    m_clipboard.usable = false;
    window->menus().mnuEditCopyPaste[1]->trigger();
    QCOMPARE(text->toPlainText(), s("結果"));

    QTest::keyClick(text, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(text->toPlainText(), QString());
    QVERIFY(m_store.writes().empty());
    window->hide();
}

void TestSearchWindows::eraseAsksAndWritesEightKeys_data()
{
    QTest::addColumn<bool>("answerOk");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestSearchWindows::eraseAsksAndWritesEightKeys()
{
    QFETCH(bool, answerOk);
    m_state.options.set(s("YubinB"), s("1000005"));
    m_state.options.set(s("Jusho(1)"), s("千代田区"));
    m_state.options.set(s("J_Input"), s("東京都"));
    const auto window = showMainWindow();
    window->Text1()->setPlainText(s("東京都千代田区丸の内"));
    m_boxes.queueAnswer(answerOk ? MsgResult::Ok : MsgResult::Cancel);
    window->menus().mnuEditKensaku_Erase->trigger();

    QCOMPARE(m_boxes.shown()[0].text, s("検索条件を削除しますか？　"));
    QCOMPARE(m_boxes.shown()[0].title, s("削除確認"));
    QCOMPARE(m_boxes.shown()[0].style, 33);
    QStringList written;
    for (const auto &write : m_store.writes()) {
        QCOMPARE(write.section, Section::Saigo);
        QCOMPARE(write.value, QString());
        written << write.key;
    }
    const QStringList expected{s("Jusho(0)"), s("Jusho2(0)"), s("Jusho(1)"), s("Jusho2(1)"),
                               s("Jusho(2)"), s("Jusho2(2)"), s("YubinB"),   s("J_Input")};
    QCOMPARE(written, answerOk ? expected : QStringList());
    QCOMPARE(m_state.options.value(s("YubinB")), answerOk ? QString() : s("1000005"));
    QCOMPARE(window->Text1()->toPlainText(), s("東京都千代田区丸の内"));
    window->hide();
}

void TestSearchWindows::historyWindowCommitsDiscardsAndCopies()
{
    const QStringList entries{s("〒100-0005　東京都千代田区丸の内"), s("〒907-1801　沖縄県八重山郡与那国町与那国"),
                              s("〒選択の住所に該当する 「郵便番号」 は存在しません。　　東京都府中市")};
    for (int i = 0; i < entries.size(); ++i)
        m_state.options.set(historyKey(i), entries[i]);
    const auto window = showMainWindow();

    // Removing with the close box forgets the removal.
    m_driver->then([](QWidget &dialog) {
        auto &history = static_cast<RIREKI &>(dialog);
        activate(dialog);
        // Nothing looks chosen until the user chooses.
        QCOMPARE(history.List1->currentRow(), -1);
        history.List1->setCurrentRow(0);
        history.Command1[2]->click();
        QCOMPARE(history.List1->count(), 2);
        // Enter in the list is not OK: only the button commits.
        history.List1->setFocus();
        QTest::keyClick(history.List1, Qt::Key_Return);
        QTest::keyClick(history.List1, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(history.isVisible());
        history.reject();
    });
    window->menus().mnuFileRireki->trigger();
    QCOMPARE(historyEntries(m_state.options), entries);
    QVERIFY(m_store.writes().empty());

    // Nothing selected: messages; then copy variants; then remove the second and commit.
    m_driver->then([&](QWidget &dialog) {
        auto &history = static_cast<RIREKI &>(dialog);
        activate(dialog);
        QCOMPARE(history.List1->count(), 3);
        m_boxes.queueAnswer(MsgResult::Ok);
        m_boxes.queueAnswer(MsgResult::Ok);
        history.Command1[1]->click();
        history.Command1[2]->click();
        QCOMPARE(m_boxes.shown().size(), std::size_t(2));
        QCOMPARE(m_boxes.shown()[0].text, s("クリップボードにコピーするデータを検索履歴一覧の中から選択して下さい。　"));
        QCOMPARE(m_boxes.shown()[1].text, s("削除する検索履歴を一覧の中から指定して下さい。　"));
        QCOMPARE(m_clipboard.writes, 0);

        history.List1->setCurrentRow(2);
        m_state.options.set(s("YJ_Copy(0)"), s("0"));
        history.Command1[1]->click();
        QCOMPARE(m_clipboard.contents, std::optional<QString>(s("　東京都府中市")));
        history.List1->setCurrentRow(0);
        m_state.options.set(s("YJ_Copy(0)"), s("1"));
        m_state.options.set(s("YJ_Copy(1)"), s("0"));
        history.Command1[1]->click();
        QCOMPARE(m_clipboard.contents, std::optional<QString>(s("〒100-0005")));

        history.Command1[3]->click();
        history.List1->setCurrentRow(1);
        history.Command1[2]->click();
        // Enter on the focused OK button commits.
        history.Command1[0]->setFocus();
        QTest::keyClick(history.Command1[0], Qt::Key_Return);
    });
    window->menus().mnuFileRireki->trigger();
    QCOMPARE(historyEntries(m_state.options), (QStringList{entries[0], entries[2]}));
    QCOMPARE(m_state.options.value(historyKey(2)), QString());
    QCOMPARE(m_store.writes().size(), std::size_t(22));
    QCOMPARE(m_help.requests, std::vector<int>{44});
    window->hide();
}

void TestSearchWindows::historyListShowsWholeRows()
{
    for (int i = 0; i < 20; ++i)
        m_state.options.set(historyKey(i), s("〒100-0005　東京都千代田区丸の内%1").arg(i));
    RIREKI window(context());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto rowHeight = [&] { return window.List1->visualItemRect(window.List1->item(0)).height(); };
    const int viewport = window.List1->viewport()->height();
    // No row cut at the bottom, rows with room for their glyphs, and the list
    // as designed but for less than a pixel a row.
    QTRY_COMPARE(window.List1->viewport()->height() % rowHeight(), 0);
    QVERIFY(rowHeight() >= QFontInfo(window.List1->font()).pixelSize());
    const int designed = static_cast<int>(std::lround(3660 / (1440.0 / window.logicalDpiY())));
    QVERIFY(window.List1->height() <= designed);
    QVERIFY(window.List1->height() > designed - viewport / rowHeight());
    window.reject();
}

QTEST_MAIN(TestSearchWindows)
#include "SearchWindowsTest.moc"

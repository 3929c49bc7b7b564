#include "ui/dialogs/JUSHO_KEN.h"

#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "search/PickLists.h"
#include "app/SearchResult.h"
#include "ui/CommandButtons.h"
#include "ui/TwipsPlacement.h"
#include "ui/UiFonts.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include <utility>

namespace torumin {

namespace {

// The kana boxes hold readings in the list's half-width form: an input method
// commits full-width katakana, which would find nothing in the lists and
// would not fit the prefecture box. Typed, pasted or committed, the text is
// folded as it arrives, the cursor kept after what was entered.
class ListFormValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        const QString folded = listForm(input, AddressScript::Kana);
        if (folded != input) {
            pos = static_cast<int>(listForm(QStringView(input).left(pos), AddressScript::Kana).size());
            input = folded;
        }
        return Acceptable;
    }
};

bool isEnter(const QKeyEvent &key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// A key that writes into a text box: a character, or one that deletes one.
bool editsText(const QKeyEvent &key)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete)
        return true;
    return !key.text().isEmpty() && key.text().front().isPrint();
}

} // namespace

JUSHO_KEN::JUSHO_KEN(UiContext context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_script(context.state.SearchMode == kModeKanaToCode ? AddressScript::Kana : AddressScript::Kanji)
{
    setObjectName(QStringLiteral("JUSHO_KEN"));
    setWindowTitle(QStringLiteral("住所検索"));
    const TwipsPlacement twips;
    setFixedSize(twips.size(9750, 3180));

    const std::array<QString, 4> captions{QStringLiteral("都道府県名から、順番に住所を選択入力し、検索ボタンを押して下さい。"),
                                          QStringLiteral("都道府県名"), QStringLiteral("市/区名"),
                                          QStringLiteral("町/村/字名")};
    const std::array<QRect, 4> labelPlaces{twips.rect(240, 240, 9270, 300), twips.rect(240, 810, 1230, 300),
                                           twips.rect(240, 1290, 1230, 300), twips.rect(240, 1770, 1230, 300)};
    for (std::size_t i = 0; i < Label1.size(); ++i) {
        auto *label = new QLabel(captions[i], this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setFont(UiFonts::pGothic(9));
        label->setGeometry(labelPlaces[i]);
        if (i > 0)
            label->setToolTip(QLatin1Char(' ') + captions[i] + QLatin1Char(' '));
        Label1[i] = label;
    }

    const std::array<double, 3> widths{1335, 2505, 7785};
    const std::array<double, 3> tops{780, 1260, 1740};
    for (std::size_t i = 0; i < Combo1.size(); ++i) {
        auto *combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("Combo1_%1").arg(i));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMaxVisibleItems(20);
        // Completions are offered in a list to pick from, never written into
        // the box: a town typed whole (八幡) may be the start of an earlier
        // one (八幡町), and the box must search what was typed.
        combo->completer()->setCompletionMode(QCompleter::PopupCompletion);
        combo->completer()->setCaseSensitivity(Qt::CaseSensitive);
        combo->completer()->setFilterMode(Qt::MatchStartsWith);
        combo->completer()->popup()->installEventFilter(this);
        // Installed after the box's own filter on its list, so this one sees the keys first.
        combo->view()->installEventFilter(this);
        combo->view()->viewport()->installEventFilter(this);
        connect(combo->completer(), qOverload<const QModelIndex &>(&QCompleter::activated), this,
                [this, i](const QModelIndex &completion) { completionChosen(static_cast<int>(i), completion); });
        if (m_script == AddressScript::Kana)
            combo->setValidator(new ListFormValidator(combo));
        combo->setFont(UiFonts::gothic(9));
        combo->setToolTip(QLatin1Char(' ') + captions[i + 1] + QLatin1Char(' '));
        combo->setGeometry(twips.rect(1530, tops[i], widths[i], 330));
        combo->installEventFilter(this);
        Combo1[i] = combo;
    }
    Combo1[1]->lineEdit()->installEventFilter(this);

    Command1 = makeCommandButtons<3>(this, {QStringLiteral("検索"), QStringLiteral("キャンセル"), QStringLiteral("ヘルプ")},
                                     [this](int index) { Command1_Click(index); });
    placeButtonRow<3>(twips, Command1, {2465, 4225, 5985}, 2520);
    // Enter in the town box searches, as the first button of the dialog; in
    // the other two boxes it moves on (see the event filter).
    Command1[0]->setDefault(true);
    setTabOrder(Combo1[0], Combo1[1]);
    setTabOrder(Combo1[1], Combo1[2]);
    setTabOrder(Combo1[2], Command1[0]);
    setTabOrder(Command1[0], Command1[1]);
    setTabOrder(Command1[1], Command1[2]);

    Form_Load();
}

QString JUSHO_KEN::stateKey(int index) const
{
    return arrayKey(m_script == AddressScript::Kanji ? QStringLiteral("Jusho") : QStringLiteral("Jusho2"), index);
}

void JUSHO_KEN::Form_Load()
{
    Combo1[0]->addItems(prefectureList(m_context.state.table, m_script));
    Combo1[0]->setCurrentIndex(-1);

    if (m_script == AddressScript::Kana) {
        Label1[1]->setText(QStringLiteral("ﾄﾄﾞｳﾌｹﾝﾒｲ"));
        Label1[2]->setText(QStringLiteral("ｼ/ｸﾒｲ"));
        Label1[3]->setText(QStringLiteral("ﾏﾁ/ﾑﾗ/ｱｻﾞﾒｲ"));
        const TwipsPlacement twips;
        for (QComboBox *combo : Combo1)
            combo->move(twips.px(1760), combo->y());
        Combo1[2]->resize(twips.px(7560), Combo1[2]->height());
        Label1[3]->resize(twips.px(1355), Label1[3]->height());
    }

    Options &options = m_context.state.options;
    const int mode = m_script == AddressScript::Kanji ? kModeAddressToCode : kModeKanaToCode;
    if (options.isOn(arrayKey(QStringLiteral("OptLak"), mode))) {
        for (int i = 0; i < 3; ++i)
            Combo1[static_cast<std::size_t>(i)]->setEditText(options.value(stateKey(i)));
    } else {
        for (int i = 0; i < 3; ++i)
            options.set(stateKey(i), QString());
    }
    Combo1[0]->setFocus();
}

int JUSHO_KEN::boxIndex(const QObject *object) const
{
    for (std::size_t i = 0; i < Combo1.size(); ++i) {
        if (object == Combo1[i])
            return static_cast<int>(i);
    }
    return -1;
}

int JUSHO_KEN::listIndex(const QObject *object) const
{
    for (std::size_t i = 0; i < Combo1.size(); ++i) {
        if (Combo1[i] && object == Combo1[i]->view())
            return static_cast<int>(i);
    }
    return -1;
}

int JUSHO_KEN::completionIndex(const QObject *object) const
{
    for (std::size_t i = 0; i < Combo1.size(); ++i) {
        if (Combo1[i] && object == Combo1[i]->completer()->popup())
            return static_cast<int>(i);
    }
    return -1;
}

bool JUSHO_KEN::eventFilter(QObject *watched, QEvent *event)
{
    const int index = boxIndex(watched);
    const int list = listIndex(watched);
    if (event->type() == QEvent::KeyPress && std::exchange(m_listTookEnter, false)
        && isEnter(*static_cast<QKeyEvent *>(event)))
        return true;  // the Enter that picked a row of a list
    if (list >= 0) {
        switch (event->type()) {
        case QEvent::Show:
            m_rowPointedAt = false;
            break;
        case QEvent::ShortcutOverride:
            // The list would take its highlighted row on Enter before the key
            // is pressed, over what the box holds; and the key itself, after
            // the list has closed, would go on to the box.
            if (isEnter(*static_cast<QKeyEvent *>(event))) {
                m_listTookEnter = listTakesEnter(list) && Combo1[static_cast<std::size_t>(list)]->view()->currentIndex().isValid();
                if (!m_listTookEnter) {
                    event->accept();
                    return true;
                }
            }
            break;
        case QEvent::KeyPress:
            if (listKeyPressed(list, *static_cast<QKeyEvent *>(event)))
                return true;
            break;
        case QEvent::InputMethod: {
            // What an input method writes goes into the box, as typed keys do.
            const auto *input = static_cast<QInputMethodEvent *>(event);
            if (input->commitString().isEmpty() && input->preeditString().isEmpty())
                break;
            QComboBox *box = Combo1[static_cast<std::size_t>(list)];
            box->hidePopup();
            QCoreApplication::sendEvent(box, event);
            return true;
        }
        default:
            break;
        }
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseMove) {
        for (QComboBox *box : Combo1) {
            if (box && watched == box->view()->viewport())
                m_rowPointedAt = true;
        }
    }
    switch (event->type()) {
    case QEvent::FocusIn: {
        if (index < 0)
            break;
        // The focus coming back from the box's own list, or from another
        // window, is not the user entering the box, unless the address check
        // sent it there while its message held the activation.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool sentByCheck = index == m_enterAfterMessage;
        m_enterAfterMessage = -1;
        if (sentByCheck || (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason))
            Combo1_GotFocus(index, reason);
        break;
    }
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = isEnter(*key);
        if (enter && (index == 0 || index == 1)) {
            focusNextChild();
            return true;
        }
        const int offering = completionIndex(watched);
        auto *offer = qobject_cast<QAbstractItemView *>(watched);
        if (offering < 0 || !offer)
            break;
        // Enter while completions are offered and none is chosen is Enter in
        // the box: the offer closes and the box keeps what was typed.
        if (enter && !offer->currentIndex().isValid()) {
            offer->hide();
            enterInBox(offering);
            return true;
        }
        // Tab takes the completion chosen, if any, and moves on.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const QModelIndex chosen = offer->currentIndex();
            offer->hide();
            if (chosen.isValid())
                completionChosen(offering, chosen);
            focusNextPrevChild(key->key() == Qt::Key_Tab);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        // A press on the arrow: the box opens its list itself.
        if (index == 1)
            m_dropOnRelease = false;
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Combo1[1]->lineEdit() && m_dropOnRelease) {
            m_dropOnRelease = false;
            Combo1[1]->showPopup();
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// A key at a box's open list. Keys that write go into the box's text, as
// they would with the list closed, and close the list (the box then offers
// the items that begin with what was typed). Tab takes the row pointed at,
// if one was, and moves on; Enter keeps what the box holds (see
// listTakesEnter).
bool JUSHO_KEN::listKeyPressed(int index, QKeyEvent &key)
{
    QComboBox *box = Combo1[static_cast<std::size_t>(index)];
    QAbstractItemView *list = box->view();
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!(key.modifiers() & Qt::AltModifier))
            m_rowPointedAt = true;
        return false;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (m_rowPointedAt && list->currentIndex().isValid())
            box->setCurrentIndex(list->currentIndex().row());
        box->hidePopup();
        focusNextPrevChild(key.key() == Qt::Key_Tab);
        return true;
    default:
        break;
    }
    if (isEnter(key)) {
        if (listTakesEnter(index) && list->currentIndex().isValid())
            return false;  // the list takes the row
        box->hidePopup();
        enterInBox(index);
        return true;
    }
    if (!editsText(key))
        return false;
    box->hidePopup();
    QCoreApplication::sendEvent(box, &key);
    return true;
}

// Enter at an open list takes its highlighted row when the user pointed at
// one, or when the box holds nothing to keep.
bool JUSHO_KEN::listTakesEnter(int index) const
{
    return m_rowPointedAt || Combo1[static_cast<std::size_t>(index)]->currentText().isEmpty();
}

// Enter in a box: the town box searches; the others move on.
void JUSHO_KEN::enterInBox(int index)
{
    if (index == 2)
        Command1[0]->click();
    else
        focusNextChild();
}

// A completion taken from the offer: the box's item it stands for becomes the
// current one, so a town listed more than once is known by the row picked.
void JUSHO_KEN::completionChosen(int index, const QModelIndex &completion)
{
    QComboBox *box = Combo1[static_cast<std::size_t>(index)];
    const auto *proxy = qobject_cast<const QAbstractProxyModel *>(completion.model());
    const QModelIndex item = proxy ? proxy->mapToSource(completion) : QModelIndex();
    if (item.isValid() && item.model() == box->model())
        box->setCurrentIndex(item.row());
}

void JUSHO_KEN::Combo1_GotFocus(int index, Qt::FocusReason reason)
{
    if (index == 1) {
        City_Fill();
        // Opened during a click, the list would close again when the button
        // comes up.
        m_dropOnRelease = reason == Qt::MouseFocusReason;
        if (!m_dropOnRelease)
            Combo1[1]->showPopup();
    } else if (index == 2) {
        Town_Fill();
    }
}

void JUSHO_KEN::City_Fill()
{
    const QStringList cities = cityList(m_context.state.table, m_script, Combo1[0]->currentText());
    Combo1[1]->clear();
    Combo1[1]->addItems(cities);
    Combo1[1]->setCurrentIndex(-1);
    Combo1[1]->setEditText(QString());
}

void JUSHO_KEN::Town_Fill()
{
    const TownList towns = townList(m_context.state.table, m_script, Combo1[0]->currentText(), Combo1[1]->currentText());
    QComboBox *box = Combo1[2];
    box->clear();
    box->addItems(towns.names);
    for (std::size_t i = 0; i < towns.rows.size(); ++i)
        box->setItemData(static_cast<int>(i), towns.rows[i]);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

// The row of the town item shown in the box, when the box shows an item of
// its list; -1 for typed text, which the search looks up by name.
int JUSHO_KEN::pickedTownRow() const
{
    const QComboBox *box = Combo1[2];
    const int index = box->currentIndex();
    if (index < 0 || box->itemText(index) != box->currentText())
        return -1;
    bool ok = false;
    const int row = box->itemData(index).toInt(&ok);
    return ok ? row : -1;
}

bool JUSHO_KEN::Jusho_Check()
{
    const auto message = checkAddress(m_script, Combo1[1]->currentText(), Combo1[2]->currentText());
    if (!message)
        return true;
    m_context.boxes.MsgBox(message->text, kStyleExclamationOk, message->title);
    QComboBox *box = Combo1[static_cast<std::size_t>(message->focusBox)];
    if (box->hasFocus()) {
        // Already there (Enter in the town box): no focus event will come.
        Combo1_GotFocus(message->focusBox, Qt::OtherFocusReason);
    } else {
        m_enterAfterMessage = message->focusBox;
        box->setFocus(Qt::OtherFocusReason);
    }
    return false;
}

void JUSHO_KEN::Command1_Click(int index)
{
    switch (index) {
    case 0:
        if (!Jusho_Check())
            return;
        for (int i = 0; i < 3; ++i)
            m_context.state.options.set(stateKey(i), Combo1[static_cast<std::size_t>(i)]->currentText());
        m_context.state.pickedTownRow = pickedTownRow();
        m_context.state.searchRequested = 1;
        accept();
        break;
    case 1:
        reject();
        break;
    case 2:
        m_context.help.showTopic(m_script == AddressScript::Kanji ? HelpTopic::AddressSearchDialog
                                                                  : HelpTopic::KanaSearchDialog);
        break;
    default:
        break;
    }
}

} // namespace torumin

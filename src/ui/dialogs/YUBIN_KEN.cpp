#include "ui/dialogs/YUBIN_KEN.h"

#include "app/Module1.h"
#include "app/platform/Clipboard.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "search/PostalCodeCheck.h"
#include "ui/CommandButtons.h"
#include "ui/TwipsPlacement.h"
#include "ui/UiFonts.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <memory>

namespace torumin {

YUBIN_KEN::YUBIN_KEN(UiContext context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("YUBIN_KEN"));
    setWindowTitle(QStringLiteral("郵便番号検索"));
    const TwipsPlacement twips;
    setFixedSize(twips.size(5010, 2220));

    auto *instruction = new QLabel(QStringLiteral("郵便番号を入力し、検索ボタンを押して下さい。"), this);
    instruction->setObjectName(QStringLiteral("Label1_0"));
    instruction->setFont(UiFonts::pGothic(9));
    instruction->setGeometry(twips.rect(240, 300, 4530, 330));
    instruction->setAlignment(Qt::AlignCenter);

    const std::array<QRect, 2> boxes{twips.rect(1860, 930, 465, 330), twips.rect(2550, 930, 585, 330)};
    const std::array<QString, 2> tips{QStringLiteral("XXX-xxxx"), QStringLiteral("xxx-XXXX")};
    for (std::size_t i = 0; i < Text1.size(); ++i) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->setMaxLength(i == 0 ? 3 : 4);
        box->setToolTip(tips[i]);
        box->setFont(UiFonts::gothic(9));
        box->setGeometry(boxes[i]);
        // Digits only: an input method would hand over full-width characters.
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
        box->installEventFilter(this);
        Text1[i] = box;
    }
    auto *dash = new QLabel(QStringLiteral("－"), this);
    dash->setObjectName(QStringLiteral("Label1_1"));
    dash->setFont(UiFonts::pGothic(9));
    dash->setAlignment(Qt::AlignCenter);
    dash->setGeometry(twips.rect(2325, 930, 225, 330));

    // A button answers Enter while it has the focus; in a box Enter moves on
    // instead (see the event filter).
    Command1 = makeCommandButtons<3>(this, {QStringLiteral("検索"), QStringLiteral("キャンセル"), QStringLiteral("ヘルプ")},
                                     [this](int index) { Command1_Click(index); });
    placeButtonRow<3>(twips, Command1, {445, 1855, 3265}, 1770);
    setTabOrder(Text1[0], Text1[1]);
    setTabOrder(Text1[1], Command1[0]);
    setTabOrder(Command1[0], Command1[1]);
    setTabOrder(Command1[1], Command1[2]);

    Form_Load();
}

void YUBIN_KEN::Form_Load()
{
    Options &options = m_context.state.options;
    if (options.isOn(QStringLiteral("OptLak(0)"))) {
        const QString code = options.value(QStringLiteral("YubinB"));
        Text1[0]->setText(code.left(3));
        Text1[1]->setText(code.right(4));
    } else {
        options.set(QStringLiteral("YubinB"), QString());
    }
    Text1[0]->setFocus();
}

bool YUBIN_KEN::eventFilter(QObject *watched, QEvent *event)
{
    QLineEdit *box = nullptr;
    for (QLineEdit *each : Text1) {
        if (watched == each)
            box = each;
    }
    if (box && event->type() == QEvent::KeyPress && keyPressed(box, *static_cast<QKeyEvent *>(event)))
        return true;
    if (box && event->type() == QEvent::ContextMenu) {
        showContextMenu(box, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// True when the key was handled here and goes no further.
bool YUBIN_KEN::keyPressed(QLineEdit *box, const QKeyEvent &key)
{
    // Both Enter keys move on, as Tab does.
    if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        focusNextChild();
        return true;
    }
    if (key.matches(QKeySequence::Paste)) {
        pasteInto(box);
        return true;
    }
    // A digit typed after the third goes on into the second box, as a code is
    // typed in one go; it takes the place of what that box held.
    const QString typed = key.text();
    const bool atFullEnd = box == Text1[0] && box->text().size() >= box->maxLength() && !box->hasSelectedText()
        && box->cursorPosition() == box->text().size();
    if (atFullEnd && typed.size() == 1 && isCodeDigit(typed.front())
        && (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == Qt::NoModifier) {
        Text1[1]->setFocus(Qt::TabFocusReason);
        Text1[1]->selectAll();
        Text1[1]->insert(typed);
        return true;
    }
    return false;
}

// A whole code pasted into either box fills both, also when it begins a
// copied result, history or candidate line; anything else is pasted as the
// box would, and the search checks it as it does typed text.
void YUBIN_KEN::pasteInto(QLineEdit *box)
{
    const std::optional<QString> text = m_context.clipboard.text();
    if (!text)
        return;
    if (const std::optional<QString> code = leadingPostalCode(*text)) {
        Text1[0]->setText(code->left(3));
        Text1[1]->setText(code->mid(3));
        Text1[1]->setFocus(Qt::OtherFocusReason);
        Text1[1]->end(false);
        return;
    }
    box->insert(*text);
}

// The box's own menu, its paste going the way Ctrl+V goes.
void YUBIN_KEN::showContextMenu(QLineEdit *box, QPoint at)
{
    const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    const QString pasteKeys = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions()) {
        if (!action->text().endsWith(pasteKeys))
            continue;
        action->disconnect(box);
        connect(action, &QAction::triggered, this, [this, box] { pasteInto(box); });
    }
    menu->exec(at);
}

int YUBIN_KEN::Yubin_Check()
{
    const std::vector<CodeCheckMessage> messages = checkPostalCode(Text1[0]->text(), Text1[1]->text());
    for (const CodeCheckMessage &message : messages) {
        m_context.boxes.MsgBox(message.text, kStyleExclamationOk, message.title);
        if (message.focusBox >= 0)
            Text1[static_cast<std::size_t>(message.focusBox)]->setFocus();
    }
    return messages.empty() ? 0 : 1;
}

void YUBIN_KEN::Command1_Click(int index)
{
    switch (index) {
    case 0:
        if (Yubin_Check() == 1) {
            Text1[0]->setFocus();
            return;
        }
        // The list writes codes in ASCII digits; full-width ones were typed.
        m_context.state.options.set(QStringLiteral("YubinB"), asciiDigits(Text1[0]->text() + Text1[1]->text()));
        m_context.state.searchRequested = 1;
        accept();
        break;
    case 1:
        reject();
        break;
    case 2:
        m_context.help.showTopic(HelpTopic::CodeSearchDialog);
        break;
    default:
        break;
    }
}

} // namespace torumin

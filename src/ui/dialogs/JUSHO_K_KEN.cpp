#include "ui/dialogs/JUSHO_K_KEN.h"

#include "app/Module1.h"
#include "app/platform/HelpViewer.h"
#include "app/platform/MessageBoxes.h"
#include "ui/CommandButtons.h"
#include "ui/TwipsPlacement.h"
#include "ui/UiFonts.h"
#include "ui/dialogs/YB_KOUHO.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace torumin {

JUSHO_K_KEN::JUSHO_K_KEN(UiContext context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("JUSHO_K_KEN"));
    setWindowTitle(QStringLiteral("住所入力"));
    const TwipsPlacement twips;
    setFixedSize(twips.size(8160, 2220));

    auto *instruction =
        new QLabel(QStringLiteral("都道府県名から、必要に応じて市名等を入力し、検索ボタンを押して下さい。"), this);
    instruction->setObjectName(QStringLiteral("Label1_0"));
    instruction->setFont(UiFonts::pGothic(9));
    instruction->setGeometry(twips.rect(240, 300, 7680, 330));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setToolTip(QStringLiteral(" 住所入力 "));
    Text1->setFont(UiFonts::gothic(9));
    Text1->setGeometry(twips.rect(240, 900, 7680, 330));

    Command1 = makeCommandButtons<3>(this, {QStringLiteral("検索"), QStringLiteral("キャンセル"), QStringLiteral("ヘルプ")},
                                     [this](int index) { Command1_Click(index); });
    placeButtonRow<3>(twips, Command1, {1875, 3435, 4995}, 1620);
    // Type the address, press Enter: the search.
    Command1[0]->setDefault(true);
    setTabOrder(Text1, Command1[0]);
    setTabOrder(Command1[0], Command1[1]);
    setTabOrder(Command1[1], Command1[2]);

    Form_Load();
}

void JUSHO_K_KEN::Form_Load()
{
    Options &options = m_context.state.options;
    if (options.isOn(QStringLiteral("OptLak(3)")))
        Text1->setText(options.value(QStringLiteral("J_Input")));
    else
        options.set(QStringLiteral("J_Input"), QString());
    Text1->setFocus();
}

void JUSHO_K_KEN::Command1_Click(int index)
{
    switch (index) {
    case 0:
        search();
        break;
    case 1:
        reject();
        break;
    case 2:
        m_context.help.showTopic(HelpTopic::AddressInputDialog);
        break;
    default:
        break;
    }
}

void JUSHO_K_KEN::search()
{
    const QString address = Text1->text();
    if (address.isEmpty()) {
        m_context.boxes.MsgBox(QStringLiteral("検索する住所を入力して下さい。　"), kStyleExclamationOk,
                               QStringLiteral("住所入力確認"));
        Text1->setFocus();
        return;
    }
    m_context.state.options.store(m_context.store, QStringLiteral("J_Input"), address);
    {
        YB_KOUHO candidates(m_context, address, this, Text1);
        candidates.exec();
    }
    if (m_context.state.options.value(QStringLiteral("OptRen(3)")) == QLatin1String("0"))
        accept();
    else
        Text1->setFocus();
}

} // namespace torumin

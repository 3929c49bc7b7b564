#include "ui/main/MainMenus.h"

#include "app/ToolbarLayout.h"

#include <QAction>
#include <algorithm>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QLayout>
#include <QToolBar>

namespace torumin {

namespace {

constexpr QSize kButtonSize(23, 22);

QAction *addItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

void addSeparator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

QMenu *addMenu(QMenu *parent, const QString &name, const QString &caption)
{
    QMenu *menu = parent->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name + QStringLiteral("_action"));
    return menu;
}

} // namespace

MainMenus::MainMenus(QMainWindow &window)
    : QObject(&window)
{
    setObjectName(QStringLiteral("MainMenus"));
    buildMenus(window);
    buildToolbar(window);
}

void MainMenus::buildMenus(QMainWindow &window)
{
    QMenuBar *bar = window.menuBar();
    mnuTotalMenu = bar->addMenu(QStringLiteral("総合ﾒﾆｭｰ(&M)"));
    mnuTotalMenu->setObjectName(QStringLiteral("mnuTotalMenu"));

    QMenu *mnuHelp = addMenu(mnuTotalMenu, QStringLiteral("mnuHelp"), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelpContext_KeyWord[0] = addItem(mnuHelp, QStringLiteral("mnuHelpContext_KeyWord_0"),
                                        QStringLiteral("ﾄﾋﾟｯｸの検索(&H)"), QKeySequence(Qt::Key_F1));
    mnuHelpContext_KeyWord[1] = addItem(mnuHelp, QStringLiteral("mnuHelpContext_KeyWord_1"), QStringLiteral("目次(&C)"));
    addSeparator(mnuHelp, QStringLiteral("mnuHelpDummy"));
    mnuHelpAbout = addItem(mnuHelp, QStringLiteral("mnuHelpAbout"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)..."));

    QMenu *mnuOption = addMenu(mnuTotalMenu, QStringLiteral("mnuOption"), QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    mnuOptSettei = addItem(mnuOption, QStringLiteral("mnuOptSettei"), QStringLiteral("各種設定(&K)"));

    QMenu *mnuSeek = addMenu(mnuTotalMenu, QStringLiteral("mnuSeek"), QStringLiteral("検索(&S)"));
    const std::array<QString, 5> seekCaptions{QStringLiteral("郵便番号 → 住所(&Y)"), QStringLiteral("住所 → 郵便番号(&J)"),
                                              QStringLiteral("ｶﾅ住所 → 郵便番号(&K)"),
                                              QStringLiteral("住所入力 → 〒＋住所候補(&A)"),
                                              QStringLiteral("事業所名 → 郵便番号(&O)")};
    const std::array<QKeySequence, 5> seekKeys{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::Key_J),
                                               QKeySequence(Qt::CTRL | Qt::Key_K), QKeySequence(Qt::CTRL | Qt::Key_A),
                                               QKeySequence(Qt::CTRL | Qt::Key_O)};
    for (std::size_t i = 0; i < mnuSeekKensaku.size(); ++i)
        mnuSeekKensaku[i] = addItem(mnuSeek, QStringLiteral("mnuSeekKensaku_%1").arg(i), seekCaptions[i], seekKeys[i]);

    QMenu *mnuFile = addMenu(mnuTotalMenu, QStringLiteral("mnuFile"), QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuFileRireki = addItem(mnuFile, QStringLiteral("mnuFileRireki"), QStringLiteral("検索履歴一覧(&R)"));
    addSeparator(mnuFile, QStringLiteral("mnuFileDummy"));
    mnuFileEnd = addItem(mnuFile, QStringLiteral("mnuFileEnd"), QStringLiteral("とるみん の終了(&X)..."));

    mnuEdit = bar->addMenu(QStringLiteral("編集(&E)"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuEditCopyPaste[0] = addItem(mnuEdit, QStringLiteral("mnuEditCopyPaste_0"), QStringLiteral("ｺﾋﾟｰ(&C)"),
                                  QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditCopyPaste[1] = addItem(mnuEdit, QStringLiteral("mnuEditCopyPaste_1"), QStringLiteral("貼り付け(&P)"),
                                  QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuEditDelete = addItem(mnuEdit, QStringLiteral("mnuEditDelete"), QStringLiteral("結果の削除(&D)"),
                            QKeySequence(Qt::CTRL | Qt::Key_D));
    addSeparator(mnuEdit, QStringLiteral("mnuEditDummy"));
    mnuEditKensaku_Erase = addItem(mnuEdit, QStringLiteral("mnuEditKensaku_Erase"), QStringLiteral("検索条件の削除(&E)"));
}

void MainMenus::buildToolbar(QMainWindow &window)
{
    Toolbar1 = new QToolBar(&window);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    // Eight 23 x 22 buttons fill the small window's width: no handle, margins
    // or spacing around them.
    Toolbar1->setStyleSheet(QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"
                                           "QToolButton { padding: 0px; margin: 0px; }"));
    Toolbar1->layout()->setContentsMargins(0, 0, 0, 0);
    window.addToolBar(Qt::TopToolBarArea, Toolbar1);

    const std::array<QString, 8> tips{
        QStringLiteral(" とるみんの終了 "),   QStringLiteral(" 郵便番号 → 住所 "),
        QStringLiteral(" 住所 → 郵便番号 "), QStringLiteral(" ｶﾅ住所 → 郵便番号 "),
        QStringLiteral(" 住所入力 → 〒＋住所候補 "), QStringLiteral(" 各種設定 "),
        QStringLiteral(" ﾊﾞｰｼﾞｮﾝ情報 "),     QStringLiteral(" ﾍﾙﾌﾟ "),
    };
    for (int index = 1; index <= 8; ++index) {
        auto *button = new QAction(QIcon(QStringLiteral(":/icons/button%1.png").arg(index)), QString(), Toolbar1);
        button->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(index));
        button->setToolTip(tips[static_cast<std::size_t>(index - 1)]);
        connect(button, &QAction::triggered, this, [this, index] { Q_EMIT Toolbar1_ButtonClick(index); });
        toolbarButtons[static_cast<std::size_t>(index - 1)] = button;
    }
    setToolbarLayout(designedToolbarLayout());
}

std::vector<int> MainMenus::toolbarLayout() const
{
    std::vector<int> shown;
    for (QAction *action : Toolbar1->actions()) {
        const auto it = std::find(toolbarButtons.cbegin(), toolbarButtons.cend(), action);
        if (it != toolbarButtons.cend())
            shown.push_back(static_cast<int>(it - toolbarButtons.cbegin()) + 1);
    }
    return shown;
}

void MainMenus::setToolbarLayout(const std::vector<int> &buttons)
{
    for (QAction *action : Toolbar1->actions())
        Toolbar1->removeAction(action);
    for (int index : buttons) {
        if (index < 1 || index > kToolbarButtonCount)
            continue;
        QAction *button = toolbarButtons[static_cast<std::size_t>(index - 1)];
        Toolbar1->addAction(button);
        if (QWidget *widget = Toolbar1->widgetForAction(button))
            widget->setFixedSize(kButtonSize);
    }
}

} // namespace torumin

#include "ui/settings/ToolbarCustomizeDialog.h"

#include "app/ToolbarLayout.h"
#include "ui/main/MainMenus.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace torumin {

namespace {

constexpr int kButtonRole = Qt::UserRole;

QListWidgetItem *makeItem(const MainMenus &menus, int index)
{
    const QAction *button = menus.toolbarButtons[static_cast<std::size_t>(index - 1)];
    auto *item = new QListWidgetItem(button->icon(), button->toolTip().trimmed());
    item->setData(kButtonRole, index);
    return item;
}

QPushButton *addButton(QGridLayout *grid, const QString &name, const QString &caption, int row)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    grid->addWidget(button, row, 1);
    return button;
}

} // namespace

ToolbarCustomizeDialog::ToolbarCustomizeDialog(MainMenus &menus, QWidget *parent)
    : QDialog(parent)
    , m_menus(menus)
{
    setObjectName(QStringLiteral("ToolbarCustomizeDialog"));
    setWindowTitle(QStringLiteral("ツールバーの変更"));

    auto *grid = new QGridLayout(this);
    available = new QListWidget(this);
    available->setObjectName(QStringLiteral("available"));
    shown = new QListWidget(this);
    shown->setObjectName(QStringLiteral("shown"));
    // With its list as buddy the caption's mnemonic works (and is not shown
    // as a literal "&").
    auto *availableCaption = new QLabel(QStringLiteral("使用できるボタン(&V):"), this);
    availableCaption->setBuddy(available);
    auto *shownCaption = new QLabel(QStringLiteral("ツールバーのボタン(&T):"), this);
    shownCaption->setBuddy(shown);
    grid->addWidget(availableCaption, 0, 0);
    grid->addWidget(shownCaption, 0, 2);
    grid->addWidget(available, 1, 0, 6, 1);
    grid->addWidget(shown, 1, 2, 6, 1);

    connect(addButton(grid, QStringLiteral("add"), QStringLiteral("追加(&A) →"), 1), &QPushButton::clicked, this,
            &ToolbarCustomizeDialog::showSelected);
    connect(addButton(grid, QStringLiteral("remove"), QStringLiteral("← 削除(&R)"), 2), &QPushButton::clicked, this,
            &ToolbarCustomizeDialog::hideSelected);
    connect(addButton(grid, QStringLiteral("up"), QStringLiteral("上へ(&U)"), 3), &QPushButton::clicked, this,
            [this] { moveSelected(-1); });
    connect(addButton(grid, QStringLiteral("down"), QStringLiteral("下へ(&D)"), 4), &QPushButton::clicked, this,
            [this] { moveSelected(1); });
    connect(addButton(grid, QStringLiteral("reset"), QStringLiteral("元に戻す(&S)"), 5), &QPushButton::clicked, this,
            &ToolbarCustomizeDialog::restoreDesign);
    auto *close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::accept);
    grid->addWidget(close, 7, 0, 1, 3);
    connect(available, &QListWidget::itemDoubleClicked, this, &ToolbarCustomizeDialog::showSelected);
    connect(shown, &QListWidget::itemDoubleClicked, this, &ToolbarCustomizeDialog::hideSelected);

    fill(m_menus.toolbarLayout());
}

void ToolbarCustomizeDialog::fill(const std::vector<int> &layout)
{
    available->clear();
    shown->clear();
    for (int index : layout)
        shown->addItem(makeItem(m_menus, index));
    for (int index = 1; index <= kToolbarButtonCount; ++index) {
        if (std::find(layout.cbegin(), layout.cend(), index) == layout.cend())
            available->addItem(makeItem(m_menus, index));
    }
}

void ToolbarCustomizeDialog::apply()
{
    std::vector<int> layout;
    for (int row = 0; row < shown->count(); ++row)
        layout.push_back(shown->item(row)->data(kButtonRole).toInt());
    m_menus.setToolbarLayout(layout);
}

void ToolbarCustomizeDialog::showSelected()
{
    const int row = available->currentRow();
    if (row < 0)
        return;
    const int at = shown->currentRow() < 0 ? shown->count() : shown->currentRow() + 1;
    shown->insertItem(at, available->takeItem(row));
    shown->setCurrentRow(at);
    apply();
}

void ToolbarCustomizeDialog::hideSelected()
{
    const int row = shown->currentRow();
    if (row < 0)
        return;
    QListWidgetItem *item = shown->takeItem(row);
    // Keep the hidden buttons in their designed order.
    const int index = item->data(kButtonRole).toInt();
    int at = 0;
    while (at < available->count() && available->item(at)->data(kButtonRole).toInt() < index)
        ++at;
    available->insertItem(at, item);
    apply();
}

void ToolbarCustomizeDialog::moveSelected(int steps)
{
    const int row = shown->currentRow();
    const int target = row + steps;
    if (row < 0 || target < 0 || target >= shown->count())
        return;
    shown->insertItem(target, shown->takeItem(row));
    shown->setCurrentRow(target);
    apply();
}

void ToolbarCustomizeDialog::restoreDesign()
{
    fill(designedToolbarLayout());
    apply();
}

} // namespace torumin

#include "ui/CommandButtons.h"

#include "ui/TwipsPlacement.h"
#include "ui/UiFonts.h"

#include <QPushButton>

namespace torumin {

QPushButton *makeCommandButton(QWidget *parent, int index, const QString &caption,
                               const std::function<void(int)> &onClick)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QStringLiteral("Command1_%1").arg(index));
    button->setToolTip(QLatin1Char(' ') + caption + QLatin1Char(' '));
    button->setFont(UiFonts::uiGothic(9));
    button->setAutoDefault(true);
    QObject::connect(button, &QPushButton::clicked, parent, [onClick, index] { onClick(index); });
    return button;
}

void placeButtonRow(const TwipsPlacement &twips, QPushButton *const *buttons, const double *lefts, std::size_t count,
                    double top)
{
    for (std::size_t i = 0; i < count; ++i)
        buttons[i]->setGeometry(twips.rect(lefts[i], top, 1300, 300));
}

} // namespace torumin

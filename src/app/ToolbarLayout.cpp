#include "app/ToolbarLayout.h"

#include <QStringList>

#include <algorithm>

namespace torumin {

std::vector<int> designedToolbarLayout()
{
    std::vector<int> buttons(kToolbarButtonCount);
    for (int i = 0; i < kToolbarButtonCount; ++i)
        buttons[static_cast<std::size_t>(i)] = i + 1;
    return buttons;
}

QString formatToolbarLayout(const std::vector<int> &buttons)
{
    if (buttons.empty())
        return QStringLiteral("0");
    QStringList parts;
    for (int button : buttons)
        parts.append(QString::number(button));
    return parts.join(QLatin1Char(','));
}

std::optional<std::vector<int>> parseToolbarLayout(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (trimmed == QLatin1String("0"))
        return std::vector<int>{};
    std::vector<int> buttons;
    for (const QString &part : trimmed.split(QLatin1Char(','))) {
        bool ok = false;
        const int button = part.trimmed().toInt(&ok);
        if (!ok || button < 1 || button > kToolbarButtonCount)
            return std::nullopt;
        if (std::find(buttons.cbegin(), buttons.cend(), button) != buttons.cend())
            return std::nullopt;
        buttons.push_back(button);
    }
    return buttons;
}

} // namespace torumin

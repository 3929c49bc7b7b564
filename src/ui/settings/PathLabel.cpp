#include "ui/settings/PathLabel.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace torumin {

PathLabel::PathLabel(QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QSize PathLabel::minimumSizeHint() const
{
    const int margin = 2 * (frameWidth() + fontMetrics().horizontalAdvance(QLatin1Char('x')));
    return {margin + fontMetrics().horizontalAdvance(QStringLiteral("…")), QLabel::minimumSizeHint().height()};
}

QSize PathLabel::sizeHint() const
{
    return minimumSizeHint();
}

QRect PathLabel::textRect() const
{
    // The same room a framed label leaves beside its text: half an "x".
    const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    return contentsRect().adjusted(indent, 0, -indent, 0);
}

void PathLabel::setPathLine(const QString &before, const QString &path, const QString &after)
{
    m_before = before;
    m_path = path;
    m_after = after;
    setText(before + path + after);
}

QString PathLabel::shownText() const
{
    const int room = textRect().width();
    // Plain text, or a line whose path was replaced since: all of it may give way.
    if (text() != m_before + m_path + m_after || m_path.isEmpty())
        return fontMetrics().elidedText(text(), Qt::ElideMiddle, room);
    const int words = fontMetrics().horizontalAdvance(m_before + m_after);
    return m_before + fontMetrics().elidedText(m_path, Qt::ElideMiddle, std::max(0, room - words)) + m_after;
}

void PathLabel::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textRect(), static_cast<int>(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

} // namespace torumin

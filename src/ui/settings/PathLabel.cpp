#include "ui/settings/PathLabel.h"

#include <QPainter>
#include <QStyle>

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

QString PathLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, textRect().width());
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

#include "ui/DrawnText.h"

#include "ui/UiFonts.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace torumin {

void setTextColour(QWidget *widget, QRgb colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour));
    widget->setPalette(palette);
}

QLabel *makeDrawnLabel(QWidget *parent, int index, const QString &text, const QFont &font, QRgb colour,
                       const QRect &designed)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(label, colour);
    QRect area = designed;
    if (const auto ascent = UiFonts::designedAscent(font)) {
        const double em = font.pointSizeF() * label->logicalDpiY() / 72.0;
        const QFontMetricsF metrics(font, label);
        area.translate(0, static_cast<int>(std::lround(*ascent * em - metrics.ascent())));
    }
    area.setWidth(std::max(area.width(), label->sizeHint().width()));
    area.setHeight(std::max(area.height(), label->sizeHint().height()));
    label->setGeometry(area);
    return label;
}

} // namespace torumin

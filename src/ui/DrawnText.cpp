#include "ui/DrawnText.h"

#include <QLabel>
#include <QPalette>

#include <algorithm>

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
    area.setWidth(std::max(area.width(), label->sizeHint().width()));
    area.setHeight(std::max(area.height(), label->sizeHint().height()));
    label->setGeometry(area);
    return label;
}

} // namespace torumin

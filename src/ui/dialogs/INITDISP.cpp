#include "ui/dialogs/INITDISP.h"

#include "app/WindowGeometry.h"
#include "ui/DrawnText.h"
#include "ui/Resources.h"
#include "ui/UiFonts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace torumin {

namespace {

constexpr QRgb kGrey = qRgb(0x80, 0x80, 0x80);
constexpr QRgb kYellow = qRgb(0xFF, 0xFF, 0x00);
constexpr QRgb kLightYellow = qRgb(0xFF, 0xFF, 0xC0);

} // namespace

INITDISP::INITDISP(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_dpi(QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->logicalDotsPerInch() : 96.0)
{
    loadResources();
    setObjectName(QStringLiteral("INITDISP"));
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);

    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(kGrey));
    setPalette(background);
    setAutoFillBackground(true);

    const QSize size = toPixels(QRectF(0, 0, 8085, 3675)).size();
    setFixedSize(size);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(toPixels(QRectF(900, 690, 480, 480)));
    image->setPixmap(QIcon(QStringLiteral(":/icons/torumin.png")).pixmap(image->size()));
    image->setScaledContents(true);

    const QString productName = QStringLiteral("とるみん");
    const QString head = productName.left(productName.size() - 1);
    const QString last = productName.right(1);
    addShadowedText(head, UiFonts::mincho(72, true), kYellow, QRectF(2070, 300, 4995, 1425), 150, 0, 1);
    addShadowedText(last, UiFonts::mincho(20.25, true), kYellow, QRectF(7110, 1230, 465, 405), 150, 2, 3);
    addShadowedText(QStringLiteral("Ver.3.1.0"), UiFonts::timesRoman(18), kLightYellow, QRectF(420, 1290, 1365, 405), 120,
                    4, 6);
    addShadowedText(QStringLiteral("for      Windows 2000/XP/Vista"), UiFonts::timesRoman(20.25), kYellow,
                    QRectF(1335, 1860, 5235, 465), 150, 15, 14);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setSingleShot(true);
    // A coarse timer may fire up to 5% early; the splash stays its full time.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(kShowMilliseconds);
    connect(timer, &QTimer::timeout, this, &INITDISP::Timer1_Timer);
    timer->start();
}

void INITDISP::addShadowedText(const QString &text, const QFont &font, QRgb colour, const QRectF &twips,
                               double shadowOffsetTwips, int shadowIndex, int textIndex)
{
    const auto makeLabel = [&](int index, QRgb labelColour, const QRectF &area) {
        return makeDrawnLabel(this, index, text, font, labelColour, toPixels(area));
    };
    makeLabel(shadowIndex, qRgb(0, 0, 0), twips.translated(shadowOffsetTwips, shadowOffsetTwips));
    makeLabel(textIndex, colour, twips)->raise();
}

QRect INITDISP::toPixels(const QRectF &twips) const
{
    const auto px = [this](double value) { return static_cast<int>(std::lround(twipsToPixels(value, m_dpi))); };
    return {px(twips.left()), px(twips.top()), px(twips.width()), px(twips.height())};
}

QPoint INITDISP::toPixels(QPointF twips) const
{
    return toPixels(QRectF(twips, QSizeF(0, 0))).topLeft();
}

void INITDISP::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Qt::white, 1));
    const auto line = [&](double x1, double y1, double x2, double y2) {
        painter.drawLine(toPixels(QPointF(x1, y1)), toPixels(QPointF(x2, y2)));
    };
    line(90, 90, 7980, 90);      // Line1(0)
    line(240, 3060, 7860, 3060); // Line1(1): the rule above the last line
    line(90, 90, 90, 3570);      // Line1(2)
    line(7980, 90, 7980, 3580);  // Line1(3)
    line(90, 3570, 7980, 3570);  // Line1(4)
}

void INITDISP::keyPressEvent(QKeyEvent *event)
{
    // Escape would close a dialog; the splash goes only when its time is up.
    event->accept();
}

void INITDISP::closeEvent(QCloseEvent *event)
{
    if (m_timerFired)
        event->accept();
    else
        event->ignore();
}

void INITDISP::Timer1_Timer()
{
    m_timerFired = true;
    accept();
}

} // namespace torumin

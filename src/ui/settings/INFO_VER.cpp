#include "ui/settings/INFO_VER.h"

#include "app/Module1.h"
#include "app/OfficeList.h"

#include "app/platform/WebOpener.h"
#include "ui/Resources.h"
#include "ui/DrawnText.h"
#include "ui/UiFonts.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace torumin {

namespace {

constexpr QRgb kGrey = qRgb(0x80, 0x80, 0x80);
constexpr QRgb kYellow = qRgb(0xFF, 0xFF, 0x00);
constexpr QRgb kLightYellow = qRgb(0xFF, 0xFF, 0xC0);
constexpr QRgb kLinkColour = qRgb(0xC0, 0xFF, 0xC0);
constexpr QRgb kLinkHoverColour = qRgb(0x00, 0xFF, 0x00);

// Ours, under names reserved for examples, so no stranger gets the mail.
const QString kAuthorMail = QStringLiteral("torumin@example.com");
const QString kHomePageHost = QStringLiteral("https://torumin.example.org");
const QString kHomePagePath = QStringLiteral("/");

constexpr int kFirstMailLabel = 10;
constexpr int kLastMailLabel = 11;
constexpr int kFirstWebLabel = 12;
constexpr int kLastWebLabel = 14;

} // namespace

INFO_VER::INFO_VER(UiContext context, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
{
    loadResources();
    setObjectName(QStringLiteral("INFO_VER"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);
    setFixedSize(m_twips.size(8085, 4680));

    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(kGrey));
    setPalette(background);
    setAutoFillBackground(true);
    // Moves over the bare window put the links back to their resting colour.
    setMouseTracking(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(m_twips.rect(480, 420, 480, 480));
    Image1->setPixmap(QIcon(QStringLiteral(":/icons/torumin.png")).pixmap(Image1->size()));
    Image1->setScaledContents(true);

    const QString productName = QStringLiteral("とるみん");
    addShadowedText(productName.left(productName.size() - 1), UiFonts::mincho(48, true), kYellow,
                    QRectF(1260, 180, 3000, 1140), 120, 0, 1);
    addShadowedText(productName.right(1), UiFonts::mincho(18, true), kYellow, QRectF(4260, 870, 420, 450), 120, 2, 3);
    addShadowedText(QStringLiteral("Ver.3.1.0"), UiFonts::timesRoman(15.75), kLightYellow,
                    QRectF(5160, 1020, 1560, 420), 90, 4, 5);
    addShadowedText(QStringLiteral("for    Windows 2000/XP/Vista"), UiFonts::timesRoman(15.75), kYellow,
                    QRectF(1260, 1560, 5000, 420), 90, 18, 19);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Plain);
    // A plain box is drawn in the text colour: white, like the lines around it.
    setTextColour(Frame1, qRgb(0xFF, 0xFF, 0xFF));
    Frame1->setGeometry(m_twips.rect(360, 2340, 7365, 780));
    auto *note = new QLabel(QStringLiteral("このソフトウェアはフリーウェアです。どなたでも無料でお使いいただけます。\n"
                                           "著作権は作者が保有しています。"),
                            Frame1);
    note->setObjectName(QStringLiteral("Label1_15"));
    note->setFont(UiFonts::pGothic(9));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setTextColour(note, kLightYellow);
    note->setGeometry(m_twips.rect(180, 60, 7005, 660));
    Label1[15] = note;

    const auto at = [this](double left, double top) { return QPoint(m_twips.px(left), m_twips.px(top)); };
    const QString homePage = kHomePageHost + kHomePagePath;
    addLink(10, QStringLiteral("E-Mail Address："), kAuthorMail, at(600, 3390));
    addLink(11, kAuthorMail, kAuthorMail, at(2280, 3390));
    addLink(12, QStringLiteral("URL Address："), homePage, at(600, 3810));
    const QLabel *host = addLink(13, kHomePageHost, homePage, at(2280, 3810));
    // The two parts read as one address.
    addLink(14, kHomePagePath, homePage, host->geometry().topRight() + QPoint(1, 0));

    // How fresh the loaded lists are, so a user can tell whether they need replacing.
    const auto addSummary = [this](const char *name, const QString &caption, const QString &summary, double top) {
        auto *label = new QLabel(caption + (summary.isEmpty() ? QStringLiteral("読み込まれていません") : summary), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(UiFonts::pGothic(9));
        setTextColour(label, kLightYellow);
        label->setGeometry(m_twips.rect(600, top, 5600, 240));
    };
    addSummary("loadedList", QStringLiteral("郵便番号一覧："), loadedListSummary(m_context.state), 4065);
    addSummary("loadedOffices", QStringLiteral("事業所の個別郵便番号一覧："), loadedOfficeSummary(m_context.state), 4305);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral(" OK "));
    Command1->setFont(UiFonts::uiGothic(9));
    Command1->setGeometry(m_twips.rect(6360, 3990, 1260, 375));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);
    Command1->setFocus();
}

void INFO_VER::addShadowedText(const QString &text, const QFont &font, QRgb colour, const QRectF &twips,
                               double shadowOffsetTwips, int textIndex, int shadowIndex)
{
    const auto makeLabel = [&](int index, QRgb labelColour, const QRectF &area) {
        QLabel *label = makeDrawnLabel(this, index, text, font, labelColour,
                                       m_twips.rect(area.left(), area.top(), area.width(), area.height()));
        Label1[static_cast<std::size_t>(index)] = label;
        return label;
    };
    makeLabel(textIndex, colour, twips);
    // Unlike the splash, the black copy lies over the coloured one, which then
    // shows as a light edge above and to the left.
    makeLabel(shadowIndex, qRgb(0, 0, 0), twips.translated(shadowOffsetTwips, shadowOffsetTwips))->raise();
}

QLabel *INFO_VER::addLink(int index, const QString &text, const QString &address, QPoint topLeft)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    label->setFont(UiFonts::pGothic(9));
    label->setToolTip(QLatin1Char(' ') + address + QLatin1Char(' '));
    label->setCursor(Qt::PointingHandCursor);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(kGrey));
    palette.setColor(QPalette::WindowText, QColor(kLinkColour));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    // Only the text is the link: a wider box would light up beside it.
    label->setGeometry(QRect(topLeft, label->sizeHint()));
    label->setMouseTracking(true);
    label->installEventFilter(this);
    Label1[static_cast<std::size_t>(index)] = label;
    return label;
}

INFO_VER::Link INFO_VER::linkOf(const QObject *object) const
{
    for (int i = kFirstMailLabel; i <= kLastWebLabel; ++i) {
        if (object == Label1[static_cast<std::size_t>(i)])
            return i <= kLastMailLabel ? Link::Mail : Link::Web;
    }
    return Link::None;
}

void INFO_VER::lightLink(Link link)
{
    // Both groups in one pass, so moving from one link to the other never
    // shows both lit.
    for (int i = kFirstMailLabel; i <= kLastWebLabel; ++i) {
        QLabel *label = Label1[static_cast<std::size_t>(i)];
        const Link group = i <= kLastMailLabel ? Link::Mail : Link::Web;
        setTextColour(label, group == link ? kLinkHoverColour : kLinkColour);
    }
}

bool INFO_VER::eventFilter(QObject *watched, QEvent *event)
{
    const Link link = linkOf(watched);
    if (link == Link::None)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
        lightLink(link);
        return false;
    case QEvent::MouseMove:
        lightLink(link);
        // A label passes the move on to the window, whose background would
        // put the light straight out again.
        return true;
    case QEvent::MouseButtonPress:
        // Taken here so the press does not reach the window behind the link.
        return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        // Letting go outside the label takes the click back, as with a button.
        if (static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint()))
            openLink(link);
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void INFO_VER::mouseMoveEvent(QMouseEvent *event)
{
    lightLink(Link::None);
    QDialog::mouseMoveEvent(event);
}

void INFO_VER::openLink(Link link)
{
    switch (link) {
    case Link::Mail:
        OpenMail(m_context.web, m_context.boxes, kAuthorMail);
        break;
    case Link::Web:
        OpenWebPage(m_context.web, m_context.boxes, kHomePageHost + kHomePagePath, kBrowserMissingAbout);
        break;
    case Link::None:
        break;
    }
}

void INFO_VER::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Qt::white, 1));
    const auto line = [&](double x1, double y1, double x2, double y2) {
        painter.drawLine(QPoint(m_twips.px(x1), m_twips.px(y1)), QPoint(m_twips.px(x2), m_twips.px(y2)));
    };
    line(90, 90, 7980, 90);      // Line1(0)
    line(240, 2160, 7860, 2160); // Line1(1): under the name, above the note and links
    line(90, 90, 90, 4575);      // Line1(2)
    line(7980, 90, 7980, 4575);  // Line1(3)
    line(90, 4575, 7980, 4575);  // Line1(4)
}

} // namespace torumin

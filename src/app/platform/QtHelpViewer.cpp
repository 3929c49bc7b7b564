#include "app/platform/QtHelpViewer.h"

#include "app/WindowGeometry.h"
#include "ui/Resources.h"
#include "ui/UiFonts.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace torumin {

namespace {

const QString kContents = QStringLiteral("qrc:/help/contents.html");
const QString kIndex = QStringLiteral("qrc:/help/index.html");
const QString kProductTitle = QStringLiteral("とるみん ヘルプ");

// Wide enough for the tables of options without a horizontal scroll bar.
constexpr QSize kPreferredSize(760, 600);

} // namespace

// A browser under a toolbar. The window follows the modal dialogs: Qt blocks
// every window except a modal dialog's own children, so while a dialog is
// modal the help belongs to it; when that dialog goes away the help is handed
// on (to the next modal dialog, or to no parent) instead of dying with it.
class HelpWindow final : public QWidget {
public:
    HelpWindow();

    void open(const QString &page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addAction(QToolBar *toolbar, const QString &name, const QString &caption, const QKeySequence &key);
    void followModal();
    void placeBesideAsker();
    void updateTitle();

    QTextBrowser *m_browser = nullptr;
    QPointer<QWidget> m_owner;
    bool m_placed = false;
};

HelpWindow::HelpWindow()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kProductTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("HelpToolBar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->setMovable(false);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setFont(UiFonts::pGothic(10.5));
    // The pages' only outside links lead to the postal service's site, which
    // belongs in the desktop's browser, not in this one.
    m_browser->setOpenExternalLinks(true);

    QAction *contents = addAction(toolbar, QStringLiteral("HelpContents"), QStringLiteral("目次"), QKeySequence());
    QAction *index = addAction(toolbar, QStringLiteral("HelpIndex"), QStringLiteral("索引"), QKeySequence());
    toolbar->addSeparator();
    QAction *back = addAction(toolbar, QStringLiteral("HelpBack"), QStringLiteral("戻る"), QKeySequence::Back);
    QAction *forward = addAction(toolbar, QStringLiteral("HelpForward"), QStringLiteral("進む"), QKeySequence::Forward);
    back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    forward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    back->setEnabled(false);
    forward->setEnabled(false);

    connect(contents, &QAction::triggered, this, [this] { m_browser->setSource(QUrl(kContents)); });
    connect(index, &QAction::triggered, this, [this] { m_browser->setSource(QUrl(kIndex)); });
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] { updateTitle(); });

    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    close->setObjectName(QStringLiteral("HelpClose"));
    connect(close, &QShortcut::activated, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_browser);

    QSize size = kPreferredSize;
    if (const QScreen *screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
}

QAction *HelpWindow::addAction(QToolBar *toolbar, const QString &name, const QString &caption, const QKeySequence &key)
{
    QAction *action = toolbar->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(key);
    return action;
}

void HelpWindow::open(const QString &page)
{
    followModal();
    m_browser->setSource(QUrl(page));
    if (!m_placed)
        placeBesideAsker();
    show();
    m_placed = true;
    raise();
    activateWindow();
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    // By the time a dialog hears it is hidden it has left Qt's modal stack,
    // and it has not yet deleted its children.
    if (watched == m_owner && event->type() == QEvent::Hide)
        followModal();
    return QWidget::eventFilter(watched, event);
}

void HelpWindow::followModal()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == this || modal == m_owner.data())
        return;
    if (m_owner)
        m_owner->removeEventFilter(this);
    m_owner = modal;
    if (modal)
        modal->installEventFilter(this);
    // A new parent hides the window and may move it; the user left it here.
    const bool shown = isVisible();
    const QRect place = geometry();
    setParent(modal, Qt::Window);
    if (m_placed)
        setGeometry(place);
    if (shown)
        show();
}

void HelpWindow::placeBesideAsker()
{
    // Left to the system, the window opened over the dialog that asked for it
    // (or in a corner), hiding the controls it explains; clear of it, both
    // can be read at once.
    const QWidget *asker = m_owner ? m_owner.data() : QApplication::activeWindow();
    if (!asker || asker == this || !asker->isVisible() || !asker->screen())
        return;
    // Before it is first shown this window's frame is unknown; the asker's
    // is the best guess.
    const QSize frame = asker->frameGeometry().size() - asker->size();
    const QRect place = helpWindowPlace(size() + frame, asker->frameGeometry(), asker->screen()->availableGeometry());
    resize(place.size() - frame);
    move(place.topLeft());
}

void HelpWindow::updateTitle()
{
    const QString page = m_browser->documentTitle();
    setWindowTitle(page.isEmpty() ? kProductTitle : page + QStringLiteral(" - ") + kProductTitle);
}

QtHelpViewer::QtHelpViewer()
{
    loadResources();
}

QtHelpViewer::~QtHelpViewer()
{
    delete m_window.data();
}

QString QtHelpViewer::topicPage(int topic)
{
    // Asked before any window exists, the pages must already be registered.
    loadResources();
    const QString page = QStringLiteral("qrc:/help/topic-%1.html").arg(topic);
    return QFile::exists(page.mid(3)) ? page : kContents;
}

void QtHelpViewer::showContents()
{
    show(kContents);
}

void QtHelpViewer::showIndex()
{
    show(kIndex);
}

void QtHelpViewer::showTopic(int topic)
{
    show(topicPage(topic));
}

void QtHelpViewer::show(const QString &page)
{
    if (!m_window)
        m_window = new HelpWindow;
    m_window->open(page);
}

} // namespace torumin

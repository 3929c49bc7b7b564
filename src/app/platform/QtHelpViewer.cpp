#include "app/platform/QtHelpViewer.h"

#include <QApplication>
#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace torumin {

namespace {

const QString kContents = QStringLiteral("qrc:/help/contents.html");
const QString kIndex = QStringLiteral("qrc:/help/index.html");

} // namespace

QtHelpViewer::QtHelpViewer() = default;

QtHelpViewer::~QtHelpViewer()
{
    delete m_window.data();
}

QString QtHelpViewer::topicPage(int topic)
{
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
    if (!m_window) {
        m_window = new QWidget(nullptr, Qt::Window);
        m_window->setObjectName(QStringLiteral("HelpWindow"));
        m_window->setWindowTitle(QStringLiteral("とるみん ヘルプ"));
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        auto *layout = new QVBoxLayout(m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        m_browser = new QTextBrowser(m_window);
        m_browser->setObjectName(QStringLiteral("HelpBrowser"));
        m_browser->setOpenExternalLinks(false);
        layout->addWidget(m_browser);
        m_window->resize(640, 520);
    }
    m_browser->setSource(QUrl(page));
    // A help window opened from a modal dialog must take input too.
    m_window->setWindowModality(Qt::NonModal);
    if (QWidget *modal = QApplication::activeModalWidget())
        m_window->setParent(modal, Qt::Window);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace torumin

#include "app/platform/HelpViewer.h"
#include "app/platform/QtHelpViewer.h"
#include "ui/Resources.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <vector>

using namespace torumin;

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QUrl kContentsUrl(QStringLiteral("qrc:/help/contents.html"));
const QUrl kIndexUrl(QStringLiteral("qrc:/help/index.html"));
// The one site outside the program the pages send the user to.
const QString kPostalServiceHost = QStringLiteral("www.post.japanpost.jp");

struct Topic {
    int number;
    QString window;
};

// Every topic number a help button asks for, with the window it belongs to.
std::vector<Topic> topics()
{
    return {
        {HelpTopic::CandidateWindow, s("〒＋住所候補")},
        {HelpTopic::HistoryWindow, s("検索履歴一覧")},
        {HelpTopic::SettingsEnvironmentTab, s("環境設定")},
        {HelpTopic::SettingsInitialTab, s("初期設定")},
        {HelpTopic::SettingsSearchTab, s("検索設定")},
        {HelpTopic::SettingsListTab, s("*.CSV 保存先")},
        {HelpTopic::CodeSearchDialog, s("郵便番号検索")},
        {HelpTopic::AddressSearchDialog, s("住所検索（漢字）")},
        {HelpTopic::KanaSearchDialog, s("住所検索（カナ）")},
        {HelpTopic::AddressInputDialog, s("住所入力")},
        {HelpTopic::OfficeNameDialog, s("事業所名検索")},
    };
}

QString topicFile(int topic)
{
    return QStringLiteral("topic-%1.html").arg(topic);
}

// A page as QTextBrowser reads it.
struct Page {
    QString title;
    QString heading; // the first level-1 heading
    QSet<QString> anchors;
    QStringList links;
    QStringList images;
    QStringList styleSheets;
};

Page readPage(const QString &resource)
{
    Page page;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return page;
    const QString html = QString::fromUtf8(file.readAll());
    QTextDocument document;
    document.setHtml(html);
    page.title = document.metaInformation(QTextDocument::DocumentTitle);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (page.heading.isEmpty() && block.blockFormat().headingLevel() == 1)
            page.heading = block.text();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                page.images.append(format.toImageFormat().name());
            if (!format.isAnchor())
                continue;
            for (const QString &name : format.anchorNames())
                page.anchors.insert(name);
            if (!format.anchorHref().isEmpty())
                page.links.append(format.anchorHref());
        }
    }
    page.links.removeDuplicates();
    // The document keeps no trace of <link>, so style sheets come from the source.
    static const QRegularExpression linkTag(QStringLiteral("<link\\b[^>]*\\bhref=\"([^\"]*)\""),
                                            QRegularExpression::CaseInsensitiveOption);
    for (QRegularExpressionMatchIterator it = linkTag.globalMatch(html); it.hasNext();)
        page.styleSheets.append(it.next().captured(1));
    return page;
}

QUrl resolved(const QString &pageFile, const QString &target)
{
    return QUrl(QStringLiteral("qrc:/help/") + pageFile).resolved(QUrl(target));
}

// The help page a link leads to ("topic-39.html"), or nothing for anything else.
QString helpPageOf(const QUrl &url)
{
    if (url.scheme() != QLatin1String("qrc"))
        return {};
    const QFileInfo info(url.path());
    return info.path() == QLatin1String("/help") ? info.fileName() : QString();
}

QList<QWidget *> helpWindows()
{
    QList<QWidget *> found;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("HelpWindow"))
            found.append(widget);
    }
    return found;
}

QTextBrowser *browserOf(QWidget *window)
{
    return window ? window->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser")) : nullptr;
}

// Clicks the first link to href on the page the browser shows, as the user would.
bool clickLink(QTextBrowser *browser, const QString &href)
{
    const QTextDocument *document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(block);
            cursor.setPosition(fragment.position() + 1);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint inside = browser->cursorRect(cursor).center() - QPoint(2, 0);
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, inside);
            return true;
        }
    }
    return false;
}

QAction *actionOf(QWidget *window, const char *name)
{
    return window ? window->findChild<QAction *>(QString::fromLatin1(name)) : nullptr;
}

} // namespace

class TestHelpViewer final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void topicOpensItsOwnPage_data();
    void topicOpensItsOwnPage();
    void unknownTopicFallsBackToContents_data();
    void unknownTopicFallsBackToContents();

    void everyLinkImageAndStyleSheetResolves();
    void contentsAndIndexLeadEverywhere();
    void pagesShareNavigationAndHaveTheirOwnTitles();

    void oneWindowServesEveryRequest();
    void toolbarNavigatesAndTheTitleFollows();
    void escapeClosesAndTheNextRequestReopens();
    void helpFromAModalDialogOutlivesIt();
    void helpFollowsNestedModalDialogs();
    void helpOpensBesideTheDialogThatAsked_data();
    void helpOpensBesideTheDialogThatAsked();

private:
    // The help window, when there is exactly one.
    static QWidget *onlyHelpWindow();

    QMap<QString, Page> m_pages;
    std::unique_ptr<QtHelpViewer> m_viewer;
};

QWidget *TestHelpViewer::onlyHelpWindow()
{
    const QList<QWidget *> windows = helpWindows();
    return windows.size() == 1 ? windows.front() : nullptr;
}

void TestHelpViewer::initTestCase()
{
    loadResources();
    QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        m_pages.insert(QFileInfo(path).fileName(), readPage(path));
    }
    QVERIFY(m_pages.contains(QStringLiteral("contents.html")));
    QVERIFY(m_pages.contains(QStringLiteral("index.html")));
}

void TestHelpViewer::init()
{
    // What QTextBrowser says when a page it was sent to does not exist.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("No document for")));
    m_viewer = std::make_unique<QtHelpViewer>();
}

void TestHelpViewer::cleanup()
{
    m_viewer.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

void TestHelpViewer::topicOpensItsOwnPage_data()
{
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("window");
    for (const Topic &topic : topics())
        QTest::addRow("%d", topic.number) << topic.number << topic.window;
}

void TestHelpViewer::topicOpensItsOwnPage()
{
    QFETCH(int, topic);
    QFETCH(QString, window);

    m_viewer->showTopic(topic);
    QWidget *help = onlyHelpWindow();
    QTextBrowser *browser = browserOf(help);
    QVERIFY(browser);
    QVERIFY(help->isVisible());
    const QUrl ownPage(QStringLiteral("qrc:/help/") + topicFile(topic));
    QCOMPARE(browser->source(), ownPage);
    QCOMPARE(QtHelpViewer::topicPage(topic), ownPage.toString());

    QVERIFY2(browser->documentTitle().contains(window), qPrintable(browser->documentTitle()));
    QVERIFY2(help->windowTitle().contains(window), qPrintable(help->windowTitle()));
    const Page &page = m_pages[topicFile(topic)];
    QVERIFY2(page.heading.contains(window), qPrintable(page.heading));
}

void TestHelpViewer::unknownTopicFallsBackToContents_data()
{
    QTest::addColumn<int>("topic");
    QTest::newRow("zero") << 0;
    QTest::newRow("negative") << -39;
    QTest::newRow("between the settings tabs and the dialogs") << 10029;
    QTest::newRow("past the last") << 10035;
}

void TestHelpViewer::unknownTopicFallsBackToContents()
{
    QFETCH(int, topic);

    QCOMPARE(QtHelpViewer::topicPage(topic), kContentsUrl.toString());
    m_viewer->showTopic(topic);
    QTextBrowser *browser = browserOf(onlyHelpWindow());
    QVERIFY(browser);
    QCOMPARE(browser->source(), kContentsUrl);
    QCOMPARE(browser->documentTitle(), m_pages[QStringLiteral("contents.html")].title);
}

void TestHelpViewer::everyLinkImageAndStyleSheetResolves()
{
    QStringList problems;
    int checked = 0;
    for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page) {
        const QString &from = page.key();
        for (const QString &link : page->links) {
            ++checked;
            const QUrl target = resolved(from, link);
            if (target.scheme() == QLatin1String("https") || target.scheme() == QLatin1String("http")) {
                if (target.scheme() != QLatin1String("https") || target.host() != kPostalServiceHost)
                    problems.append(from + QStringLiteral(": unexpected outside link ") + link);
                continue;
            }
            const QString to = helpPageOf(target);
            if (to.isEmpty() || !m_pages.contains(to)) {
                problems.append(from + QStringLiteral(": no page for ") + link);
                continue;
            }
            if (target.hasFragment() && !m_pages[to].anchors.contains(target.fragment()))
                problems.append(from + QStringLiteral(": no anchor for ") + link);
        }
        for (const QString &image : page->images) {
            ++checked;
            const QUrl target = resolved(from, image);
            if (target.scheme() != QLatin1String("qrc") || QImage(QLatin1Char(':') + target.path()).isNull())
                problems.append(from + QStringLiteral(": no image ") + image);
        }
        if (page->styleSheets.isEmpty())
            problems.append(from + QStringLiteral(": no style sheet"));
        for (const QString &sheet : page->styleSheets) {
            ++checked;
            const QUrl target = resolved(from, sheet);
            if (target.scheme() != QLatin1String("qrc") || !QFile::exists(QLatin1Char(':') + target.path()))
                problems.append(from + QStringLiteral(": no style sheet ") + sheet);
        }
    }
    QVERIFY(checked > m_pages.size());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void TestHelpViewer::contentsAndIndexLeadEverywhere()
{
    const auto pagesLinkedFrom = [this](const QString &from) {
        QSet<QString> linked;
        for (const QString &link : m_pages[from].links)
            linked.insert(helpPageOf(resolved(from, link)));
        return linked;
    };

    const QSet<QString> fromContents = pagesLinkedFrom(QStringLiteral("contents.html"));
    for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page) {
        if (page.key() != QLatin1String("contents.html"))
            QVERIFY2(fromContents.contains(page.key()), qPrintable(page.key()));
    }

    const QSet<QString> fromIndex = pagesLinkedFrom(QStringLiteral("index.html"));
    for (const Topic &topic : topics()) {
        QVERIFY2(m_pages.contains(topicFile(topic.number)), qPrintable(topicFile(topic.number)));
        QVERIFY2(fromIndex.contains(topicFile(topic.number)), qPrintable(topicFile(topic.number)));
    }
}

void TestHelpViewer::pagesShareNavigationAndHaveTheirOwnTitles()
{
    QMap<QString, QString> pageOfTitle;
    for (auto page = m_pages.cbegin(); page != m_pages.cend(); ++page) {
        const QString &file = page.key();
        QVERIFY2(!page->title.isEmpty(), qPrintable(file));
        QVERIFY2(!page->heading.isEmpty(), qPrintable(file));
        QVERIFY2(!pageOfTitle.contains(page->title),
                 qPrintable(file + QStringLiteral(" and ") + pageOfTitle.value(page->title)));
        pageOfTitle.insert(page->title, file);

        QSet<QString> linked;
        for (const QString &link : page->links)
            linked.insert(resolved(file, link).toString());
        QVERIFY2(linked.contains(kContentsUrl.toString()), qPrintable(file));
        QVERIFY2(linked.contains(kIndexUrl.toString()), qPrintable(file));
    }
}

void TestHelpViewer::oneWindowServesEveryRequest()
{
    m_viewer->showContents();
    const QPointer<QWidget> first = onlyHelpWindow();
    QVERIFY(first);
    QCOMPARE(browserOf(first)->source(), kContentsUrl);

    m_viewer->showIndex();
    QCOMPARE(helpWindows().size(), 1);
    QCOMPARE(onlyHelpWindow(), first.data());
    QCOMPARE(browserOf(first)->source(), kIndexUrl);

    m_viewer->showTopic(HelpTopic::HistoryWindow);
    QCOMPARE(helpWindows().size(), 1);
    QCOMPARE(onlyHelpWindow(), first.data());
    QCOMPARE(browserOf(first)->source(), QUrl(QStringLiteral("qrc:/help/") + topicFile(HelpTopic::HistoryWindow)));
    QVERIFY(first->isVisible());
}

void TestHelpViewer::toolbarNavigatesAndTheTitleFollows()
{
    const QUrl topic(QStringLiteral("qrc:/help/") + topicFile(HelpTopic::CodeSearchDialog));
    m_viewer->showTopic(HelpTopic::CodeSearchDialog);
    QWidget *window = onlyHelpWindow();
    QTextBrowser *browser = browserOf(window);
    QAction *contents = actionOf(window, "HelpContents");
    QAction *index = actionOf(window, "HelpIndex");
    QAction *back = actionOf(window, "HelpBack");
    QAction *forward = actionOf(window, "HelpForward");
    QVERIFY(browser && contents && index && back && forward);
    QVERIFY(!back->isEnabled());
    QVERIFY(!forward->isEnabled());

    contents->trigger();
    QCOMPARE(browser->source(), kContentsUrl);
    QVERIFY(window->windowTitle().contains(m_pages[QStringLiteral("contents.html")].title));
    QVERIFY(back->isEnabled());

    back->trigger();
    QCOMPARE(browser->source(), topic);
    QVERIFY(window->windowTitle().contains(s("郵便番号検索")));
    QVERIFY(forward->isEnabled());

    forward->trigger();
    QCOMPARE(browser->source(), kContentsUrl);
    QVERIFY(!forward->isEnabled());

    index->trigger();
    QCOMPARE(browser->source(), kIndexUrl);
    QVERIFY(window->windowTitle().contains(m_pages[QStringLiteral("index.html")].title));

    // A relative link clicked inside a page resolves within the resources
    // and joins the same history.
    QVERIFY(clickLink(browser, QStringLiteral("topic-39.html")));
    QTRY_COMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/topic-39.html")));
    back->trigger();
    QCOMPARE(browser->source(), kIndexUrl);
}

void TestHelpViewer::escapeClosesAndTheNextRequestReopens()
{
    m_viewer->showContents();
    QPointer<QWidget> window = onlyHelpWindow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowActive(window));

    QTest::keyClick(browserOf(window), Qt::Key_Escape);
    QTRY_VERIFY(!window);
    QVERIFY(helpWindows().isEmpty());

    m_viewer->showTopic(HelpTopic::CandidateWindow);
    QWidget *reopened = onlyHelpWindow();
    QVERIFY(reopened);
    QVERIFY(reopened->isVisible());
    QCOMPARE(browserOf(reopened)->source(), QUrl(QStringLiteral("qrc:/help/") + topicFile(HelpTopic::CandidateWindow)));
}

void TestHelpViewer::helpFromAModalDialogOutlivesIt()
{
    auto dialog = std::make_unique<QDialog>();
    dialog->setModal(true);
    dialog->show();
    QCOMPARE(QApplication::activeModalWidget(), dialog.get());

    m_viewer->showTopic(HelpTopic::CodeSearchDialog);
    const QPointer<QWidget> window = onlyHelpWindow();
    QVERIFY(window);
    // Qt lets no window but a modal dialog's own children take input.
    QCOMPARE(window->parentWidget(), dialog.get());
    QVERIFY(window->isVisible());

    dialog->hide();
    dialog.reset();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->parentWidget());
    QCOMPARE(browserOf(window)->source(), QUrl(QStringLiteral("qrc:/help/") + topicFile(HelpTopic::CodeSearchDialog)));

    // Asked again with no dialog open, the same window answers.
    m_viewer->showIndex();
    QCOMPARE(onlyHelpWindow(), window.data());
    QCOMPARE(browserOf(window)->source(), kIndexUrl);
}

void TestHelpViewer::helpFollowsNestedModalDialogs()
{
    auto outer = std::make_unique<QDialog>();
    outer->setModal(true);
    outer->show();
    m_viewer->showContents();
    const QPointer<QWidget> window = onlyHelpWindow();
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), outer.get());

    auto inner = std::make_unique<QDialog>(outer.get());
    inner->setModal(true);
    inner->show();
    m_viewer->showTopic(HelpTopic::AddressInputDialog);
    QCOMPARE(onlyHelpWindow(), window.data());
    QCOMPARE(window->parentWidget(), inner.get());

    inner->hide();
    inner.reset();
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), outer.get());
    QVERIFY(window->isVisible());

    outer->hide();
    outer.reset();
    QVERIFY(window);
    QVERIFY(!window->parentWidget());
    QVERIFY(window->isVisible());
}

void TestHelpViewer::helpOpensBesideTheDialogThatAsked_data()
{
    QTest::addColumn<int>("dialogWidth");  // pixels, or 0: half the screen
    QTest::addColumn<bool>("tall");        // nearly as tall as the screen
    QTest::addColumn<QString>("dialogAt");
    QTest::addColumn<QString>("side");
    QTest::newRow("room on the right") << 40 << false << "left edge" << "right";
    QTest::newRow("room on the left only") << 40 << false << "right edge" << "left";
    QTest::newRow("some room: narrower, beside") << 200 << false << "left edge" << "right";
    QTest::newRow("no room beside: below, not over it") << 0 << false << "quarter" << "below";
    QTest::newRow("no room at all: as little over it as the screen allows") << 0 << true << "quarter" << "edge";
}

void TestHelpViewer::helpOpensBesideTheDialogThatAsked()
{
    QFETCH(int, dialogWidth);
    QFETCH(bool, tall);
    QFETCH(QString, dialogAt);
    QFETCH(QString, side);
    auto dialog = std::make_unique<QDialog>();
    dialog->setModal(true);
    const QRect screen = dialog->screen()->availableGeometry();
    dialog->resize(dialogWidth > 0 ? dialogWidth : screen.width() / 2, tall ? screen.height() - 80 : 120);
    const int x = dialogAt == QLatin1String("left edge")    ? screen.left()
                  : dialogAt == QLatin1String("right edge") ? screen.right() + 1 - dialog->width()
                                                            : screen.left() + screen.width() / 4;
    dialog->move(x, screen.top() + 40);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));

    m_viewer->showTopic(HelpTopic::CodeSearchDialog);
    QWidget *window = onlyHelpWindow();
    QVERIFY(window);
    const QRect help = window->frameGeometry();
    const QRect asker = dialog->frameGeometry();
    QVERIFY(screen.contains(help));
    if (side == QLatin1String("right"))
        QVERIFY(help.left() > asker.right());
    else if (side == QLatin1String("left"))
        QVERIFY(help.right() < asker.left());
    else if (side == QLatin1String("below"))
        QVERIFY(help.top() > asker.bottom());
    else
        QVERIFY(help.left() == screen.left() || help.right() == screen.right());
    if (side != QLatin1String("edge"))
        QVERIFY(!help.intersects(asker));
    if (side != QLatin1String("below")) {
        QCOMPARE(help.top(), asker.top());
        // Never so narrow that the pages' tables are squeezed.
        QVERIFY(help.width() >= 480);
    }
    window->close();
    dialog->hide();
}

QTEST_MAIN(TestHelpViewer)
#include "HelpViewerTest.moc"

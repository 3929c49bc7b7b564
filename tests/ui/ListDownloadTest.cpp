#include "app/DownloadedList.h"
#include "app/EnvironmentProbes.h"
#include "app/ListDownload.h"
#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "data/ListTestSupport.h"
#include "data/PostalListReader.h"
#include "support/CurrentFolder.h"
#include "support/FakeServices.h"
#include "support/LocalHttpServer.h"
#include "support/ModalDriver.h"
#include "support/OfficeFixtures.h"
#include "ui/main/TORUMIN.h"
#include "ui/settings/ListDownloadDialog.h"
#include "ui/settings/SETTEI.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>
#include <random>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace torumin;
using namespace torumin::testing;

Q_DECLARE_METATYPE(torumin::testing::LocalHttpServer::Answer)

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QDateTime kLoadedDate(QDate(2025, 9, 30), QTime(10, 0));
const QDateTime kPublished(QDate(2025, 10, 31), QTime(6, 0));
constexpr int kNationwideRecords = 124495;
// Made absolute before any test starts the program, which makes its own
// folder the current one: on Windows a path from the root is on the current
// drive.
const QString kFullList = QFileInfo(QStringLiteral(TORUMIN_FULL_LIST)).absoluteFilePath();
const QString kFullOfficeArchive = QFileInfo(QStringLiteral(TORUMIN_FULL_OFFICE_ARCHIVE)).absoluteFilePath();

// The full list as the postal service's UTF-8 edition ships it: one zipped
// .csv dated when it was published; or the same with every postal code
// replaced by letters, which only a check of the values tells from a list.
// Made once each; it takes a moment.
QByteArray fullListArchive(bool lettersForCodes)
{
    const ListReadResult full = readPostalListFile(kFullList);
    if (full.error)
        qFatal("the full list does not read: %s", qPrintable(full.error->message));
    QString csv;
    const auto q = [](QStringView text) -> QString { return QLatin1Char('"') + text.toString() + QLatin1Char('"'); };
    for (int row = 0; row < full.table.recordCount(); ++row) {
        const PostalTable &t = full.table;
        csv += QStringLiteral("13101,\"100  \",") + q(lettersForCodes ? QStringLiteral("abcdefg") : t.zipCode(row))
            + u',' + q(t.prefKana(row)) + u',' + q(t.cityKana(row)) + u',' + q(t.townKana(row)) + u','
            + q(t.prefName(row)) + u',' + q(t.cityName(row)) + u',' + q(t.townName(row))
            + QStringLiteral(",0,0,0,0,0,0\r\n");
    }
    return QByteArray::fromStdString(
        test::zipArchive({{"utf_ken_all.csv", csv.toStdString(), false, kPublished.toSecsSinceEpoch()}}));
}

const QByteArray kOfficePath = "/zipcode/dl/jigyosyo/zip/jigyosyo.zip";

// The large offices' list as the postal service ships it: the bundled one.
const QByteArray &officeArchive()
{
    static const QByteArray archive = QByteArray::fromStdString(test::readWholeFile(kFullOfficeArchive));
    return archive;
}

const QByteArray &nationwideArchive()
{
    static const QByteArray archive = fullListArchive(false);
    return archive;
}

// A small compressed answer that would unpack to 100 MB of nothing.
QByteArray deflateBomb()
{
    return qCompress(QByteArray(100 * 1024 * 1024, '\0'), 9).mid(4); // without qCompress's length prefix
}

QByteArray garbageArchive()
{
    std::mt19937 random(7);
    std::string bytes(64 * 1024, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random());
    return QByteArray::fromStdString(test::zipArchive({{"utf_ken_all.csv", bytes, false, kPublished.toSecsSinceEpoch()}}));
}

#ifdef Q_OS_UNIX
// Holds every file this process writes to a few hundred kilobytes: the
// download's writes fail part way, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};
#endif

// Everything a failed download must leave as it was.
struct Snapshot {
    QStringList options;
    int records = 0;
    QString tablePath;
    QDateTime tableDate;
    QStringList dataFolder;
    bool operator==(const Snapshot &) const = default;
};

enum class Twist { None, Cancel, DiskFull, NoServer, SameDate, NameTaken };

struct FailureCase {
    const char *name;
    std::function<LocalHttpServer::Answer()> answer;
    Twist twist;
    const char *message;  // part of the message shown; none for a cancel
};

const std::vector<FailureCase> &failureCases()
{
    using Ending = LocalHttpServer::Ending;
    static const std::vector<FailureCase> cases{
        {"not found, with an error page that never ends",
         [] { return LocalHttpServer::Answer{"404 Not Found", {}, Ending::Endless}; }, Twist::None,
         "サーバーが HTTP 404（Not Found）を返しました。"},
        {"truncated",
         [] { return LocalHttpServer::Answer{"200 OK", nationwideArchive().left(nationwideArchive().size() / 2)}; },
         Twist::None, "zip ファイルが壊れています"},
        {"garbage inside", [] { return LocalHttpServer::Answer{"200 OK", garbageArchive()}; }, Twist::None,
         "バイト目に、郵便番号一覧の文字ではないバイトがあります"},
        {"dropped halfway",
         [] {
             return LocalHttpServer::Answer{"200 OK", nationwideArchive(), Ending::Drop, nationwideArchive().size() / 2};
         },
         Twist::None, "受信の途中で接続が切れました"},
        {"endless body", [] { return LocalHttpServer::Answer{"200 OK", {}, Ending::Endless}; }, Twist::None,
         "受信したデータが 64 MB を超えたため、受信をやめました。"},
        {"announced too large",
         [] { return LocalHttpServer::Answer{"200 OK", "PK", Ending::Stall, 2, 100LL * 1024 * 1024}; }, Twist::None,
         "64 MB を超えた"},
        {"cancelled", [] { return LocalHttpServer::Answer{"200 OK", nationwideArchive(), Ending::Stall, 100000}; },
         Twist::Cancel, nullptr},
        {"disk full", [] { return LocalHttpServer::Answer{"200 OK", nationwideArchive()}; }, Twist::DiskFull,
         "ダウンロードしたファイルを保存できません"},
        {"no server", [] { return LocalHttpServer::Answer{}; }, Twist::NoServer, "サーバーに接続できません。"},
        {"letters for postal codes", [] { return LocalHttpServer::Answer{"200 OK", fullListArchive(true)}; },
         Twist::None, "郵便番号一覧の形になっていない行があります"},
        {"a list without records",
         [] {
             return LocalHttpServer::Answer{"200 OK", QByteArray::fromStdString(test::zipArchive(
                                                          {{"utf_ken_all.csv", "\r\n", false, kPublished.toSecsSinceEpoch()}}))};
         },
         Twist::None, "郵便番号が 1 件も入っていません"},
        {"redirects in a circle",
         [] {
             LocalHttpServer::Answer redirect{"302 Found"};
             redirect.headers = "Location: /zipcode/dl/utf/zip/utf_ken_all.zip\r\n";
             return redirect;
         },
         Twist::None, "転送（リダイレクト）が多すぎるか、同じところを回っています"},
        {"a compressed answer that unpacks without end",
         [] {
             LocalHttpServer::Answer bomb{"200 OK", deflateBomb()};
             bomb.headers = "Content-Encoding: deflate\r\n";
             return bomb;
         },
         Twist::None, "サーバーが圧縮して送ってきたデータを展開できませんでした"},
        {"a folder where the list goes", [] { return LocalHttpServer::Answer{"200 OK", nationwideArchive()}; },
         Twist::NameTaken, "ダウンロードしたファイルを保存できません"},
        {"same date as the loaded list", [] { return LocalHttpServer::Answer{"200 OK", nationwideArchive()}; },
         Twist::SameDate, "読み込み中の一覧と同じ 2025/10/31 のデータです。"},
    };
    return cases;
}

} // namespace

class TestListDownload final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void aGoodListIsPointedAtAndLoadedOnOk();
    void cancelOfTheSettingsTakesTheDownloadBack();
    void failuresChangeNothing_data();
    void failuresChangeNothing();
    void aSilentServerTimesOut();
    void aServerThatTricklesIsGivenUpOn();
    void aFailedOfficeListLeavesThePostalListInstalled_data();
    void aFailedOfficeListLeavesThePostalListInstalled();

private:
    std::unique_ptr<TORUMIN> showMainWindow();
    [[nodiscard]] Snapshot snapshot() const;
    [[nodiscard]] QString dataFolder() const { return downloadedListsFolder(); }
    void download(SETTEI &dialog, const ModalDriver::Step &duringDownload = [](QWidget &) {});

    std::unique_ptr<QTemporaryDir> m_root;
    std::optional<CurrentFolderKept> m_currentFolder;
    std::unique_ptr<FakeServices> m_services;
    std::unique_ptr<LocalHttpServer> m_server;
    ScriptedCommonDialogs m_dialogs;
    EnvironmentProbes m_probes;
    std::unique_ptr<ModalDriver> m_driver;
};

void TestListDownload::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
#ifdef Q_OS_WIN
    // No variable moves the data folder on Windows: Qt's test folder stands
    // in for it, emptied for every case.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(QDir(dataFolder()).removeRecursively());
#else
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_root->filePath(QStringLiteral("data"))));
#endif
    m_currentFolder.emplace();
    QVERIFY(QDir().mkpath(m_root->filePath(QStringLiteral("program"))));
    const QString list = m_root->filePath(QStringLiteral("program/ken_all.csv"));
    {
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("13101,\"100  \",\"1000005\",\"TOKYO\",\"CHIYODA\",\"TOWN\",\"T\",\"C\",\"M\",0,0,0,0,0,0\r\n");
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(kLoadedDate, QFileDevice::FileModificationTime));
    }
    QVERIFY(writeTinyOfficeList(m_root->filePath(QStringLiteral("program"))));
    m_server = std::make_unique<LocalHttpServer>();
    m_services = std::make_unique<FakeServices>();
    m_services->store.preset(Section::Config, QStringLiteral("OptLogo"), QStringLiteral("0"));
    m_services->store.preset(Section::Config, QStringLiteral("ListUrl"), m_server->url().toString());
    m_services->store.preset(Section::Config, QStringLiteral("JigyosyoUrl"), m_server->url(kOfficePath).toString());
    m_server->answerAt(kOfficePath, {"200 OK", officeArchive()});
    StartUpEnvironment env;
    env.programFolder = QDir::toNativeSeparators(m_root->filePath(QStringLiteral("program")));
    env.screenTwips = QSizeF(15360, 11520);
    StartUp(m_services->state, m_services->store, m_services->boxes, env);
    QVERIFY(m_services->boxes.shown().empty());
    QCOMPARE(m_services->state.tableDataDate, kLoadedDate);
    m_services->store.clearWrites();
    m_driver = std::make_unique<ModalDriver>();
}

void TestListDownload::cleanup()
{
    QCOMPARE(m_driver->unexpected(), 0);
    QCOMPARE(m_driver->pending(), std::size_t(0));
    m_driver.reset();
    QCOMPARE(m_services->boxes.unanswered(), 0);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
    m_server.reset();
    m_services.reset();
    m_currentFolder.reset();
    m_root.reset();
}

std::unique_ptr<TORUMIN> TestListDownload::showMainWindow()
{
    auto window = std::make_unique<TORUMIN>(m_services->context(), m_probes);
    window->setCommonDialogs(m_dialogs);
    window->show();
    return window;
}

Snapshot TestListDownload::snapshot() const
{
    Snapshot shot;
    for (const SettingKey &key : settingKeys())
        shot.options << key.key + u'=' + m_services->state.options.value(key.key);
    shot.records = m_services->state.table.recordCount();
    shot.tablePath = m_services->state.tablePath;
    shot.tableDate = m_services->state.tableDataDate;
    shot.dataFolder = QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden);
    return shot;
}

void TestListDownload::download(SETTEI &dialog, const ModalDriver::Step &duringDownload)
{
    m_driver->then([duringDownload](QWidget &modal) {
        QCOMPARE(modal.objectName(), QStringLiteral("ListDownloadDialog"));
        duringDownload(modal);
    });
    dialog.csv.Command5->click();
    QCOMPARE(m_driver->pending(), std::size_t(0));
}

void TestListDownload::aGoodListIsPointedAtAndLoadedOnOk()
{
    // Downloaded before: the oldest goes, unless a slot still names it.
    QVERIFY(QDir().mkpath(dataFolder()));
    for (const char *name : {"ken_all-20231231.zip", "ken_all-20240131.zip", "ken_all-20240229.zip",
                             "ken_all-20240331.zip"}) {
        QFile old(QDir(dataFolder()).filePath(QString::fromLatin1(name)));
        QVERIFY(old.open(QIODevice::WriteOnly));
    }
    m_services->state.options.set(s("Yubin_File(4)"), QDir(dataFolder()).filePath(s("ken_all-20240131.zip")));
    m_server->answer({"200 OK", nationwideArchive()});
    const auto window = showMainWindow();
    SETTEI dialog(m_services->context(), *window, m_dialogs, window.get());
    dialog.SSTab1->setCurrentIndex(3);
    QCOMPARE(dialog.csv.Command5->text(), s("最新の一覧をダウンロード(&D)"));
    QTest::qWait(100);
    QCOMPARE(m_server->connections(), 0);  // nothing goes out before the button

    download(dialog);
    const QString list = QDir::toNativeSeparators(QDir(dataFolder()).filePath(s("ken_all-20251031.zip")));
    const Options &options = m_services->state.options;
    QCOMPARE(options.value(s("Yubin_File(0)")), list);
    QCOMPARE(options.value(s("FolderName(0)")), dataFolder());
    QCOMPARE(dialog.csv.Label3[0]->toolTip(), s("　") + list + s("　"));
    QCOMPARE(dialog.csv.downloadStatus->text(),
             s("ダウンロードしました：") + list
                 + s("（2025/10/31 のデータ、124,495 件）と事業所の個別郵便番号一覧（22,428 件）。［OK］を押すと読み込みます。"));
    QCOMPARE(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{s("jigyosyo.zip"), s("ken_all-20240131.zip"), s("ken_all-20240229.zip"),
                          s("ken_all-20240331.zip"), s("ken_all-20251031.zip")}));
    // Nothing is stored or loaded before OK.
    QVERIFY(m_services->store.writes().empty());
    QCOMPARE(m_services->state.table.recordCount(), 1);

    dialog.Command1[0]->click();
    QCOMPARE(m_services->state.table.recordCount(), kNationwideRecords);
    QCOMPARE(m_services->state.tablePath, list);
    QCOMPARE(m_services->store.ReadSetting(Section::Config, s("Yubin_File(0)")), list);
    QCOMPARE(loadedListSummary(m_services->state), s("124,495 件（2025/10/31 更新）"));
    // The office list came with it, and lies beside it.
    QCOMPARE(m_services->state.offices.recordCount(), 22428);
    QCOMPARE(m_services->state.officesPath, QDir::toNativeSeparators(QDir(dataFolder()).filePath(s("jigyosyo.zip"))));
    QVERIFY(m_services->boxes.shown().empty());
    window->hide();
}

void TestListDownload::cancelOfTheSettingsTakesTheDownloadBack()
{
    m_server->answer({"200 OK", nationwideArchive()});
    const auto window = showMainWindow();
    const Snapshot before = snapshot();
    SETTEI dialog(m_services->context(), *window, m_dialogs, window.get());
    download(dialog);
    QVERIFY(m_services->state.options.value(s("Yubin_File(0)")).endsWith(s("ken_all-20251031.zip")));

    dialog.Command1[1]->click();
    Snapshot after = snapshot();
    QCOMPARE(after.dataFolder, (QStringList{s("jigyosyo.zip"), s("ken_all-20251031.zip")}));  // kept for another time
    after.dataFolder = before.dataFolder;
    QCOMPARE(after, before);
    QVERIFY(m_services->store.writes().empty());
    window->hide();
}

void TestListDownload::failuresChangeNothing_data()
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < failureCases().size(); ++i)
        QTest::newRow(failureCases()[i].name) << static_cast<int>(i);
}

void TestListDownload::failuresChangeNothing()
{
    QFETCH(int, row);
    const FailureCase &c = failureCases()[static_cast<std::size_t>(row)];
    m_server->answer(c.answer());
    if (c.twist == Twist::NoServer) {
        QTcpServer gone;
        QVERIFY(gone.listen(QHostAddress::LocalHost));
        QUrl url = m_server->url();
        url.setPort(gone.serverPort());
        gone.close();
        m_services->state.options.set(s("ListUrl"), url.toString());
    }
    if (c.twist == Twist::SameDate)
        m_services->state.tableDataDate = kPublished;
    if (c.twist == Twist::NameTaken)
        QVERIFY(QDir(dataFolder()).mkpath(s("ken_all-20251031.zip/inside")));
    if (c.message)
        m_services->boxes.queueAnswer(MsgResult::Ok);
    const auto window = showMainWindow();
    SETTEI dialog(m_services->context(), *window, m_dialogs, window.get());
    const Snapshot before = snapshot();

    {
#ifdef Q_OS_UNIX
        std::optional<FileSizeLimit> fullDisk;
        if (c.twist == Twist::DiskFull)
            fullDisk.emplace(256 * 1024);
#else
        if (c.twist == Twist::DiskFull)
            QSKIP("needs a file size limit");
#endif
        download(dialog, [&c, this](QWidget &modal) {
            if (c.twist != Twist::Cancel)
                return;
            auto &progress = static_cast<ListDownloadDialog &>(modal);
            QTRY_VERIFY(progress.received->text().startsWith(s("受信済み：100,000 / ")));
            progress.Command1->click();
        });
    }

    QCOMPARE(snapshot(), before);
    QVERIFY(m_services->store.writes().empty());
    QVERIFY(dialog.csv.downloadStatus->text().isEmpty());
    const auto &shown = m_services->boxes.shown();
    if (!c.message) {
        QVERIFY(shown.empty());
    } else {
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].title, s("ﾀﾞｳﾝﾛｰﾄﾞ 確認"));
        QCOMPARE(shown[0].style, 48);
        QVERIFY2(shown[0].text.contains(s(c.message)), qPrintable(shown[0].text));
        if (c.twist != Twist::SameDate) {
            QVERIFY(shown[0].text.startsWith(s("最新の郵便番号一覧をダウンロードできませんでした。　\r\r")));
            QVERIFY(shown[0].text.endsWith(s("\r\r読み込み中の郵便番号一覧と設定は、そのままです。")));
        }
    }
    dialog.reject();
    window->hide();
}

void TestListDownload::aSilentServerTimesOut()
{
    QTcpServer silent;  // takes the connection, never answers
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    ListDownloadRequest request;
    request.url = QUrl(QStringLiteral("http://127.0.0.1:%1/utf_ken_all.zip").arg(silent.serverPort()));
    request.folder = dataFolder();
    request.idleTimeout = std::chrono::milliseconds(300);
    ListDownload job(request);
    std::optional<ListDownloadResult> result;
    connect(&job, &ListDownload::finished, this, [&result](const ListDownloadResult &r) { result = r; });
    job.start();
    QTRY_VERIFY(result.has_value());
    QCOMPARE(result->outcome, ListDownloadResult::Outcome::Failed);
    QCOMPARE(result->error->code, ListUpdateFailure::Timeout);
    QVERIFY(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestListDownload::aServerThatTricklesIsGivenUpOn()
{
    // A byte every 20 ms never leaves it silent for the 300 ms of the idle
    // timeout, and would take days for the list.
    LocalHttpServer::Answer trickle{"200 OK", nationwideArchive(), LocalHttpServer::Ending::Trickle};
    trickle.trickleMs = 20;
    m_server->answer(trickle);
    ListDownloadRequest request;
    request.url = m_server->url();
    request.folder = dataFolder();
    request.idleTimeout = std::chrono::milliseconds(300);
    ListDownload job(request);
    std::optional<ListDownloadResult> result;
    connect(&job, &ListDownload::finished, this, [&result](const ListDownloadResult &r) { result = r; });
    job.start();
    QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 3000);
    QCOMPARE(result->outcome, ListDownloadResult::Outcome::Failed);
    QCOMPARE(result->error->code, ListUpdateFailure::TooSlow);
    QVERIFY2(m_server->bodyBytesWritten() > 5, "it did send");
    QVERIFY(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestListDownload::aFailedOfficeListLeavesThePostalListInstalled_data()
{
    QTest::addColumn<LocalHttpServer::Answer>("answer");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not found") << LocalHttpServer::Answer{"404 Not Found", "gone"} << s("HTTP 404");
    QTest::newRow("the postal list again") << LocalHttpServer::Answer{"200 OK", nationwideArchive()}
                                           << s("事業所の個別郵便番号一覧の形になっていない行があります");
    QTest::newRow("too few offices")
        << LocalHttpServer::Answer{"200 OK", QByteArray::fromStdString(test::zipArchive(
                                                 {{"JIGYOSYO.CSV", kTinyOfficeList, false, kPublished.toSecsSinceEpoch()}}))}
        << s("郵便番号が 1 件しかありません。全国の事業所の個別郵便番号一覧なら 10,000 件以上");
}

void TestListDownload::aFailedOfficeListLeavesThePostalListInstalled()
{
    QFETCH(LocalHttpServer::Answer, answer);
    QFETCH(QString, reason);
    m_server->answer({"200 OK", nationwideArchive()});
    m_server->answerAt(kOfficePath, answer);
    m_services->boxes.queueAnswer(MsgResult::Ok);
    const auto window = showMainWindow();
    SETTEI dialog(m_services->context(), *window, m_dialogs, window.get());
    download(dialog);

    const auto &shown = m_services->boxes.shown();
    QCOMPARE(shown.size(), std::size_t(1));
    QVERIFY(shown[0].text.startsWith(s("最新の事業所の個別郵便番号一覧をダウンロードできませんでした。　\r\r")));
    QVERIFY2(shown[0].text.contains(reason), qPrintable(shown[0].text));
    QVERIFY(m_services->state.options.value(s("Yubin_File(0)")).endsWith(s("ken_all-20251031.zip")));
    QCOMPARE(QDir(dataFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{s("ken_all-20251031.zip")});

    // OK loads the new postal list; the offices come from where they came before.
    dialog.Command1[0]->click();
    QCOMPARE(m_services->state.table.recordCount(), kNationwideRecords);
    QCOMPARE(m_services->state.offices.recordCount(), 1);
    window->hide();
}

QTEST_MAIN(TestListDownload)
#include "ListDownloadTest.moc"

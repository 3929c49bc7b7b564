#include "ListTestSupport.h"

#include "data/PostalListReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace torumin {
namespace {

QString fixture(const char *name)
{
    return QStringLiteral(TORUMIN_TEST_FIXTURES "/") + QString::fromUtf8(name);
}

class ListFiles : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const char *name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QString makeFile(const char *name, const QByteArray &bytes = "x") const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    // Hidden as the system hides files: by name on Linux, by attribute on Windows.
    QString makeHidden(const char *name) const
    {
#ifdef Q_OS_WIN
        const QString file = QDir::toNativeSeparators(makeFile(name));
        EXPECT_TRUE(::SetFileAttributesW(reinterpret_cast<LPCWSTR>(file.utf16()), FILE_ATTRIBUTE_HIDDEN));
        return file;
#else
        return makeFile((std::string(".") + name).c_str());
#endif
    }
#ifndef Q_OS_WIN
    QString makeFifo(const char *name) const
    {
        const QString fifo = path(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        return fifo;
    }
#endif

    QTemporaryDir m_dir;
};

TEST_F(ListFiles, ReadsAHandMadeList)
{
    const ListReadResult result = readPostalListFile(fixture("small_list.csv"));
    ASSERT_FALSE(result.error.has_value());
    const std::vector<test::Row> expected{
        {"0600000", "ﾎｯｶｲﾄﾞｳ", "ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ", "", "北海道", "札幌市中央区", ""},
        {"0640941", "ﾎｯｶｲﾄﾞｳ", "ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ", "ｱｻﾋｶﾞｵｶ", "北海道", "札幌市中央区", "旭ケ丘"},
        {"6048152", "ｷｮｳﾄﾌ", "ｷｮｳﾄｼﾅｶｷﾞｮｳｸ", "ｶﾗｽﾏﾙﾄﾞｵﾘ,ﾛｯｶｸｻｶﾞﾙ", "京都府", "京都市中京区",
         "烏丸通、六角下る"},
        {"0010001", "ﾃｽﾄ", "ﾃｽﾄ", "ﾀｶﾀﾞ", "試験県", "髙田市", "①～＼㈱"},
    };
    EXPECT_EQ(test::rowsOf(result.table), expected);
}

TEST_F(ListFiles, CutOffListKeepsItsCompleteRecords)
{
    const QString cutOff = fixture("cut_off_list.csv");
    const ListReadResult result = readPostalListFile(cutOff);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->code, ListErrorCode::Truncated);
    EXPECT_EQ(result.table.recordCount(), 3);
    EXPECT_EQ(result.table.townName(2), u"烏丸通、六角下る");
    EXPECT_TRUE(result.error->message.contains(QDir::toNativeSeparators(cutOff)));
    EXPECT_TRUE(result.error->message.contains(QStringLiteral("3 件")));
}

// A file large enough to be read in two halves: a fault in either is told
// as one pass over the file tells it, by its line from the start.
TEST_F(ListFiles, LargeFileTellsAFaultByItsLineInEitherHalf)
{
    constexpr int kLines = 80000;  // 4.8 MB
    std::string good;
    for (int line = 0; line < kLines; ++line)
        good += "01101,2," + std::to_string(1000000 + line) + ",kana,kana,kana,pref,city,town,0,0,0,0,0,0\r\n";
    const ListReadResult whole = readPostalListFile(makeFile("large.csv", QByteArray::fromStdString(good)));
    ASSERT_FALSE(whole.error.has_value());
    ASSERT_EQ(whole.table.recordCount(), kLines);
    EXPECT_EQ(whole.table.zipCode(kLines - 1), u"1079999");
    for (const int badLine : {1000, kLines - 1000}) {
        std::string bad = good;
        const std::string code = std::to_string(1000000 + badLine - 1);
        bad.replace(bad.find(code), code.size(), "100x000");
        const ListReadResult result = readPostalListFile(makeFile("large_bad.csv", QByteArray::fromStdString(bad)));
        ASSERT_TRUE(result.error.has_value());
        EXPECT_EQ(result.error->code, ListErrorCode::MalformedLine);
        EXPECT_TRUE(result.error->message.contains(QStringLiteral("%1 行目").arg(badLine))) << badLine;
        EXPECT_EQ(result.table.recordCount(), badLine - 1);
    }
}

TEST_F(ListFiles, ThingsThatAreNotRegularFilesAreRefusedWithoutWaiting)
{
    const QString missing = path("missing.csv");
    const QString folder = path("folder.csv");
    ASSERT_TRUE(QDir().mkdir(folder));
#ifdef Q_OS_WIN
    // No FIFOs in Windows' file system; its null device stands for the devices.
    for (const QString &target : {missing, folder, QStringLiteral("NUL")}) {
        auto reading = std::async(std::launch::async, [&target] { return readPostalListFile(target); });
        if (reading.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            std::abort(); // nothing can release a reader stuck on a device here
#else
    const QString fifo = makeFifo("fifo.csv");
    for (const QString &target : {missing, folder, fifo, QStringLiteral("/dev/null")}) {
        auto reading = std::async(std::launch::async, [&target] { return readPostalListFile(target); });
        if (reading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            // Release the reader before failing, or the test would hang here.
            const int writer = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
            FAIL() << "reading " << target.toStdString() << " did not return";
        }
#endif
        const ListReadResult result = reading.get();
        ASSERT_TRUE(result.error.has_value()) << target.toStdString();
        EXPECT_EQ(result.error->code, ListErrorCode::CannotOpen) << target.toStdString();
        EXPECT_EQ(result.table.recordCount(), 0);
        EXPECT_TRUE(result.error->message.contains(QDir::toNativeSeparators(target))) << target.toStdString();
    }
}

TEST_F(ListFiles, UnreadableFileCannotBeOpened)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "POSIX permissions, read in a child process that gives up root; Windows has access lists";
#else
    const QString locked = makeFile("locked.csv");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                        | QFile::ReadOther | QFile::ExeOther));
    // Permissions do not stop root: read as nobody in a child process.
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(2);
            const ListReadResult result = readPostalListFile(locked);
            const bool refused = result.error && result.error->code == ListErrorCode::CannotOpen
                && result.error->message.contains(QStringLiteral("権限"));
            std::_Exit(refused ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
#endif
}

TEST_F(ListFiles, OversizedFileIsRefusedBeforeReading)
{
    // Sparse: the size is there without the bytes.
    const QString huge = makeFile("huge.csv");
    ASSERT_TRUE(QFile::resize(huge, kMaxListFileBytes + 1));
    const ListReadResult result = readPostalListFile(huge);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->code, ListErrorCode::TooLarge);
    EXPECT_EQ(result.table.recordCount(), 0);
}

TEST_F(ListFiles, ExistenceMeansAVisibleRegularFile)
{
    const QString readOnly = makeFile("readonly.csv");
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner));
    ASSERT_TRUE(QDir().mkdir(path("folder.csv")));
    const struct {
        QString path;
        bool exists;
    } cases[] = {
        {makeFile("list.csv"), true},
        // What is inside is only looked at when loading.
        {makeFile("ken_all.zip"), true},
        {readOnly, true},
        {makeHidden("hidden.csv"), false},
        {path("folder.csv"), false},
        {path("missing.csv"), false},
#ifndef Q_OS_WIN
        {makeFifo("fifo.csv"), false},
#endif
        {QString(), false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(postalListExists(c.path), c.exists) << c.path.toStdString();
}

} // namespace
} // namespace torumin

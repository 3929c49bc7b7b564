#include <QtGlobal>

#ifdef Q_OS_WIN

#include <gtest/gtest.h>

TEST(QtSettingsStoreTest, SettingsFile)
{
    GTEST_SKIP() << "Windows keeps the settings in the registry, not in a file (see RegistrySettingsTest)";
}

#else

#include "StoreTestSupport.h"
#include "app/Options.h"
#include "app/settings/QtSettingsStore.h"
#include "app/settings/SettingsFile.h"
#include "app/HistoryStore.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <ostream>
#include <tuple>
#include <vector>

using namespace Qt::StringLiterals;

namespace torumin {
namespace {

using testing::asideCopies;
using testing::fileBytes;
using testing::reopenFromCopy;

struct Entry {
    QString section;
    QString key;
    QString value;
};

class QtSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    [[nodiscard]] QString folder() const { return m_dir.path(); }
    [[nodiscard]] QString iniPath() const { return m_dir.filePath(u"TORUMIN.ini"_s); }

    void writeRaw(const QString &path, const QByteArray &bytes) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

private:
    QTemporaryDir m_dir;
};

void expectNoticeForUser(const std::optional<SettingsNotice> &notice, const QString &mentioned)
{
    ASSERT_TRUE(notice.has_value());
    EXPECT_TRUE(notice->title.endsWith(u"確認"_s)) << notice->title.toStdString();
    EXPECT_TRUE(notice->text.contains(QDir::toNativeSeparators(mentioned))) << notice->text.toStdString();
    EXPECT_TRUE(notice->text.endsWith(QChar(0x3000))) << notice->text.toStdString();
}

TEST_F(QtSettingsStoreTest, AwkwardValuesSurviveTheFileExactly)
{
    const std::vector<Entry> entries = {
        {u"Rireki"_s, u"K_Rireki(19)"_s, u"〒100-0005　東京都千代田区丸の内"_s},
        {u"Config"_s, u"Yubin_File(3)"_s, u"C:\\Program Files\\TORUMIN\\KEN_ALL.CSV"_s},
        {u"Config"_s, u"OptColor(0)"_s, u"&H00FFFFFF&"_s},
        {u"Config"_s, u"Lines"_s, u"一行目\r二行目\r\n三行目\n"_s},
        {u"Config"_s, u"Spaces"_s, u"  前後に空白  "_s},
        {u"Config"_s, u"Tabs"_s, u"\t前\t"_s},
        {u"Config"_s, u"OnlyIdeographicSpace"_s, u"　"_s},
        {u"Config"_s, u"Empty"_s, u""_s},
        {u"Config"_s, u"Number"_s, u"0012.50"_s},
        {u"Config"_s, u"Variant"_s, u"@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\n)"_s},
        {u"Config"_s, u"DoubleAt"_s, u"@@x"_s},
        {u"Config"_s, u"IniSyntax"_s, u"\"引用\";注釈=値,カンマ [節]"_s},
        {u"Config"_s, u"CommaList"_s, u"a, b"_s},
        {u"Config"_s, u"TrailingBackslash"_s, u"C:\\"_s},
        {u"Config"_s, u"ControlThenHexDigit"_s, u"\u0001a\u001fF"_s},
        {u"Config"_s, u"OutsideBmp"_s, u"𠮷野家"_s},
        {u"Saigo"_s, u"漢字 の鍵"_s, u"値"_s},
        {u"Position"_s, u"Left"_s, u"-300"_s},
    };
    const auto writer = QtSettingsStore::openFile(iniPath());
    for (const Entry &e : entries)
        writer->WriteSetting(e.section, e.key, e.value);
    EXPECT_FALSE(writer->lastWriteFailed());

    const auto reader = reopenFromCopy(iniPath());
    for (const Entry &e : entries) {
        EXPECT_EQ(writer->ReadSetting(e.section, e.key), e.value) << e.key.toStdString();
        EXPECT_EQ(reader->ReadSetting(e.section, e.key), e.value) << e.key.toStdString();
    }
}

TEST_F(QtSettingsStoreTest, KeysAreDistinctAndMissingOnesReadEmpty)
{
    {
        const auto store = QtSettingsStore::openFile(iniPath());
        store->WriteSetting(u"Config"_s, u"Yubin_File(3)"_s, u"three"_s);
        store->WriteSetting(u"Config"_s, u"Yubin_File(30)"_s, u"thirty"_s);
        store->WriteSetting(u"Config"_s, u"Yubin_File3"_s, u"bare"_s);
        store->WriteSetting(u"Config"_s, u"Yubin_File%283%29"_s, u"escaped-looking"_s);
        store->WriteSetting(u"Saigo"_s, u"Yubin_File(3)"_s, u"other section"_s);
        store->WriteSetting(u"Config"_s, u"Overwritten"_s, u"first"_s);
        store->WriteSetting(u"Config"_s, u"Overwritten"_s, u"second"_s);
    }
    const auto store = reopenFromCopy(iniPath());
    const std::vector<std::tuple<QString, QString, QString>> expected = {
        {u"Config"_s, u"Yubin_File(3)"_s, u"three"_s},
        {u"Config"_s, u"Yubin_File(30)"_s, u"thirty"_s},
        {u"Config"_s, u"Yubin_File3"_s, u"bare"_s},
        {u"Config"_s, u"Yubin_File%283%29"_s, u"escaped-looking"_s},
        {u"Saigo"_s, u"Yubin_File(3)"_s, u"other section"_s},
        {u"Config"_s, u"Overwritten"_s, u"second"_s},
        {u"Config"_s, u"Yubin_File(4)"_s, u""_s},
        {u"Config"_s, u"yubin_file(3)"_s, u""_s},
        {u"Rireki"_s, u"Yubin_File(3)"_s, u""_s},
    };
    for (const auto &[section, key, value] : expected)
        EXPECT_EQ(store->ReadSetting(section, key), value) << section.toStdString() << '/' << key.toStdString();
}

TEST_F(QtSettingsStoreTest, TwoStoresOnOneFileKeepEachOthersKeys)
{
    const auto first = QtSettingsStore::openFile(iniPath());
    const auto second = QtSettingsStore::openFile(iniPath());
    for (int i = 0; i < 10; ++i) {
        first->WriteSetting(u"Rireki"_s, u"A(%1)"_s.arg(i), u"first %1"_s.arg(i));
        second->WriteSetting(u"Rireki"_s, u"B(%1)"_s.arg(i), u"second %1"_s.arg(i));
    }
    // Each serves what it read at open plus its own writes.
    EXPECT_EQ(first->ReadSetting(u"Rireki"_s, u"B(0)"_s), u""_s);
    EXPECT_EQ(second->ReadSetting(u"Rireki"_s, u"A(0)"_s), u""_s);

    const auto reader = reopenFromCopy(iniPath());
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(reader->ReadSetting(u"Rireki"_s, u"A(%1)"_s.arg(i)), u"first %1"_s.arg(i));
        EXPECT_EQ(reader->ReadSetting(u"Rireki"_s, u"B(%1)"_s.arg(i)), u"second %1"_s.arg(i));
    }
}

TEST_F(QtSettingsStoreTest, UsableFilesOpenWithoutNotice)
{
    const std::vector<std::pair<const char *, std::optional<QByteArray>>> files = {
        {"missing", std::nullopt},
        {"empty", QByteArray()},
        {"plain", QByteArray("[Config]\nA=1\n")},
        {"comments and CRLF", QByteArray("; kept by hand\r\n[Config]\r\nA=1\r\n")},
    };
    for (const auto &[name, bytes] : files) {
        SCOPED_TRACE(name);
        QFile::remove(iniPath());
        if (bytes)
            writeRaw(iniPath(), *bytes);
        const auto store = QtSettingsStore::openFile(iniPath());
        EXPECT_FALSE(store->takeOpeningNotice().has_value());
        EXPECT_FALSE(store->isMemoryOnly());
        EXPECT_EQ(store->ReadSetting(u"Config"_s, u"A"_s), bytes && !bytes->isEmpty() ? u"1"_s : u""_s);
        EXPECT_EQ(QFile::exists(iniPath()), bytes.has_value());
        EXPECT_TRUE(asideCopies(folder()).isEmpty());
    }
}

struct Garbage {
    const char *name;
    QByteArray bytes;
};

void PrintTo(const Garbage &garbage, std::ostream *os)
{
    *os << garbage.name;
}

class UnreadableFileTest : public QtSettingsStoreTest, public ::testing::WithParamInterface<Garbage> {};

TEST_P(UnreadableFileTest, IsSetAsideAndTheStoreStartsOnDefaults)
{
    const QByteArray bytes = GetParam().bytes;
    writeRaw(iniPath(), bytes);

    const auto store = QtSettingsStore::openFile(iniPath());
    EXPECT_EQ(store->ReadSetting(u"Config"_s, u"A"_s), u""_s);
    EXPECT_FALSE(store->isMemoryOnly());

    const QStringList aside = asideCopies(folder());
    ASSERT_EQ(aside.size(), 1);
    const QString asidePath = QDir(folder()).filePath(aside.first());
    EXPECT_EQ(fileBytes(asidePath), bytes);
    EXPECT_FALSE(QFile::exists(iniPath()));

    expectNoticeForUser(store->takeOpeningNotice(), iniPath());
    EXPECT_FALSE(store->takeOpeningNotice().has_value()) << "offered twice";

    // The next write starts a clean file that opens without complaint.
    store->WriteSetting(u"Config"_s, u"A"_s, u"2"_s);
    EXPECT_FALSE(store->lastWriteFailed());
    EXPECT_EQ(reopenFromCopy(iniPath())->ReadSetting(u"Config"_s, u"A"_s), u"2"_s);
    EXPECT_EQ(fileBytes(asidePath), bytes);
}

QByteArray binaryGarbage()
{
    QByteArray bytes;
    for (int i = 0; i < 512; ++i)
        bytes.append(static_cast<char>((i * 37 + 11) % 256));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Contents, UnreadableFileTest, ::testing::Values(
    Garbage{"NulByte", QByteArray("[Config]\nA=1\0\n", 15)},
    Garbage{"Binary", binaryGarbage()},
    Garbage{"UnclosedSection", QByteArray("[Config\nA=1\n")},
    Garbage{"Utf16", QByteArray("\xFF\xFE[\0C\0]\0\n\0A\0=\0\x31\0", 16)}),
    [](const ::testing::TestParamInfo<Garbage> &info) { return std::string(info.param.name); });

class PartlyReadableFileTest : public QtSettingsStoreTest, public ::testing::WithParamInterface<Garbage> {};

TEST_P(PartlyReadableFileTest, KeepsWhatCanBeReadAndStaysInPlace)
{
    const QByteArray bytes = GetParam().bytes;
    writeRaw(iniPath(), bytes);

    const auto store = QtSettingsStore::openFile(iniPath());
    EXPECT_FALSE(store->takeOpeningNotice().has_value());
    EXPECT_EQ(store->ReadSetting(u"Config"_s, u"A"_s), u"1"_s);
    EXPECT_EQ(fileBytes(iniPath()), bytes);
    EXPECT_TRUE(asideCopies(folder()).isEmpty());

    store->WriteSetting(u"Config"_s, u"B"_s, u"2"_s);
    const auto reader = reopenFromCopy(iniPath());
    EXPECT_EQ(reader->ReadSetting(u"Config"_s, u"A"_s), u"1"_s);
    EXPECT_EQ(reader->ReadSetting(u"Config"_s, u"B"_s), u"2"_s);
    // What the reader passed over is written back with the save.
    EXPECT_EQ(parseIni(fileBytes(iniPath())).passedOver, parseIni(bytes).passedOver);
}

INSTANTIATE_TEST_SUITE_P(Contents, PartlyReadableFileTest, ::testing::Values(
    Garbage{"Comments", QByteArray("; kept by hand\n[Config]\n# the office copy\nA=1\n")},
    Garbage{"PathInCp932", QByteArray("[Config]\nA=1\nYubin_File(5)=/home/u/\x97\x58\x95\xD6/ken_all.csv\n")},
    Garbage{"InvalidUtf8", QByteArray("[Config]\nA=1\nOptColor%280%29=&H00\xFF\xFE&\n")},
    Garbage{"TruncatedUtf8", QByteArray("[Config]\nA=1\nB=\xE6\x9D")},
    Garbage{"LineWithoutEquals", QByteArray("[Config]\nA=1\nこれは設定ではない\n")},
    Garbage{"ByteOrderMark", QByteArray("\xEF\xBB\xBF[Config]\r\nA=1\r\n")},
    Garbage{"NulInAnotherLine", QByteArray("[Config]\nA=1\nB=\0\n", 17)}),
    [](const ::testing::TestParamInfo<Garbage> &info) { return std::string(info.param.name); });

TEST_F(QtSettingsStoreTest, FolderInPlaceOfTheFileIsSetAside)
{
    ASSERT_TRUE(QDir(folder()).mkpath(u"TORUMIN.ini/inside"_s));
    const auto store = QtSettingsStore::openFile(iniPath());
    expectNoticeForUser(store->takeOpeningNotice(), iniPath());

    const QStringList aside = asideCopies(folder());
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(QDir(folder()).filePath(aside.first() + u"/inside"_s)));

    store->WriteSetting(u"Config"_s, u"A"_s, u"1"_s);
    EXPECT_FALSE(store->lastWriteFailed());
    EXPECT_TRUE(QFileInfo(iniPath()).isFile());
}

TEST_F(QtSettingsStoreTest, FileWithoutReadPermissionIsSetAside)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads the file regardless of its permissions";
    writeRaw(iniPath(), "[Config]\nA=1\n");
    ASSERT_TRUE(QFile::setPermissions(iniPath(), QFile::WriteOwner));

    const auto store = QtSettingsStore::openFile(iniPath());
    EXPECT_EQ(store->ReadSetting(u"Config"_s, u"A"_s), u""_s);
    expectNoticeForUser(store->takeOpeningNotice(), iniPath());
    EXPECT_EQ(asideCopies(folder()).size(), 1);
}

TEST_F(QtSettingsStoreTest, EarlierAsideCopiesAreNeverOverwritten)
{
    const QByteArray first = "[Config\nfirst\n";
    const QByteArray second = "[Config\nsecond\n";
    writeRaw(iniPath(), first);
    std::ignore = QtSettingsStore::openFile(iniPath());
    writeRaw(iniPath(), second);
    std::ignore = QtSettingsStore::openFile(iniPath());

    QStringList aside = asideCopies(folder());
    ASSERT_EQ(aside.size(), 2);
    QList<QByteArray> kept;
    for (const QString &name : aside)
        kept.append(fileBytes(QDir(folder()).filePath(name)));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (QList<QByteArray>{first, second}));
}

// Makes a folder refuse renames, even to root, for as long as it lives.
class RenameBlocker {
public:
    explicit RenameBlocker(const QString &folder) : m_folder(folder)
    {
        if (::geteuid() != 0) {
            m_blocked = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            m_byPermissions = m_blocked;
            return;
        }
        m_blocked = setImmutable(true);
    }
    ~RenameBlocker()
    {
        if (m_byPermissions)
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        else if (m_blocked)
            setImmutable(false);
    }
    RenameBlocker(const RenameBlocker &) = delete;
    RenameBlocker &operator=(const RenameBlocker &) = delete;

    [[nodiscard]] bool blocked() const { return m_blocked; }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    QString m_folder;
    bool m_blocked = false;
    bool m_byPermissions = false;
};

TEST_F(QtSettingsStoreTest, FileThatCannotBeSetAsideIsLeftAloneAndWritesStayInMemory)
{
    const QString inner = QDir(folder()).filePath(u"locked"_s);
    ASSERT_TRUE(QDir().mkpath(inner));
    const QString path = QDir(inner).filePath(u"TORUMIN.ini"_s);
    const QByteArray garbage = "[Config\nA=1\n";
    writeRaw(path, garbage);

    std::unique_ptr<QtSettingsStore> store;
    {
        const RenameBlocker blocker(inner);
        if (!blocker.blocked())
            GTEST_SKIP() << "this file system lets root rename anything here";
        store = QtSettingsStore::openFile(path);
        int failures = 0;
        store->setWriteFailureHandler([&failures](const SettingsNotice &) { ++failures; });
        store->WriteSetting(u"Config"_s, u"A"_s, u"2"_s);
        EXPECT_EQ(store->ReadSetting(u"Config"_s, u"A"_s), u"2"_s);
        EXPECT_EQ(failures, 0) << "the opening notice already said changes are not saved";
    }
    EXPECT_TRUE(store->isMemoryOnly());
    const auto notice = store->takeOpeningNotice();
    expectNoticeForUser(notice, path);
    EXPECT_FALSE(notice->text.contains(u".unreadable-"_s));
    EXPECT_TRUE(asideCopies(inner).isEmpty());
    EXPECT_EQ(fileBytes(path), garbage);

    // Even once the folder is writable again, this run leaves the file alone.
    store->WriteSetting(u"Config"_s, u"A"_s, u"3"_s);
    EXPECT_EQ(fileBytes(path), garbage);
}

TEST_F(QtSettingsStoreTest, FailedWritesAreReportedOnceAndSavedLater)
{
    // A plain file where the settings folder should be: not even root can
    // create the settings file under it.
    const QString blocker = QDir(folder()).filePath(u"blocked"_s);
    const QString path = QDir(blocker).filePath(u"TORUMIN.ini"_s);
    writeRaw(blocker, "not a folder");

    const auto store = QtSettingsStore::openFile(path);
    EXPECT_FALSE(store->takeOpeningNotice().has_value());

    store->WriteSetting(u"Config"_s, u"A"_s, u"1"_s);
    EXPECT_TRUE(store->lastWriteFailed());
    std::vector<SettingsNotice> reported;
    store->setWriteFailureHandler([&reported](const SettingsNotice &n) { reported.push_back(n); });
    ASSERT_EQ(reported.size(), 1U) << "a failure before the handler was set is handed over";
    EXPECT_TRUE(reported[0].title.endsWith(u"確認"_s));
    EXPECT_TRUE(reported[0].text.contains(QDir::toNativeSeparators(path)));
    EXPECT_TRUE(reported[0].text.endsWith(QChar(0x3000)));

    store->WriteSetting(u"Config"_s, u"B"_s, u"2"_s);
    EXPECT_TRUE(store->lastWriteFailed());
    EXPECT_EQ(reported.size(), 1U);
    EXPECT_EQ(store->ReadSetting(u"Config"_s, u"B"_s), u"2"_s);

    ASSERT_TRUE(QFile::remove(blocker));
    store->WriteSetting(u"Config"_s, u"C"_s, u"3"_s);
    EXPECT_FALSE(store->lastWriteFailed());
    const auto reader = reopenFromCopy(path);
    EXPECT_EQ(reader->ReadSetting(u"Config"_s, u"A"_s), u"1"_s);
    EXPECT_EQ(reader->ReadSetting(u"Config"_s, u"B"_s), u"2"_s);
    EXPECT_EQ(reader->ReadSetting(u"Config"_s, u"C"_s), u"3"_s);

    // Failing again after a success is news again.
    ASSERT_TRUE(QDir(blocker).removeRecursively());
    writeRaw(blocker, "not a folder");
    store->WriteSetting(u"Config"_s, u"D"_s, u"4"_s);
    EXPECT_TRUE(store->lastWriteFailed());
    EXPECT_EQ(reported.size(), 2U);
}

// Lowers the size of the largest file this process may write, so a write
// stops part way as it does on a full disk, without root and without a disk
// to fill.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (::getrlimit(RLIMIT_FSIZE, &m_saved) != 0)
            return;
        rlimit lowered = m_saved;
        lowered.rlim_cur = static_cast<rlim_t>(bytes);
        m_set = ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_set)
            ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    [[nodiscard]] bool isSet() const { return m_set; }

private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = SIG_DFL;
    bool m_set = false;
};

TEST_F(QtSettingsStoreTest, FullDiskLeavesTheFileAsItWasAndKeepsTheChangesForLater)
{
    // As full as a user's file gets: eight list slots, nineteen entries.
    {
        std::vector<SettingWrite> writes;
        for (int i = 0; i < 8; ++i) {
            writes.push_back({u"Config"_s, u"Yubin_File(%1)"_s.arg(i), u"/home/山田/郵便番号/%1/ken_all.csv"_s.arg(i)});
            writes.push_back({u"Config"_s, u"FolderName(%1)"_s.arg(i), u"/home/山田/郵便番号/%1"_s.arg(i)});
        }
        for (int i = 0; i < 19; ++i)
            writes.push_back({u"Rireki"_s, u"K_Rireki(%1)"_s.arg(i), u"〒100-00%1　東京都千代田区丸の内"_s.arg(i, 2, 10, QChar(u'0'))});
        QtSettingsStore::openFile(iniPath())->WriteSettings(writes);
    }
    const QByteArray before = fileBytes(iniPath());
    const QString entry = u"〒060-0000　北海道札幌市中央区"_s;

    const auto store = QtSettingsStore::openFile(iniPath());
    int reported = 0;
    store->setWriteFailureHandler([&reported](const SettingsNotice &) { ++reported; });
    {
        // Room for no more than the file already takes.
        const FileSizeLimit limit(before.size());
        ASSERT_TRUE(limit.isSet());
        store->WriteSetting(u"Rireki"_s, u"K_Rireki(19)"_s, entry);
        EXPECT_TRUE(store->lastWriteFailed());
        store->WriteSetting(u"Saigo"_s, u"YubinB"_s, u"0600000"_s);
        EXPECT_TRUE(store->lastWriteFailed());
    }
    EXPECT_EQ(fileBytes(iniPath()), before);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{u"TORUMIN.ini"_s})
        << "a half-written copy or a lock was left behind";
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(store->ReadSetting(u"Rireki"_s, u"K_Rireki(19)"_s), entry);

    // Once there is room again, the next save brings everything along.
    store->WriteSetting(u"Config"_s, u"OptSen"_s, u"1"_s);
    EXPECT_FALSE(store->lastWriteFailed());
    const auto reader = reopenFromCopy(iniPath());
    EXPECT_EQ(reader->ReadSetting(u"Rireki"_s, u"K_Rireki(19)"_s), entry);
    EXPECT_EQ(reader->ReadSetting(u"Saigo"_s, u"YubinB"_s), u"0600000"_s);
    EXPECT_EQ(reader->ReadSetting(u"Config"_s, u"OptSen"_s), u"1"_s);
    EXPECT_EQ(reader->ReadSetting(u"Config"_s, u"Yubin_File(7)"_s), u"/home/山田/郵便番号/7/ken_all.csv"_s);
}

TEST_F(QtSettingsStoreTest, AnotherInstanceHoldingTheFileDelaysASaveWithoutFreezingThisOne)
{
    int argc = 1;
    char name[] = "settings_tests";
    char *argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv); // the later try runs on a timer

    const auto store = QtSettingsStore::openFile(iniPath());
    std::vector<SettingsNotice> reported;
    store->setWriteFailureHandler([&reported](const SettingsNotice &n) { reported.push_back(n); });
    {
        // Another instance stuck in the middle of a save.
        const SettingsFileLock other(iniPath() + u".lock"_s, std::chrono::milliseconds(0));
        ASSERT_TRUE(other.isLocked());
        QElapsedTimer timer;
        timer.start();
        store->WriteSetting(u"Saigo"_s, u"YubinB"_s, u"1000005"_s);
        store->WriteSetting(u"Config"_s, u"OptSen"_s, u"1"_s);
        EXPECT_LT(timer.elapsed(), 4000) << "each save waits a second at most";
        EXPECT_TRUE(store->lastWriteFailed());
        ASSERT_EQ(reported.size(), 1U) << "told once, not at every save";
        expectNoticeForUser(reported[0], iniPath());
        EXPECT_TRUE(reported[0].text.contains(u"ほかに起動している"_s)) << reported[0].text.toStdString();
        EXPECT_EQ(store->ReadSetting(u"Saigo"_s, u"YubinB"_s), u"1000005"_s);
    }
    // Once the other lets go, both changes reach the file with no further save.
    QElapsedTimer waited;
    waited.start();
    while (store->lastWriteFailed() && waited.elapsed() < 4 * QtSettingsStore::kRetryInterval.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(store->lastWriteFailed());
    const auto reader = reopenFromCopy(iniPath());
    EXPECT_EQ(reader->ReadSetting(u"Saigo"_s, u"YubinB"_s), u"1000005"_s);
    EXPECT_EQ(reader->ReadSetting(u"Config"_s, u"OptSen"_s), u"1"_s);
    EXPECT_EQ(reported.size(), 1U);
}

TEST_F(QtSettingsStoreTest, LocksLeftBehindByAKilledInstanceHoldNothingUp)
{
    // What an instance killed while locking could leave: a lock naming a
    // process long gone, and the empty companion made while clearing one.
    writeRaw(iniPath() + u".lock"_s, "999999999\nsettings_writer\nlocalhost\n");
    writeRaw(iniPath() + u".lock.rmlock"_s, "");
    const auto store = QtSettingsStore::openFile(iniPath());
    QElapsedTimer timer;
    timer.start();
    store->WriteSetting(u"Config"_s, u"A"_s, u"1"_s);
    EXPECT_FALSE(store->lastWriteFailed());
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(reopenFromCopy(iniPath())->ReadSetting(u"Config"_s, u"A"_s), u"1"_s);
}

QStringList storedHistory(const QString &path)
{
    const auto store = reopenFromCopy(path);
    Options options;
    for (int slot = 0; slot < 20; ++slot)
        options.set(historyKey(slot), store->ReadSetting(u"Rireki"_s, historyKey(slot)));
    return historyEntries(options);
}

TEST_F(QtSettingsStoreTest, TwoInstancesKeepEachOthersHistory)
{
    const auto first = QtSettingsStore::openFile(iniPath());
    const auto second = QtSettingsStore::openFile(iniPath());
    Options firstOptions;
    Options secondOptions;
    const auto entry = [](const char *name) -> QString { return u"〒100-0005　"_s + QString::fromUtf8(name); };
    addHistoryEntry(firstOptions, *first, entry("A1"), u"東京都"_s);
    addHistoryEntry(secondOptions, *second, entry("B1"), u"東京都"_s);
    addHistoryEntry(firstOptions, *first, entry("A2"), u"東京都"_s);
    addHistoryEntry(secondOptions, *second, entry("B2"), u"東京都"_s);
    const QStringList all{entry("A1"), entry("B1"), entry("A2"), entry("B2")};
    EXPECT_EQ(storedHistory(iniPath()), all);
    EXPECT_EQ(historyEntries(secondOptions), all);
    EXPECT_EQ(second->ReadSetting(u"Rireki"_s, historyKey(2)), entry("A2"));

    // The first's history window showed A1 B1 A2 and the user removed B1;
    // B2 came in meanwhile and stays.
    commitHistory(firstOptions, *first, {entry("A1"), entry("A2")});
    EXPECT_EQ(storedHistory(iniPath()), (QStringList{entry("A1"), entry("A2"), entry("B2")}));
    EXPECT_EQ(historyEntries(firstOptions), (QStringList{entry("A1"), entry("A2"), entry("B2")}));
}

TEST_F(QtSettingsStoreTest, ReadOnlyStoreReadsTheUsersFileAsTheProgramDoes)
{
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    const bool wasSet = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder()));
    const QString path = QtSettingsStore::defaultFilePath();
    ASSERT_EQ(path, folder() + u"/TORUMIN/TORUMIN.ini"_s);
    ASSERT_TRUE(QDir().mkpath(folder() + u"/TORUMIN"_s));

    const std::vector<QByteArray> files{
        "\xEF\xBB\xBF[Config]\r\nOptSen=3\r\nYubin_File(3)=/lists/ken_all.zip\r\n",
        "[Config]\nOptSen=3\nstray\nYubin_File%283%29=/lists/ken_all.zip\n",
    };
    for (const QByteArray &bytes : files) {
        writeRaw(path, bytes);
        const auto readOnly = QtSettingsStore::openDefaultReadOnly();
        const auto program = QtSettingsStore::openDefault();
        for (const QString &key : {u"OptSen"_s, u"Yubin_File(3)"_s})
            EXPECT_EQ(readOnly->ReadSetting(u"Config"_s, key), program->ReadSetting(u"Config"_s, key));
        EXPECT_EQ(readOnly->ReadSetting(u"Config"_s, u"Yubin_File(3)"_s), u"/lists/ken_all.zip"_s);
        EXPECT_EQ(fileBytes(path), bytes);
    }
    if (wasSet)
        qputenv("XDG_CONFIG_HOME", previous);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace torumin

#endif

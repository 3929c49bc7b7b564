// Several instances of the program, or one killed mid-write, against one
// settings file. The other instances are settings_writer processes.
#include <QtGlobal>

#ifdef Q_OS_WIN

#include <gtest/gtest.h>

TEST(SettingsProcessTest, SettingsFile)
{
    GTEST_SKIP() << "processes sharing one settings file; Windows keeps the settings in the registry "
                    "(see RegistrySettingsTest)";
}

#else

#include "StoreTestSupport.h"
#include "WriterProtocol.h"
#include "app/settings/QtSettingsStore.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <optional>
#include <ostream>
#include <random>
#include <set>
#include <thread>

using namespace Qt::StringLiterals;

namespace torumin {
namespace {

using testing::reopenFromCopy;
namespace writer = testing::writer;

// One settings_writer run. Only complete lines count: one cut short by a kill
// was never confirmed.
class Writer {
public:
    explicit Writer(const QStringList &arguments,
                    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(TORUMIN_SETTINGS_WRITER), arguments);
    }
    ~Writer() { kill(); }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    bool waitForLines(qsizetype count, int timeoutMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (readLines() < count && m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
        }
        return readLines() >= count;
    }
    void kill()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
        readLines();
    }
    // The exit code, or nothing when it crashed or had to be killed.
    std::optional<int> waitForExit(int timeoutMs)
    {
        if (!m_process.waitForFinished(timeoutMs)) {
            kill();
            return std::nullopt;
        }
        readLines();
        if (m_process.exitStatus() != QProcess::NormalExit)
            return std::nullopt;
        return m_process.exitCode();
    }
    [[nodiscard]] const QStringList &lines() const { return m_lines; }

private:
    qsizetype readLines()
    {
        while (m_process.canReadLine())
            m_lines.append(QString::fromUtf8(m_process.readLine()).chopped(1));
        return m_lines.size();
    }

    QProcess m_process;
    QStringList m_lines;
};

QStringList writeArguments(const QString &iniPath, const QString &prefix, int count)
{
    return {u"write"_s, iniPath, prefix, QString::number(count)};
}

void expectWritten(const QtSettingsStore &store, const std::set<QString> &keys)
{
    for (const QString &key : keys)
        EXPECT_EQ(store.ReadSetting(writer::section(), key), writer::value(key)) << key.toStdString();
}

TEST(SettingsProcessTest, TwoInstancesWritingAtOnceLoseNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"TORUMIN.ini"_s);
    constexpr int kEach = 40;

    Writer first(writeArguments(path, u"A"_s, kEach));
    Writer second(writeArguments(path, u"B"_s, kEach));
    EXPECT_EQ(first.waitForExit(60'000), 0);
    EXPECT_EQ(second.waitForExit(60'000), 0);
    ASSERT_EQ(first.lines().size(), kEach);
    ASSERT_EQ(second.lines().size(), kEach);

    std::set<QString> keys(first.lines().begin(), first.lines().end());
    keys.insert(second.lines().begin(), second.lines().end());
    ASSERT_EQ(keys.size(), 2U * kEach);
    expectWritten(*reopenFromCopy(path), keys);
}

TEST(SettingsProcessTest, TwoInstancesRecordingSearchesAtOnceKeepEveryEntry)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"TORUMIN.ini"_s);
    constexpr int kEach = 10; // together exactly the twenty slots: nothing may drop out

    Writer first({u"history"_s, path, u"A"_s, QString::number(kEach)});
    Writer second({u"history"_s, path, u"B"_s, QString::number(kEach)});
    EXPECT_EQ(first.waitForExit(60'000), 0);
    EXPECT_EQ(second.waitForExit(60'000), 0);

    const auto store = reopenFromCopy(path);
    QStringList stored;
    for (int slot = 0; slot < 2 * kEach; ++slot)
        stored.append(store->ReadSetting(u"Rireki"_s, u"K_Rireki(%1)"_s.arg(slot)));
    // Each instance's entries in the order it recorded them, the two interleaved.
    for (const Writer *instance : {&first, &second}) {
        QStringList own;
        for (const QString &entry : std::as_const(stored)) {
            for (const QString &key : instance->lines()) {
                if (entry == writer::value(key))
                    own.append(key);
            }
        }
        EXPECT_EQ(own, instance->lines());
        EXPECT_EQ(own.size(), kEach);
    }
}

// Kills a writer at a different moment each round, from before its first
// write to the middle of its n-th, and checks the file after every kill.
TEST(SettingsProcessTest, KilledWriterLeavesAWholeFileWithEveryReportedKey)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"TORUMIN.ini"_s);

    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> delayUs(0, 8000);
    std::set<QString> confirmed;
    int rounds = 0;
    const auto budgetEnd = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (; rounds < 20 || (rounds < 200 && std::chrono::steady_clock::now() < budgetEnd); ++rounds) {
        Writer child(writeArguments(path, u"K%1-"_s.arg(rounds), 0));
        // A few writes in, then a random moment that falls anywhere in the
        // next ones (a write takes a few milliseconds here); with none,
        // during start-up or the first write.
        const int writesFirst = rounds % 4;
        ASSERT_TRUE(child.waitForLines(writesFirst, 20'000))
            << "round " << rounds << ": stuck after " << child.lines().size()
            << " writes, on a lock the killed writer left?";
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        child.kill();

        for (const QString &line : child.lines()) {
            ASSERT_FALSE(line.contains(u' ')) << "round " << rounds << ": " << line.toStdString();
            confirmed.insert(line);
        }
        // Opened in place, as the next start of the program would.
        const auto notice = QtSettingsStore::openFile(path)->takeOpeningNotice();
        ASSERT_FALSE(notice.has_value()) << "round " << rounds << ": " << notice->text.toStdString();
        if (QFile::exists(path))
            expectWritten(*reopenFromCopy(path), confirmed);
        if (::testing::Test::HasFailure())
            FAIL() << "after round " << rounds;
    }
    EXPECT_GT(confirmed.size(), 0U);
    RecordProperty("rounds", rounds);
    RecordProperty("keys", static_cast<int>(confirmed.size()));
}

struct DefaultLocation {
    const char *name;
    QString xdgConfigHome; // under the test's folder; empty: unset
    QString expected;      // likewise
};

void PrintTo(const DefaultLocation &location, std::ostream *os)
{
    *os << location.name;
}

class DefaultLocationTest : public ::testing::TestWithParam<DefaultLocation> {};

TEST_P(DefaultLocationTest, FollowsXdgConfigHomeLikeQSettingsUserScope)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, dir.filePath(u"home"_s));
    if (GetParam().xdgConfigHome.isEmpty())
        environment.remove(u"XDG_CONFIG_HOME"_s);
    else
        environment.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(GetParam().xdgConfigHome));
    const QString expected = dir.filePath(GetParam().expected);

    Writer child({u"default"_s, u"K_Rireki(0)"_s, u"〒100-0005"_s}, environment);
    EXPECT_EQ(child.waitForExit(30'000), 0);
    ASSERT_EQ(child.lines().size(), 2);
    EXPECT_EQ(child.lines()[0], expected) << "ours";
    EXPECT_EQ(child.lines()[1], expected) << "QSettings'";
    ASSERT_TRUE(QFile::exists(expected));
    EXPECT_EQ(reopenFromCopy(expected)->ReadSetting(writer::section(), u"K_Rireki(0)"_s), u"〒100-0005"_s);
}

INSTANTIATE_TEST_SUITE_P(Environments, DefaultLocationTest, ::testing::Values(
    DefaultLocation{"XdgConfigHome", u"xdg"_s, u"xdg/TORUMIN/TORUMIN.ini"_s},
    DefaultLocation{"HomeConfig", QString(), u"home/.config/TORUMIN/TORUMIN.ini"_s}),
    [](const ::testing::TestParamInfo<DefaultLocation> &info) { return std::string(info.param.name); });

} // namespace
} // namespace torumin

#endif

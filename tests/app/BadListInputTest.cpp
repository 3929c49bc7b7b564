#include "app/Module1.h"
#include "data/PostalListReader.h"
#include "support/OfficeFixtures.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace torumin {
namespace {

using testing::ScriptedMessageBoxes;

// A list slot pointing at things that are not a readable list: whatever it is,
// the user gets a message, the program goes on, and a table that was loaded
// stays loaded when the user switches to such a list.
class BadListInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(testing::writeTinyOfficeList(m_folder.path()));
        m_state.programFolder = m_folder.path();
        const QString good = write(QStringLiteral("good.csv"),
                                   "13101,\"100  \",\"1000005\",\"T\",\"C\",\"M\",\"T\",\"C\",\"M\",0,0,0,0,0,0\r\n");
        m_state.options.set(QStringLiteral("OptSen"), QStringLiteral("0"));
        m_state.options.set(QStringLiteral("Yubin_File(0)"), good);
        ASSERT_TRUE(LoadPostalTable(m_state, m_boxes));
        ASSERT_EQ(m_state.table.recordCount(), 1);
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Switches slot 1 to path; returns the first line of the message shown, or
    // "" when the list loaded.
    QString switchTo(const QString &path)
    {
        m_boxes.clear();
        m_state.options.set(QStringLiteral("OptSen"), QStringLiteral("1"));
        m_state.options.set(QStringLiteral("Yubin_File(1)"), path);
        const bool loaded = ReloadPostalTable(m_state, m_boxes);
        EXPECT_EQ(loaded, m_boxes.shown().empty());
        if (loaded)
            return {};
        EXPECT_EQ(m_boxes.shown().size(), 1u);
        EXPECT_EQ(m_boxes.shown().front().title, QStringLiteral("*.CSV 確認"));
        return m_boxes.shown().front().text.section(QLatin1Char('\r'), 0, 0);
    }

    QTemporaryDir m_folder;
    Module1 m_state;
    ScriptedMessageBoxes m_boxes;
};

TEST_F(BadListInput, EachGetsAMessageAndTheLoadedTableStays)
{
    const QString missing = QStringLiteral("指定された 「郵便番号一覧 *.CSV」 が存在しません。　");
    const QString unreadable = QStringLiteral("指定された 「郵便番号一覧 *.CSV」 を読み込めませんでした。　");

    // Larger than any list could be; sparse, so it costs no disk.
    const QString huge = m_folder.filePath(QStringLiteral("huge.csv"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(300LL * 1024 * 1024));
    }
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 37 + 11) % 256);
#ifndef Q_OS_WIN
    const QString fifo = m_folder.filePath(QStringLiteral("fifo.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString loopA = m_folder.filePath(QStringLiteral("loop-a.csv"));
    const QString loopB = m_folder.filePath(QStringLiteral("loop-b.csv"));
    ASSERT_TRUE(QFile::link(loopB, loopA));
    ASSERT_TRUE(QFile::link(loopA, loopB));
#endif
    const QString vanished = write(QStringLiteral("vanished.csv"), "x");
    ASSERT_TRUE(QFile::remove(vanished));

    struct Case {
        const char *what;
        QString path;
        QString firstLine;
    };
    const std::vector<Case> cases{
        {"huge", huge, unreadable},
        {"binary", write(QStringLiteral("binary.csv"), binary), unreadable},
#ifdef Q_OS_WIN
        // Windows has no FIFOs, and QFile::link makes shortcuts, not links.
        {"device", QStringLiteral("NUL"), missing},
#else
        {"FIFO", fifo, missing},
        {"device", QStringLiteral("/dev/zero"), missing},
        {"symlink loop", loopA, missing},
#endif
        {"folder", m_folder.path(), missing},
        {"vanished before the load", vanished, missing},
        {"empty path", QString(), missing},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(switchTo(c.path), c.firstLine) << c.what;
        EXPECT_EQ(m_state.table.recordCount(), 1) << c.what;
        EXPECT_EQ(m_state.table.zipCode(0), QStringLiteral("1000005")) << c.what;
    }

    // Nothing wrong with a path in Japanese.
    const QString japanese = write(QStringLiteral("一覧フォルダ/郵便番号.csv"),
                                   "47382,\"90718\",\"9071801\",\"O\",\"Y\",\"Y\",\"O\",\"Y\",\"Y\",0,0,0,0,0,0\r\n");
    EXPECT_EQ(switchTo(japanese), QString());
    EXPECT_EQ(m_state.table.zipCode(0), QStringLiteral("9071801"));
}

TEST_F(BadListInput, ReadingDevicesAndFifosDirectlyNeverBlocks)
{
    // The existence check already turns these away; the reader refuses them too.
#ifdef Q_OS_WIN
    for (const QString &path : {QStringLiteral("NUL"), QStringLiteral("CON")}) {
#else
    const QString fifo = m_folder.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), QStringLiteral("/dev/null")}) {
#endif
        const ListReadResult result = readPostalListFile(path);
        ASSERT_TRUE(result.error) << path.toStdString();
        EXPECT_EQ(result.error->code, ListErrorCode::CannotOpen) << path.toStdString();
        EXPECT_TRUE(result.error->message.contains(path)) << path.toStdString();
    }
}

} // namespace
} // namespace torumin

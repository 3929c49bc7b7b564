#include "app/QueryTool.h"
#include "app/SettingsKeys.h"
#include "support/MemorySettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

namespace torumin {
namespace {

using testing::MemorySettingsStore;

struct QueryRun {
    int status;
    QString out;
    QString err;
};

class QueryTool : public ::testing::Test {
protected:
    QueryRun run(const QStringList &arguments, const QString &input = {})
    {
        QString inText = input;
        QString outText;
        QString errText;
        QTextStream in(&inText);
        QTextStream out(&outText);
        QTextStream err(&errText);
        const int status = runQueryTool(arguments, {in, out, err}, m_store, m_folder);
        out.flush();
        err.flush();
        return {status, outText, errText};
    }

    QStringList withList(QStringList arguments) const
    {
        return QStringList{QStringLiteral("--list"), QStringLiteral(TORUMIN_FULL_LIST)} + arguments;
    }

    MemorySettingsStore m_store;
    // Where a program without stored settings would look for its list.
    QString m_folder = QFileInfo(QStringLiteral(TORUMIN_FULL_LIST)).absolutePath();
};

TEST_F(QueryTool, AnswersAsTheResultBoxWould)
{
    struct Case {
        QStringList arguments;
        QString out;
    };
    const std::vector<Case> cases{
        {{QStringLiteral("1000005")}, QStringLiteral("東京都千代田区丸の内\n")},
        {{QStringLiteral("9071801")}, QStringLiteral("沖縄県八重山郡与那国町与那国\n")},
        {{QStringLiteral("0000000")}, QStringLiteral("指定の郵便番号に該当する 「住所」 は存在しません。　\n")},
        {{QStringLiteral("千代田区"), QStringLiteral("丸の内")}, QStringLiteral("100-0005\n")},
        {{QStringLiteral("--kana"), QStringLiteral("ﾁﾖﾀﾞｸ"), QStringLiteral("ﾏﾙﾉｳﾁ")}, QStringLiteral("100-0005\n")},
        {{QStringLiteral("千代田区"), QStringLiteral("無い町")},
         QStringLiteral("選択の住所に該当する 「郵便番号」 は存在しません。　\n")},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(withList(c.arguments));
        EXPECT_EQ(result.status, 0) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(result.out, c.out) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(result.err, QString()) << result.err.toStdString();
    }
}

TEST_F(QueryTool, AnswersEveryLineOfStandardInput)
{
    const QueryRun codes = run(withList({}), QStringLiteral("1000005\r\n9999999\n\n千代田区\t丸の内\na\tb\tc\n"));
    EXPECT_EQ(codes.status, 0);
    EXPECT_EQ(codes.out, QStringLiteral("東京都千代田区丸の内\n指定の郵便番号に該当する 「住所」 は存在しません。　\n\n"
                                        "100-0005\n\n"));
    EXPECT_TRUE(codes.err.contains(QStringLiteral("a\tb\tc")));

    const QueryRun kana = run(withList({QStringLiteral("--kana")}), QStringLiteral("ﾁﾖﾀﾞｸ\tﾏﾙﾉｳﾁ\n"));
    EXPECT_EQ(kana.out, QStringLiteral("100-0005\n"));
}

TEST_F(QueryTool, UsesTheSelectedSlotAndNeverWritesTheSettings)
{
    // Nothing stored: the program's folder, where the bundled list is.
    EXPECT_EQ(run({QStringLiteral("1000005")}).out, QStringLiteral("東京都千代田区丸の内\n"));

    QTemporaryDir empty;
    m_store.preset(Section::Config, QStringLiteral("OptSen"), QStringLiteral("2"));
    m_store.preset(Section::Config, QStringLiteral("Yubin_File(0)"), empty.filePath(QStringLiteral("none.csv")));
    m_store.preset(Section::Config, QStringLiteral("Yubin_File(2)"), QStringLiteral(TORUMIN_FULL_LIST));
    EXPECT_EQ(run({QStringLiteral("1000005")}).out, QStringLiteral("東京都千代田区丸の内\n"));

    m_store.preset(Section::Config, QStringLiteral("OptSen"), QStringLiteral("0"));
    const QueryRun missing = run({QStringLiteral("1000005")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, QString());
    EXPECT_TRUE(missing.err.contains(empty.filePath(QStringLiteral("none.csv"))));
    EXPECT_TRUE(m_store.writes().empty());
}

TEST_F(QueryTool, RefusesBadArgumentsAndUnreadableLists)
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--list")}, QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
          QStringList{QStringLiteral("--frobnicate")}, QStringList{QStringLiteral("--kana"), QStringLiteral("1000005")}}) {
        const QueryRun result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("usage:"))) << arguments.join(u' ').toStdString();
    }

    QTemporaryDir folder;
    const QString bad = folder.filePath(QStringLiteral("bad.csv"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1,\"2\",\"3\"\r\n\x81");
    file.close();
    const QueryRun result = run({QStringLiteral("--list"), bad, QStringLiteral("1000005")});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.err.contains(bad));
    EXPECT_FALSE(result.err.contains(QLatin1Char('\r')));
}

} // namespace
} // namespace torumin

namespace torumin {
namespace {

TEST_F(QueryTool, CandidatesAsTheWindowShowsThem)
{
    const QueryRun chiyoda = run(withList({QStringLiteral("--candidates"), QStringLiteral("東京都千代田区丸の内")}));
    EXPECT_EQ(chiyoda.status, 0);
    const QStringList lines = chiyoda.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(QStringLiteral("〒100-0005　東京都千代田区丸の内")));
    for (const QString &line : lines)
        EXPECT_TRUE(line.contains(QStringLiteral("　東京都千代田区"))) << line.toStdString();

    // The stored display options shape the lines.
    m_store.preset(Section::Config, QStringLiteral("YJ_Disp(0)"), QStringLiteral("0"));
    m_store.preset(Section::Config, QStringLiteral("YJ_Disp(2)"), QStringLiteral("0"));
    const QueryRun plain = run(withList({QStringLiteral("--candidates"), QStringLiteral("東京都千代田区")}));
    EXPECT_TRUE(plain.out.split(QLatin1Char('\n')).contains(QStringLiteral("100-0005　千代田区丸の内")));

    const QueryRun none = run(withList({QStringLiteral("--candidates"), QStringLiteral("横浜市中区")}));
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, QString());
    EXPECT_TRUE(none.err.contains(QStringLiteral("検索できませんでした")));

    EXPECT_EQ(run(withList({QStringLiteral("--candidates")})).status, 2);
}

} // namespace
} // namespace torumin

namespace torumin {
namespace {

TEST_F(QueryTool, BestCandidateOnly)
{
    const QueryRun best = run(withList({QStringLiteral("--candidates"), QStringLiteral("--best"),
                                        QStringLiteral("東京都千代田区丸の内１－９－１")}));
    EXPECT_EQ(best.status, 0);
    EXPECT_EQ(best.out, QStringLiteral("〒100-0005　東京都千代田区丸の内\n"));
    const QueryRun none = run(withList({QStringLiteral("--candidates"), QStringLiteral("--best"),
                                        QStringLiteral("東京都千代田区")}));
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, QString());
    EXPECT_EQ(run(withList({QStringLiteral("--best"), QStringLiteral("1000005")})).status, 2);
}

} // namespace
} // namespace torumin

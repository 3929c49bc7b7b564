#include "app/QueryTool.h"
#include "app/SettingsKeys.h"
#include "support/MemorySettingsStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
    QueryRun run(const QStringList &arguments, const QString &input = {}, bool inputIsTerminal = false)
    {
        QString inText = input;
        QString outText;
        QString errText;
        QTextStream in(&inText);
        QTextStream out(&outText);
        QTextStream err(&errText);
        const int status = runQueryTool(arguments, {in, out, err, inputIsTerminal}, m_store, m_folder);
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
        int status;
    };
    const std::vector<Case> cases{
        {{QStringLiteral("1000005")}, QStringLiteral("東京都千代田区丸の内\n"), 0},
        {{QStringLiteral("9071801")}, QStringLiteral("沖縄県八重山郡与那国町与那国\n"), 0},
        // Codes as people paste them.
        {{QStringLiteral("100-0005")}, QStringLiteral("東京都千代田区丸の内\n"), 0},
        {{QStringLiteral("１０００００５")}, QStringLiteral("東京都千代田区丸の内\n"), 0},
        {{QStringLiteral("〒１００－０００５")}, QStringLiteral("東京都千代田区丸の内\n"), 0},
        {{QStringLiteral(" 1000005　")}, QStringLiteral("東京都千代田区丸の内\n"), 0},
        {{QStringLiteral("〒 100-0005")}, QStringLiteral("東京都千代田区丸の内\n"), 0},
        // Found nothing: the text all the same, and status 1.
        {{QStringLiteral("0000000")}, QStringLiteral("指定の郵便番号に該当する 「住所」 は存在しません。　\n"), 1},
        {{QStringLiteral("千代田区"), QStringLiteral("丸の内")}, QStringLiteral("100-0005\n"), 0},
        {{QStringLiteral("--kana"), QStringLiteral("ﾁﾖﾀﾞｸ"), QStringLiteral("ﾏﾙﾉｳﾁ")}, QStringLiteral("100-0005\n"), 0},
        {{QStringLiteral("千代田区"), QStringLiteral("無い町")},
         QStringLiteral("選択の住所に該当する 「郵便番号」 は存在しません。　\n"), 1},
        // With the prefecture: 府中市 is a city of Tokyo and of Hiroshima.
        {{QStringLiteral("広島県"), QStringLiteral("府中市"), QStringLiteral("府中町")}, QStringLiteral("726-0005\n"), 0},
        {{QStringLiteral("東京都"), QStringLiteral("府中市"), QStringLiteral("府中町")}, QStringLiteral("183-0055\n"), 0},
        {{QStringLiteral("広島県"), QStringLiteral("千代田区"), QStringLiteral("丸の内")},
         QStringLiteral("選択の住所に該当する 「郵便番号」 は存在しません。　\n"), 1},
        {{QStringLiteral("--kana"), QStringLiteral("ﾋﾛｼﾏｹﾝ"), QStringLiteral("ﾌﾁｭｳｼ"), QStringLiteral("ﾌﾁｭｳﾁｮｳ")},
         QStringLiteral("726-0005\n"), 0},
        {{QStringLiteral("--kana"), QStringLiteral("ヒロシマケン"), QStringLiteral("フチュウシ"), QStringLiteral("フチュウチョウ")},
         QStringLiteral("726-0005\n"), 0},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(withList(c.arguments));
        EXPECT_EQ(result.status, c.status) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(result.out, c.out) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(result.err, QString()) << result.err.toStdString();
    }
}

TEST_F(QueryTool, RefusesWhatTheDialogsRefuseWithTheirMessages)
{
    const QString notSeven = QStringLiteral("入力された郵便番号が７桁ではありません。　");
    const QString notDigits = QStringLiteral("入力された郵便番号が数字ではありません。　");
    struct Case {
        QStringList arguments;
        QStringList messages;
    };
    const std::vector<Case> cases{
        {{QStringLiteral("abc")}, {notSeven, notDigits}},
        {{QStringLiteral("12345")}, {notSeven}},
        {{QStringLiteral("12345678")}, {notSeven}},
        {{QStringLiteral("100-00a5")}, {notDigits}},
        {{QStringLiteral("abcdefg")}, {notDigits, notDigits}},
        {{QString()}, {QStringLiteral("郵便番号が入力されていません。　")}},
        {{QStringLiteral("千代田区"), QString()}, {QStringLiteral("「町/村/字名」 が入力されていません。　")}},
        {{QStringLiteral("--kana"), QString(), QStringLiteral("ﾏﾙﾉｳﾁ")},
         {QStringLiteral("「ｼ/ｸﾒｲ」 が入力されていません。　")}},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(withList(c.arguments));
        EXPECT_EQ(result.status, 2) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(result.out, QString()) << c.arguments.join(u' ').toStdString();
        QString expected;
        for (const QString &message : c.messages)
            expected += QStringLiteral("torumin-query: ") + message + QLatin1Char('\n');
        EXPECT_EQ(result.err, expected) << c.arguments.join(u' ').toStdString();
    }
}

TEST_F(QueryTool, AnswersEveryLineOfStandardInput)
{
    const QueryRun codes =
        run(withList({}), QStringLiteral("1000005\r\n9999999\n\n千代田区\t丸の内\n広島県\t府中市\t府中町\n"));
    EXPECT_EQ(codes.status, 1);  // one line found nothing
    EXPECT_EQ(codes.out, QStringLiteral("東京都千代田区丸の内\n指定の郵便番号に該当する 「住所」 は存在しません。　\n\n"
                                        "100-0005\n726-0005\n"));
    EXPECT_EQ(codes.err, QString());

    const QueryRun bad = run(withList({}), QStringLiteral("12345\na\tb\tc\td\n1000005\n"));
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, QStringLiteral("\n\n東京都千代田区丸の内\n"));
    EXPECT_TRUE(bad.err.contains(QStringLiteral("７桁ではありません")));
    EXPECT_TRUE(bad.err.contains(QStringLiteral("a\tb\tc\td")));

    const QueryRun kana = run(withList({QStringLiteral("--kana")}),
                              QStringLiteral("ﾁﾖﾀﾞｸ\tﾏﾙﾉｳﾁ\nヒロシマケン\tフチュウシ\tフチュウチョウ\n"));
    EXPECT_EQ(kana.status, 0);
    EXPECT_EQ(kana.out, QStringLiteral("100-0005\n726-0005\n"));
}

TEST_F(QueryTool, HelpVersionAndUsageAtATerminal)
{
    const QueryRun help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: torumin-query")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("Exit status")));
    EXPECT_EQ(help.err, QString());

    // The manual page's synopsis is the usage, line for line.
    QFile manual(QStringLiteral(TORUMIN_QUERY_MANUAL));
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString roff = QString::fromUtf8(manual.readAll());
    const qsizetype from = roff.indexOf(QStringLiteral(".SH SYNOPSIS\n.nf\n"));
    ASSERT_GE(from, 0);
    QString synopsis = roff.mid(from).section(QStringLiteral(".nf\n"), 1).section(QStringLiteral(".fi"), 0, 0);
    synopsis.remove(QRegularExpression(QStringLiteral(R"(\\f[BIRP])")));
    synopsis.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    QStringList usage = help.out.section(QStringLiteral("\n\n"), 0, 0).split(QLatin1Char('\n'));
    for (QString &line : usage)
        line = line.mid(7);  // "usage: " and the indent under it
    EXPECT_EQ(synopsis.trimmed().split(QLatin1Char('\n')), usage);

    const QueryRun version =
        run({QStringLiteral("--list"), QStringLiteral("/nonexistent"), QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("torumin-query 3.1.0\n"));

    // No query and a person at the keyboard: the usage, not a wait.
    for (const QStringList &arguments : {QStringList{}, QStringList{QStringLiteral("--kana")},
                                         QStringList{QStringLiteral("--candidates"), QStringLiteral("--best")}}) {
        const QueryRun waiting = run(withList(arguments), QStringLiteral("1000005\n"), true);
        EXPECT_EQ(waiting.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(waiting.out, QString());
        EXPECT_TRUE(waiting.err.startsWith(QStringLiteral("usage: torumin-query")));
    }
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
         {QStringList{QStringLiteral("--list")},
          QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")},
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
    struct Case {
        const char *address;
        const char *out;
        int status;
    };
    const std::vector<Case> cases{
        {"東京都千代田区丸の内１－９－１", "〒100-0005　東京都千代田区丸の内\n", 0},
        {"東京都千代田区", "〒100-0000　東京都千代田区\n", 0},
        // Beyond the window's rules: no prefecture, a city written otherwise.
        {"横浜市中区山下町", "〒231-0023　神奈川県横浜市中区山下町\n", 0},
        {"千葉県鎌ヶ谷市新鎌ヶ谷1-1", "〒273-0107　千葉県鎌ケ谷市新鎌ケ谷\n", 0},
        // Candidates, but none for sure; no candidates at all.
        {"北海道札幌市", "", 1},
        {"東京都無い区", "", 1},
    };
    for (const Case &c : cases) {
        const QueryRun best =
            run(withList({QStringLiteral("--candidates"), QStringLiteral("--best"), QString::fromUtf8(c.address)}));
        EXPECT_EQ(best.status, c.status) << c.address;
        EXPECT_EQ(best.out, QString::fromUtf8(c.out)) << c.address;
    }
    const QueryRun unsure =
        run(withList({QStringLiteral("--candidates"), QStringLiteral("--best"), QStringLiteral("北海道札幌市")}));
    EXPECT_TRUE(unsure.err.contains(QStringLiteral("candidates, but none"))) << unsure.err.toStdString();
    EXPECT_FALSE(unsure.err.contains(QStringLiteral("検索できませんでした")));
    EXPECT_EQ(run(withList({QStringLiteral("--best"), QStringLiteral("1000005")})).status, 2);
}

TEST_F(QueryTool, BestCandidateOfEveryLine)
{
    const QueryRun batch = run(withList({QStringLiteral("--candidates"), QStringLiteral("--best")}),
                               QStringLiteral("北海道札幌市中央区旭ケ丘5丁目\r\n\n存在しない住所\n"
                                              "京都府京都市中京区河原町通二条下る一之船入町537-50\n"
                                              "北海道札幌市中央区北1条西2丁目\n府中市1-2\n北海道札幌市\n"
                                              "北海道札幌市中央区北99条西1丁目\n"));
    EXPECT_EQ(batch.status, 0);
    // Without a code, the third column says why.
    EXPECT_EQ(batch.out, QStringLiteral("北海道札幌市中央区旭ケ丘5丁目\t064-0941\t北海道札幌市中央区旭ケ丘\n"
                                        "\t\t\n"
                                        "存在しない住所\t\tno city of the list\n"
                                        "京都府京都市中京区河原町通二条下る一之船入町537-50\t604-0924\t"
                                        "京都府京都市中京区一之船入町\n"
                                        "北海道札幌市中央区北1条西2丁目\t\tseveral codes: 060-0001, 064-0821\n"
                                        "府中市1-2\t\tseveral cities: 東京都府中市, 広島県府中市\n"
                                        "北海道札幌市\t\tseveral wards\n"
                                        "北海道札幌市中央区北99条西1丁目\t\tno town area for sure\n"));
    EXPECT_EQ(batch.err, QString());

    // A list that keeps its notes tells the rows apart, and the address a
    // code stands for is its whole town field, over all its records.
    const QueryRun notes = run({QStringLiteral("--list"), QStringLiteral(TORUMIN_TEST_FIXTURES "/published_notes.csv"),
                                QStringLiteral("--candidates"), QStringLiteral("--best")},
                               QStringLiteral("北海道札幌市中央区大通西20丁目\n山形県最上郡大蔵村南山15番地\n"));
    EXPECT_EQ(notes.out, QStringLiteral("北海道札幌市中央区大通西20丁目\t064-0820\t"
                                        "北海道札幌市中央区大通西（２０～２８丁目）\n"
                                        "山形県最上郡大蔵村南山15番地\t996-0301\t"
                                        "山形県最上郡大蔵村南山（１～３、５、７、９～１２、１５番地）\n"));
}

} // namespace
} // namespace torumin

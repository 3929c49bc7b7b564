#include "app/QueryTool.h"
#include "app/SettingsKeys.h"
#include "app/StdioTextSink.h"
#include "support/MemorySettingsStore.h"
#include "support/TableFixtures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace torumin {
namespace {

using testing::MemorySettingsStore;

struct QueryRun {
    int status;
    QString out;
    QString err;
    QByteArray outBytes;
};

// How the tool meets the world in a run.
struct World {
    bool inputIsTerminal = false;
    MessageLanguage language = MessageLanguage::English;
    bool fullDisk = false;   // standard output is /dev/full
    bool oneStream = false;  // standard output and error go to one place (2>&1)
};

// A C stream in memory, read back once closed.
class MemoryStream {
public:
    MemoryStream() { m_stream = open_memstream(&m_buffer, &m_size); }
    ~MemoryStream()
    {
        close();
        std::free(m_buffer);
    }
    MemoryStream(const MemoryStream &) = delete;
    MemoryStream &operator=(const MemoryStream &) = delete;

    std::FILE *stream() const { return m_stream; }
    QByteArray bytes()
    {
        close();
        return QByteArray(m_buffer, static_cast<qsizetype>(m_size));
    }

private:
    void close()
    {
        if (m_stream)
            std::fclose(m_stream);
        m_stream = nullptr;
    }
    std::FILE *m_stream = nullptr;
    char *m_buffer = nullptr;
    std::size_t m_size = 0;
};

class QueryTool : public ::testing::Test {
protected:
    QueryRun run(const QStringList &arguments, const QByteArray &input = {}, World world = {})
    {
        QByteArray inBytes = input;
        QBuffer in(&inBytes);
        in.open(QIODevice::ReadOnly);
        MemoryStream outMemory;
        MemoryStream errMemory;
        std::FILE *full = world.fullDisk ? std::fopen("/dev/full", "w") : nullptr;
        StdioTextSink out(full ? full : outMemory.stream());
        StdioTextSink err(world.oneStream ? outMemory.stream() : errMemory.stream());
        const int status = runQueryTool(arguments, {in, out, err, world.inputIsTerminal, false, world.language},
                                        m_store, m_folder);
        if (full)
            std::fclose(full);
        const QByteArray outBytes = outMemory.bytes();
        return {status, QString::fromUtf8(outBytes), QString::fromUtf8(errMemory.bytes()), outBytes};
    }

    QStringList withList(QStringList arguments) const
    {
        return QStringList{QStringLiteral("--list"), QStringLiteral(TORUMIN_FULL_LIST)} + arguments;
    }

    MemorySettingsStore m_store;
    // Where a program without stored settings would look for its list.
    QString m_folder = QFileInfo(QStringLiteral(TORUMIN_FULL_LIST)).absolutePath();
};

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

std::string show(const QStringList &arguments)
{
    return arguments.join(u' ').toStdString();
}

const QString kCodeNotFound = s("指定の郵便番号に該当する 「住所」 は存在しません。　");
const QString kNamesNotFound = s("選択の住所に該当する 「郵便番号」 は存在しません。　");
const QString kNotSeven = s("入力された郵便番号が７桁ではありません。　");
const QString kNotDigits = s("入力された郵便番号が数字ではありません。　");

TEST_F(QueryTool, AnswersAsTheResultBoxWould)
{
    struct Case {
        QStringList arguments;
        const char *out;
        int status;
    };
    const std::vector<Case> cases{
        {{s("1000005")}, "東京都千代田区丸の内\n", 0},
        {{s("9071801")}, "沖縄県八重山郡与那国町与那国\n", 0},
        // Codes as people paste them.
        {{s("100-0005")}, "東京都千代田区丸の内\n", 0},
        {{s("１０００００５")}, "東京都千代田区丸の内\n", 0},
        {{s("〒１００－０００５")}, "東京都千代田区丸の内\n", 0},
        {{s(" 1000005　")}, "東京都千代田区丸の内\n", 0},
        {{s("〒 100-0005")}, "東京都千代田区丸の内\n", 0},
        // Found nothing: the text all the same, and status 1.
        {{s("0000000")}, "指定の郵便番号に該当する 「住所」 は存在しません。　\n", 1},
        {{s("千代田区"), s("丸の内")}, "100-0005\n", 0},
        {{s("--kana"), s("ﾁﾖﾀﾞｸ"), s("ﾏﾙﾉｳﾁ")}, "100-0005\n", 0},
        {{s("千代田区"), s("無い町")}, "選択の住所に該当する 「郵便番号」 は存在しません。　\n", 1},
        // With the prefecture: 府中市 is a city of Tokyo and of Hiroshima.
        {{s("広島県"), s("府中市"), s("府中町")}, "726-0005\n", 0},
        {{s("東京都"), s("府中市"), s("府中町")}, "183-0055\n", 0},
        {{s("広島県"), s("千代田区"), s("丸の内")}, "選択の住所に該当する 「郵便番号」 は存在しません。　\n", 1},
        {{s("--kana"), s("ﾋﾛｼﾏｹﾝ"), s("ﾌﾁｭｳｼ"), s("ﾌﾁｭｳﾁｮｳ")}, "726-0005\n", 0},
        {{s("--kana"), s("ヒロシマケン"), s("フチュウシ"), s("フチュウチョウ")}, "726-0005\n", 0},
        // The first row of the list, unless every row is asked for.
        {{s("4980000")}, "愛知県弥富市\n", 0},
        {{s("--all"), s("4980000")}, "愛知県弥富市\n三重県桑名郡木曽岬町\n", 0},
        {{s("府中市"), s("府中町")}, "183-0055\n", 0},
        {{s("--all"), s("府中市"), s("府中町")}, "183-0055\n726-0005\n", 0},
        {{s("--all"), s("0000000")}, "指定の郵便番号に該当する 「住所」 は存在しません。　\n", 1},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(withList(c.arguments));
        EXPECT_EQ(result.status, c.status) << show(c.arguments);
        EXPECT_EQ(result.out, s(c.out)) << show(c.arguments);
        EXPECT_EQ(result.err, QString()) << result.err.toStdString();
    }
}

TEST_F(QueryTool, RefusesWhatTheDialogsRefuseWithTheirMessages)
{
    struct Case {
        QStringList arguments;
        QStringList messages;
    };
    const std::vector<Case> cases{
        {{s("abc")}, {kNotSeven, kNotDigits}},
        {{s("12345")}, {kNotSeven}},
        {{s("12345678")}, {kNotSeven}},
        {{s("100-00a5")}, {kNotDigits}},
        {{s("abcdefg")}, {kNotDigits, kNotDigits}},
        {{QString()}, {s("郵便番号が入力されていません。　")}},
        {{s("千代田区"), QString()}, {s("「町/村/字名」 が入力されていません。　")}},
        {{s("--kana"), QString(), s("ﾏﾙﾉｳﾁ")}, {s("「ｼ/ｸﾒｲ」 が入力されていません。　")}},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(withList(c.arguments));
        EXPECT_EQ(result.status, 2) << show(c.arguments);
        EXPECT_EQ(result.out, QString()) << show(c.arguments);
        QString expected;
        for (const QString &message : c.messages)
            expected += QStringLiteral("torumin-query: ") + message + QLatin1Char('\n');
        EXPECT_EQ(result.err, expected) << show(c.arguments);
    }
}

TEST_F(QueryTool, AnswersEveryLineOfStandardInput)
{
    const QueryRun codes =
        run(withList({}), s("1000005\r\n9999999\n\n千代田区\t丸の内\n広島県\t府中市\t府中町").toUtf8());
    EXPECT_EQ(codes.status, 1);  // one line found nothing
    EXPECT_EQ(codes.out, s("東京都千代田区丸の内\n") + kCodeNotFound + s("\n\n100-0005\n726-0005\n"));
    EXPECT_EQ(codes.err, QString());

    // A line that cannot be answered keeps its place, and its complaint
    // names it.
    const QueryRun bad = run(withList({}), "12345\na\tb\tc\td\n1000005\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, s("\n\n東京都千代田区丸の内\n"));
    EXPECT_EQ(bad.err, s("torumin-query: line 1: 入力された郵便番号が７桁ではありません。　\n"
                         "torumin-query: line 2: a line holds a code, or a city and a town (and the prefecture "
                         "before them) separated by tabs\n"));

    const QueryRun kana = run(withList({s("--kana")}), s("ﾁﾖﾀﾞｸ\tﾏﾙﾉｳﾁ\nヒロシマケン\tフチュウシ\tフチュウチョウ\n").toUtf8());
    EXPECT_EQ(kana.status, 0);
    EXPECT_EQ(kana.out, s("100-0005\n726-0005\n"));
}

// Windows consoles and spreadsheets write CP932; a line is read as UTF-8
// where it is that, as CP932 where it is not but is that, and not at all
// where it is neither.
TEST_F(QueryTool, ReadsEachLineInUtf8OrCp932)
{
    const QByteArray cp932Code = QByteArray::fromStdString(testing::toCp932(s("〒１００－０００５")));
    const QByteArray cp932Names = QByteArray::fromStdString(testing::toCp932(s("千代田区\t丸の内")));
    const QByteArray neither("\x80\xFF");
    struct Case {
        QStringList arguments;
        QByteArray input;
        const char *out;
        const char *err;
        int status;
    };
    const std::vector<Case> cases{
        {{}, cp932Code + "\n" + cp932Names + "\r\n", "東京都千代田区丸の内\n100-0005\n", "", 0},
        {{}, "\xEF\xBB\xBF" "1000005\n", "東京都千代田区丸の内\n", "", 0},  // a byte order mark
        {{}, neither + "\n1000005\n", "\n東京都千代田区丸の内\n",
         "torumin-query: line 1: neither UTF-8 nor CP932; the line is not read\n", 2},
        {{s("--encoding=utf-8")}, cp932Code + "\n", "\n", "torumin-query: line 1: not UTF-8; the line is not read\n",
         2},
        {{s("--encoding"), s("cp932")}, cp932Names + "\n", "100-0005\n", "", 0},
        {{s("--candidates"), s("--best")}, neither + "\n", "\t\t\n",
         "torumin-query: line 1: neither UTF-8 nor CP932; the line is not read\n", 2},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(withList(c.arguments), c.input);
        EXPECT_EQ(result.status, c.status) << c.input.toHex().toStdString();
        EXPECT_EQ(result.out, s(c.out)) << c.input.toHex().toStdString();
        EXPECT_EQ(result.err, s(c.err)) << c.input.toHex().toStdString();
    }
}

TEST_F(QueryTool, WritesCp932WhenAsked)
{
    const QueryRun codes = run(withList({s("--encoding=cp932"), s("--all"), s("4980000")}));
    EXPECT_EQ(codes.status, 0);
    EXPECT_EQ(codes.outBytes.toStdString(), testing::toCp932(s("愛知県弥富市\n三重県桑名郡木曽岬町\n")));

    // A query that CP932 cannot hold all of is still answered, with "?"
    // where a character had no place, and said so.
    const QueryRun echoed = run(withList({s("--encoding=cp932"), s("--format=tsv"), s("千代田区"), s("丸の内😀")}));
    EXPECT_EQ(echoed.status, 2);
    EXPECT_EQ(echoed.outBytes.toStdString(), testing::toCp932(s("千代田区\\t丸の内?\tnot_found\t\t\t\t\t\t\t\t\t\t\n")));
    EXPECT_EQ(echoed.err, s("torumin-query: characters that CP932 cannot hold were written as ?\n"));
}

// 2>&1 into one file: each complaint stands after the answers before it.
TEST_F(QueryTool, AnswersAndComplaintsKeepTheirOrderInOneStream)
{
    World oneStream;
    oneStream.oneStream = true;
    const QueryRun result = run(withList({}), "1000005\n12345\n9071801\n", oneStream);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, s("東京都千代田区丸の内\ntorumin-query: line 2: 入力された郵便番号が７桁ではありません。　\n\n"
                            "沖縄県八重山郡与那国町与那国\n"));
}

TEST_F(QueryTool, AWriteErrorIsAnError)
{
    World fullDisk;
    fullDisk.fullDisk = true;
    struct Case {
        QStringList arguments;
        QByteArray input;
    };
    const std::vector<Case> cases{
        {withList({s("1000005")}), {}},
        {withList({s("0000000")}), {}},  // found nothing, and could not say so
        {withList({}), QByteArray("1000005\n").repeated(5000)},
        {withList({s("--format=json"), s("--candidates"), s("--best")}), "串本町串本\n"},
        {{s("--help")}, {}},
        {{s("--version")}, {}},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(c.arguments, c.input, fullDisk);
        EXPECT_EQ(result.status, 2) << show(c.arguments);
        EXPECT_TRUE(result.err.startsWith(s("torumin-query: cannot write to standard output: ")))
            << result.err.toStdString();
        EXPECT_EQ(result.err.count(u'\n'), 1) << result.err.toStdString();
    }
}

TEST_F(QueryTool, TakesOptionsAsGnuProgramsDo)
{
    struct Case {
        QStringList arguments;
        int status;
        const char *out;
        const char *err;  // its first line
        bool usage = false;  // a refused call shows how to call
    };
    const QString list = QStringLiteral(TORUMIN_FULL_LIST);
    const std::vector<Case> cases{
        {{s("--list=") + list, s("1000005")}, 0, "東京都千代田区丸の内\n", ""},
        {{s("1000005"), s("--list"), list}, 0, "東京都千代田区丸の内\n", ""},
        {{s("--list"), list, s("--"), s("--kana")}, 2, "", "torumin-query: 入力された郵便番号が７桁ではありません。　"},
        {{s("--list"), list, s("-x")}, 2, "", "torumin-query: unknown option -x", true},
        {{s("--list"), list, s("--frobnicate=1")}, 2, "", "torumin-query: unknown option --frobnicate", true},
        {{s("--list"), list, s("--kana=yes"), s("a"), s("b")}, 2, "", "torumin-query: option --kana takes no value", true},
        {{s("--list")}, 2, "", "torumin-query: option --list needs a value", true},
        {{s("--list="), s("1000005")}, 2, "", "torumin-query: option --list needs a value", true},
        {{s("--format=xml"), s("1000005")}, 2, "", "torumin-query: unknown format xml (text, tsv, csv or json)", true},
        {{s("--encoding=latin1"), s("1000005")}, 2, "", "torumin-query: unknown encoding latin1 (utf-8 or cp932)", true},
        {{s("a"), s("b"), s("c"), s("d")}, 2, "",
         "torumin-query: give a code, or a city and a town, with or without the prefecture", true},
        {{s("--kana"), s("1000005")}, 2, "",
         "torumin-query: give a code, or a city and a town, with or without the prefecture", true},
        {{s("--best"), s("1000005")}, 2, "", "torumin-query: --best goes with --candidates", true},
        {{s("--all"), s("--candidates"), s("x")}, 2, "",
         "torumin-query: --all goes with a code or names, not with --candidates", true},
        {{s("--list"), QDir::tempPath(), s("1000005")}, 2, "",
         "torumin-query: the postal-code list %1 is a directory, not a file"},
        {{s("-h")}, 0, "usage: torumin-query [OPTION]... CODE\n", ""},
        {{s("1000005"), s("--version"), s("-x")}, 0, "torumin-query 3.1.0\n", ""},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << show(c.arguments);
        EXPECT_TRUE(result.out.startsWith(s(c.out))) << show(c.arguments) << ": " << result.out.toStdString();
        QString err = s(c.err);
        if (err.contains(QStringLiteral("%1")))
            err = err.arg(QDir::tempPath());
        EXPECT_EQ(result.err.section(u'\n', 0, 0), err) << show(c.arguments);
        EXPECT_EQ(result.err.contains(s("\nusage: torumin-query")), c.usage) << show(c.arguments);
    }
}

// The manual page's synopsis, without the fonts.
QStringList manualSynopsis()
{
    QFile manual(QStringLiteral(TORUMIN_QUERY_MANUAL));
    if (!manual.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString roff = QString::fromUtf8(manual.readAll());
    QString synopsis = roff.section(QStringLiteral(".SH SYNOPSIS\n.nf\n"), 1).section(QStringLiteral("\n.fi"), 0, 0);
    synopsis.remove(QRegularExpression(QStringLiteral(R"(\\f[BIRP])")));
    synopsis.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    return synopsis.split(QLatin1Char('\n'));
}

TEST_F(QueryTool, SpeaksTheLanguageOfTheLocale)
{
    struct Locale {
        const char *lcAll, *lcMessages, *lang;
        MessageLanguage language;
    };
    for (const Locale &l : std::vector<Locale>{
             {"", "", "ja_JP.UTF-8", MessageLanguage::Japanese},
             {"", "", "ja", MessageLanguage::Japanese},
             {"", "ja_JP.eucJP", "C", MessageLanguage::Japanese},
             {"C", "ja_JP.UTF-8", "ja_JP.UTF-8", MessageLanguage::English},
             {"en_US.UTF-8", "", "", MessageLanguage::English},
             {"", "", "jam_JM", MessageLanguage::English},
             {"", "", "", MessageLanguage::English},
         }) {
        EXPECT_EQ(messageLanguageOf(s(l.lcAll), s(l.lcMessages), s(l.lang)), l.language) << l.lcAll << l.lang;
    }

    // The usage is the manual page's synopsis in either language.
    const QStringList synopsis = manualSynopsis();
    ASSERT_EQ(synopsis.size(), 7);
    for (const MessageLanguage language : {MessageLanguage::English, MessageLanguage::Japanese}) {
        World world;
        world.language = language;
        const QueryRun help = run({s("--help")}, {}, world);
        EXPECT_EQ(help.status, 0);
        QStringList usage = help.out.section(QStringLiteral("\n\n"), 0, 0).split(QLatin1Char('\n'));
        usage.front() = usage.front().section(QStringLiteral(": "), 1);
        for (QString &line : usage)
            line = line.trimmed();
        EXPECT_EQ(usage, synopsis);
        EXPECT_TRUE(help.out.contains(language == MessageLanguage::Japanese ? s("終了ステータス") : s("Exit status")));
    }

    // Its own words in Japanese; the program's texts as the windows show them.
    World japanese;
    japanese.language = MessageLanguage::Japanese;
    const QueryRun refused = run(withList({s("-x")}), {}, japanese);
    EXPECT_TRUE(refused.err.startsWith(s("torumin-query: 不明なオプションです: -x\n使い方: torumin-query")));
    const QueryRun lines = run(withList({}), "9999999\n12345\n", japanese);
    EXPECT_EQ(lines.out, kCodeNotFound + s("\n\n"));
    EXPECT_EQ(lines.err, s("torumin-query: 2 行目: ") + kNotSeven + QLatin1Char('\n'));
}

TEST_F(QueryTool, VersionAndUsageAtATerminal)
{
    const QueryRun version = run({s("--list"), s("/nonexistent"), s("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, s("torumin-query 3.1.0\n"));

    // No query and a person at the keyboard: the usage, not a wait.
    World terminal;
    terminal.inputIsTerminal = true;
    for (const QStringList &arguments : {QStringList{}, QStringList{s("--kana")}, QStringList{s("--candidates"), s("--best")}}) {
        const QueryRun waiting = run(withList(arguments), "1000005\n", terminal);
        EXPECT_EQ(waiting.status, 2) << show(arguments);
        EXPECT_EQ(waiting.out, QString());
        EXPECT_TRUE(waiting.err.startsWith(s("usage: torumin-query")));
    }
}

TEST_F(QueryTool, UsesTheSelectedSlotAndNeverWritesTheSettings)
{
    // Nothing stored: the program's folder, where the bundled list is.
    EXPECT_EQ(run({s("1000005")}).out, s("東京都千代田区丸の内\n"));

    QTemporaryDir empty;
    m_store.preset(Section::Config, s("OptSen"), s("2"));
    m_store.preset(Section::Config, s("Yubin_File(0)"), empty.filePath(s("none.csv")));
    m_store.preset(Section::Config, s("Yubin_File(2)"), QStringLiteral(TORUMIN_FULL_LIST));
    EXPECT_EQ(run({s("1000005")}).out, s("東京都千代田区丸の内\n"));

    m_store.preset(Section::Config, s("OptSen"), s("0"));
    const QueryRun missing = run({s("1000005")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, QString());
    EXPECT_EQ(missing.err, s("torumin-query: the postal-code list %1 does not exist (or is hidden)\n")
                               .arg(empty.filePath(s("none.csv"))));
    EXPECT_TRUE(m_store.writes().empty());
}

TEST_F(QueryTool, RefusesAnUnreadableList)
{
    QTemporaryDir folder;
    const QString bad = folder.filePath(s("bad.csv"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1,\"2\",\"3\"\r\n\x81");
    file.close();
    const QueryRun result = run({s("--list"), bad, s("1000005")});
    EXPECT_EQ(result.status, 2);
    EXPECT_TRUE(result.err.contains(bad));
    EXPECT_FALSE(result.err.contains(QLatin1Char('\r')));
}

TEST_F(QueryTool, CandidatesAsTheWindowShowsThem)
{
    const QueryRun chiyoda = run(withList({s("--candidates"), s("東京都千代田区丸の内")}));
    EXPECT_EQ(chiyoda.status, 0);
    const QStringList lines = chiyoda.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(s("〒100-0005　東京都千代田区丸の内")));
    for (const QString &line : lines)
        EXPECT_TRUE(line.contains(s("　東京都千代田区"))) << line.toStdString();

    // The stored display options shape the lines.
    m_store.preset(Section::Config, s("YJ_Disp(0)"), s("0"));
    m_store.preset(Section::Config, s("YJ_Disp(2)"), s("0"));
    const QueryRun plain = run(withList({s("--candidates"), s("東京都千代田区")}));
    EXPECT_TRUE(plain.out.split(QLatin1Char('\n')).contains(s("100-0005　千代田区丸の内")));

    const QueryRun none = run(withList({s("--candidates"), s("横浜市中区")}));
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, QString());
    EXPECT_TRUE(none.err.contains(s("検索できませんでした")));

    EXPECT_EQ(run(withList({s("--candidates")})).status, 2);
}

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
        const QueryRun best = run(withList({s("--candidates"), s("--best"), s(c.address)}));
        EXPECT_EQ(best.status, c.status) << c.address;
        EXPECT_EQ(best.out, s(c.out)) << c.address;
    }
    const QueryRun unsure = run(withList({s("--candidates"), s("--best"), s("北海道札幌市")}));
    EXPECT_TRUE(unsure.err.contains(s("candidates, but none"))) << unsure.err.toStdString();
    EXPECT_FALSE(unsure.err.contains(s("検索できませんでした")));
}

TEST_F(QueryTool, BestCandidateOfEveryLine)
{
    const QueryRun batch = run(withList({QStringLiteral("--candidates"), QStringLiteral("--best")}),
                               QStringLiteral("北海道札幌市中央区旭ケ丘5丁目\r\n\n存在しない住所\n"
                                              "京都府京都市中京区河原町通二条下る一之船入町537-50\n"
                                              "北海道札幌市中央区北1条西2丁目\n府中市1-2\n北海道札幌市\n"
                                              "北海道札幌市中央区北99条西1丁目\n")
                                   .toUtf8());
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
                               QStringLiteral("北海道札幌市中央区大通西20丁目\n山形県最上郡大蔵村南山15番地\n").toUtf8());
    EXPECT_EQ(notes.out, QStringLiteral("北海道札幌市中央区大通西20丁目\t064-0820\t"
                                        "北海道札幌市中央区大通西（２０～２８丁目）\n"
                                        "山形県最上郡大蔵村南山15番地\t996-0301\t"
                                        "山形県最上郡大蔵村南山（１～３、５、７、９～１２、１５番地）\n"));
}

// The large offices' own codes and names, beside the postal list.
TEST_F(QueryTool, AnswersTheLargeOfficesToo)
{
    const QueryRun code = run(withList({s("1008994")}));
    EXPECT_EQ(code.status, 0);
    EXPECT_EQ(code.out, s("東京都千代田区丸の内２丁目７－２　東京中央郵便局\n"));
    const QueryRun named = run(withList({s("--office=宮内庁")}));
    EXPECT_EQ(named.status, 0);
    EXPECT_EQ(named.out, s("100-8111\t宮内庁\t東京都千代田区千代田１－１\n"
                           "602-8611\t宮内庁　京都事務所\t京都府京都市上京区京都御苑３\n"));
    EXPECT_EQ(run(withList({s("--office"), s("存在しない事業所")})).status, 1);
    EXPECT_EQ(run(withList({s("--office=宮内庁"), s("1000005")})).status, 2);
    const QueryRun best = run(withList({s("--candidates"), s("--best")}),
                              s("東京中央郵便局 東京都千代田区丸の内2-7-2\n東京都千代田区千代田1-1\n").toUtf8());
    EXPECT_EQ(best.out, s("東京中央郵便局 東京都千代田区丸の内2-7-2\t100-8994\t東京都千代田区丸の内２丁目７－２　東京中央郵便局\n"
                          "東京都千代田区千代田1-1\t100-0001\t東京都千代田区千代田\n"));
}

// The fields of each answer, for programs: one record a row, one at least
// a query (or a line of input), in every format alike.
TEST_F(QueryTool, GivesTheFieldsOfEachAnswer)
{
    struct Case {
        QStringList arguments;
        QByteArray input;
        const char *out;
        int status;
    };
    const std::vector<Case> cases{
        {{s("--format=tsv"), s("--all"), s("4980000")}, {},
         "4980000\tfound\t4980000\t愛知県\t弥富市\t\tｱｲﾁｹﾝ\tﾔﾄﾐｼ\t\t23235\t\t\n"
         "4980000\tfound\t4980000\t三重県\t桑名郡木曽岬町\t\tﾐｴｹﾝ\tｸﾜﾅｸﾞﾝｷｿｻｷﾁｮｳ\t\t24303\t\t\n",
         0},
        // A tab in the query (the names of a line) is written as \t.
        {{s("--format=tsv")}, "広島県\t府中市\t府中町\n0000000\n\n12345\n",
         "広島県\\t府中市\\t府中町\tfound\t7260005\t広島県\t府中市\t府中町\tﾋﾛｼﾏｹﾝ\tﾌﾁｭｳｼ\tﾌﾁｭｳﾁｮｳ\t34208\t\t\n"
         "0000000\tnot_found\t\t\t\t\t\t\t\t\t\t\n"
         "\tempty\t\t\t\t\t\t\t\t\t\t\n"
         "12345\tinvalid\t\t\t\t\t\t\t\t\t\t\n",
         2},
        {{s("--format=csv"), s("1000005")}, {},
         "query,status,postal_code,prefecture,city,town,prefecture_kana,city_kana,town_kana,local_government_code,"
         "office,office_rest\r\n"
         "1000005,found,1000005,東京都,千代田区,丸の内,ﾄｳｷｮｳﾄ,ﾁﾖﾀﾞｸ,ﾏﾙﾉｳﾁ,13101,,\r\n",
         0},
        // A large office's own code: its address and name, no readings of a place.
        {{s("--format=tsv"), s("1008994")}, {},
         "1008994\tfound\t1008994\t東京都\t千代田区\t丸の内\t\t\t\t13101\t東京中央郵便局\t２丁目７－２\n", 0},
        {{s("--format=csv"), s("--candidates"), s("--best")}, "\"丸の内\", 千代田区\n串本町串本1234 ビル\n",
         "query,status,postal_code,prefecture,city,town,prefecture_kana,city_kana,town_kana,local_government_code,"
         "office,office_rest,match,rest\r\n"
         "\"\"\"丸の内\"\", 千代田区\",not_found,,,,,,,,,,,,\r\n"
         "串本町串本1234 ビル,found,6493503,和歌山県,東牟婁郡串本町,串本,ﾜｶﾔﾏｹﾝ,ﾋｶﾞｼﾑﾛｸﾞﾝｸｼﾓﾄﾁｮｳ,ｸｼﾓﾄ,30428,,,town,"
         "1234 ビル\r\n",
         0},
    };
    for (const Case &c : cases) {
        const QueryRun result = run(withList(c.arguments), c.input);
        EXPECT_EQ(result.status, c.status) << show(c.arguments);
        EXPECT_EQ(result.out, s(c.out)) << show(c.arguments);
    }

    // JSON Lines: one object a line, null where an answer has no row.
    const QueryRun json = run(withList({s("--format=json"), s("--candidates"), s("--best")}),
                              s("東京都千代田区丸の内１－９－１ 東京駅\n東京都千代田区\n存在しない\n").toUtf8());
    EXPECT_EQ(json.status, 0);
    const QStringList lines = json.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    struct Expected {
        const char *code;
        const char *match;
        const char *rest;
    };
    const Expected expected[] = {{"1000005", "town", "１－９－１ 東京駅"}, {"1000000", "city", ""}, {nullptr, nullptr, nullptr}};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(lines[i].toUtf8(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << lines[i].toStdString();
        EXPECT_EQ(object.keys().size(), 14);
        const Expected &e = expected[i];
        EXPECT_EQ(object.value(s("status")).toString(), e.code ? s("found") : s("not_found"));
        for (const auto &[key, value] : {std::pair{"postal_code", e.code}, std::pair{"match", e.match},
                                         std::pair{"rest", e.rest}}) {
            EXPECT_EQ(object.value(s(key)).isNull(), value == nullptr) << key << " " << i;
            EXPECT_EQ(object.value(s(key)).toString(), s(value ? value : "")) << key << " " << i;
        }
    }
}

// A program that writes a line and waits for its answer gets it before
// it writes the next.
TEST(QueryToolProcess, AnswersEachLineAsSoonAsItIsRead)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir::tempPath() + QStringLiteral("/no-torumin-settings"));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(TORUMIN_QUERY_EXE), {QStringLiteral("--list"), QStringLiteral(TORUMIN_FULL_LIST)});
    ASSERT_TRUE(tool.waitForStarted());
    for (const char *code : {"1000005", "9071801"}) {
        tool.write(QByteArray(code) + '\n');
        ASSERT_TRUE(tool.waitForReadyRead(20000)) << code;
        while (!tool.canReadLine() && tool.waitForReadyRead(20000)) {
        }
        EXPECT_FALSE(tool.readLine().isEmpty());
    }
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished());
    EXPECT_EQ(tool.exitCode(), 0);
}

} // namespace
} // namespace torumin

// The settings file's text: what the program writes, what it reads back, and
// what it makes of files written by earlier versions or edited by hand.

#include "StoreTestSupport.h"
#include "app/settings/IniText.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include <vector>

using namespace Qt::StringLiterals;

namespace torumin {
namespace {

// Values a history entry, a path or a hand-edited option can hold.
const std::vector<QString> &awkwardValues()
{
    static const std::vector<QString> values = {
        u"〒100-0005　東京都千代田区丸の内"_s,
        u"/home/山田 太郎/郵便番号/ken_all.csv"_s,
        u"C:\\Program Files\\TORUMIN\\KEN_ALL.CSV"_s,
        u"C:\\"_s,
        u"\\\\server\\share\\"_s,
        u"a=b=c"_s,
        u"前;後"_s,
        u"a, b"_s,
        u"\"引用\" と 'quote'"_s,
        u"\""_s,
        u"  前後に空白  "_s,
        u" "_s,
        u"\t前\t"_s,
        u"　全角空白　"_s,
        u"一行目\r二行目\r\n三行目\n"_s,
        u"\r"_s,
        u"末尾に CR\r"_s,
        u""_s,
        u"&H00FFFFFF&"_s,
        u"0012.50"_s,
        u"@x"_s,
        u"@@x"_s,
        u"@String(x)"_s,
        u"@Variant(\\0\\0\\0\\x7f)"_s,
        u"%28%29 %U6F22"_s,
        u"[Config]"_s,
        u"; not a comment"_s,
        u"# not a comment"_s,
        u"\\x41\\n"_s,
        u"\u0001a\u001fF\u0000b"_s,
        u"\u007f"_s,
        u"𠮷野家"_s,
        u"ﾄｳｷｮｳﾄ ﾁﾖﾀﾞｸ"_s,
    };
    return values;
}

SettingsValues awkwardFile()
{
    SettingsValues values;
    int index = 0;
    for (const QString &value : awkwardValues())
        values[u"Rireki"_s].insert(u"K_Rireki(%1)"_s.arg(index++), value);
    return values;
}

// Keys only a hand-edited file or a future version would have, and text no
// UTF-8 can hold: a surrogate without its partner.
SettingsValues awkwardKeysFile()
{
    const QString lone = QString(QChar(0xD800));
    SettingsValues values;
    for (const QString &key : {u"漢字 の鍵"_s, u"a=b;c%28d"_s, u"[節]"_s, u" 前後 "_s, u"#x"_s, u"\uFEFF印"_s,
                               u"\"q\""_s, QString(lone + u"x"_s)})
        values[u"Saigo"_s].insert(key, key);
    values[u"Saigo"_s].insert(u"Lone"_s, u"a"_s + lone + u"b"_s + QChar(0xDC00) + u"1"_s);
    values[u"節 [x]"_s].insert(u"A"_s, u"1"_s);
    return values;
}

void expectSameValues(const SettingsValues &actual, const SettingsValues &expected)
{
    EXPECT_EQ(actual.size(), expected.size());
    for (auto section = expected.cbegin(); section != expected.cend(); ++section) {
        EXPECT_EQ(actual.value(section.key()).size(), section.value().size()) << section.key().toStdString();
        for (auto key = section.value().cbegin(); key != section.value().cend(); ++key)
            EXPECT_EQ(actual.value(section.key()).value(key.key()), key.value())
                << section.key().toStdString() << '/' << key.key().toStdString();
    }
}

TEST(IniText, EveryValueReadsBackExactly)
{
    for (const SettingsValues &values : {awkwardFile(), awkwardKeysFile()}) {
        const IniContent read = parseIni(formatIni(values));
        EXPECT_EQ(read.unusableLines, 0);
        expectSameValues(read.values, values);
    }
}

// An earlier version of the program reads settings through QSettings: a file
// this one wrote must read the same there, or going back would lose them.
TEST(IniText, EarlierVersionsReadWhatIsWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"written.ini"_s);
    const SettingsValues values = awkwardFile();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(formatIni(values));
    }
    QSettings settings(path, QSettings::IniFormat);
    int index = 0;
    for (const QString &value : awkwardValues()) {
        const QString key = u"Rireki/K_Rireki(%1)"_s.arg(index++);
        EXPECT_EQ(settings.value(key).toString(), value) << key.toStdString();
    }
    EXPECT_EQ(settings.status(), QSettings::NoError);
}

TEST(IniText, FilesOfEarlierVersionsReadTheSame)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"earlier.ini"_s);
    SettingsValues values = awkwardFile();
    values[u"Config"_s].insert(u"Yubin_File(0)"_s, u"/opt/torumin/ken_all.csv"_s);
    values[u"Saigo"_s].insert(u"漢字 の鍵=;%"_s, u"値"_s);
    {
        QSettings settings(path, QSettings::IniFormat);
        for (auto section = values.cbegin(); section != values.cend(); ++section) {
            for (auto key = section.value().cbegin(); key != section.value().cend(); ++key)
                settings.setValue(section.key() + u'/' + key.key(), key.value());
        }
    }
    const QByteArray bytes = testing::fileBytes(path);
    ASSERT_TRUE(bytes.contains("Yubin_File%280%29=")) << "no longer the escaped form this test is about";
    const IniContent read = parseIni(bytes);
    EXPECT_EQ(read.unusableLines, 0);
    expectSameValues(read.values, values);
}

TEST(IniText, KeysAreWrittenAsTheyAreInIndexOrder)
{
    SettingsValues values;
    for (int i = 0; i < 20; ++i)
        values[u"Rireki"_s].insert(u"K_Rireki(%1)"_s.arg(i), u"〒"_s);
    values[u"Config"_s].insert(u"Yubin_File(0)"_s, u"/a"_s);
    values[u"Config"_s].insert(u"OptColor(1)"_s, u"&H00FFFFFF&"_s);
    values[u"Config"_s].insert(u"OptLogo"_s, u"1"_s);
    values[u"Config"_s].insert(u"Key=With;Signs"_s, u"x"_s);

    const QByteArray text = formatIni(values);
    const QList<QByteArray> lines = text.split('\n');
    EXPECT_EQ(lines.mid(0, 5), (QList<QByteArray>{"[Config]", "Key%3DWith%3BSigns=x", "OptColor(1)=&H00FFFFFF&",
                                                   "OptLogo=1", "Yubin_File(0)=/a"}));
    const qsizetype first = lines.indexOf("K_Rireki(0)=〒"_ba);
    ASSERT_GT(first, 0);
    EXPECT_EQ(lines[first - 1], "[Rireki]");
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(lines.value(first + i), u"K_Rireki(%1)=〒"_s.arg(i).toUtf8());
}

struct DamagedFile {
    const char *name;
    QByteArray bytes;
    std::vector<std::pair<QString, QString>> expected; // "Section/Key", value
    int unusableLines;
};

void PrintTo(const DamagedFile &file, std::ostream *os)
{
    *os << file.name;
}

class DamagedIniText : public ::testing::TestWithParam<DamagedFile> {};

TEST_P(DamagedIniText, KeepsEveryKeyThatCanBeRead)
{
    const IniContent read = parseIni(GetParam().bytes);
    EXPECT_EQ(read.unusableLines, GetParam().unusableLines);
    int keys = 0;
    for (const SectionValues &section : read.values)
        keys += static_cast<int>(section.size());
    EXPECT_EQ(keys, static_cast<int>(GetParam().expected.size()));
    for (const auto &[path, value] : GetParam().expected) {
        const QString section = path.section(u'/', 0, 0);
        const QString key = path.section(u'/', 1);
        EXPECT_EQ(read.values.value(section).value(key), value) << path.toStdString();
    }
    // A save writes back what it could not read, and that reads as before.
    const IniContent again = parseIni(formatIni(read.values, read.passedOver));
    EXPECT_EQ(again.values, read.values);
    EXPECT_EQ(again.passedOver, read.passedOver);
    EXPECT_EQ(again.unusableLines, read.unusableLines);
}

TEST(IniText, LinesPassedOverStayInTheirSectionThroughASave)
{
    // A comment above its key, a path another program wrote in CP932, a
    // line with a NUL, a key before every section and one under a broken header.
    static constexpr char kFile[] = "stray=1\n"
                                    "[Config]\n"
                                    "; the office list\n"
                                    "Yubin_File(5)=/home/u/\x97\x58\x95\xD6/ken_all.csv\n"
                                    "OptSen=5\n"
                                    "A=\0x\n"
                                    "[Saig\n"
                                    "B=2\n"
                                    "[Rireki]\n"
                                    "K_Rireki(0)=a\n"
                                    "# last\n";
    IniContent read = parseIni(QByteArrayView(kFile, sizeof kFile - 1));
    read.values[u"Config"_s].insert(u"OptSen"_s, u"0"_s);
    read.values[u"Config"_s].insert(u"OptLogo"_s, u"1"_s);
    read.values[u"Saigo"_s].insert(u"YubinB"_s, u"1000005"_s);
    static constexpr char kSaved[] = "stray=1\n"
                                     "[Saig\n"
                                     "B=2\n"
                                     "\n[Config]\n"
                                     "OptLogo=1\n"
                                     "; the office list\n"
                                     "Yubin_File(5)=/home/u/\x97\x58\x95\xD6/ken_all.csv\n"
                                     "OptSen=0\n"
                                     "A=\0x\n"
                                     "\n[Rireki]\n"
                                     "K_Rireki(0)=a\n"
                                     "# last\n"
                                     "\n[Saigo]\n"
                                     "YubinB=1000005\n";
    EXPECT_EQ(formatIni(read.values, read.passedOver), QByteArray(kSaved, sizeof kSaved - 1));
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedIniText, ::testing::Values(
    DamagedFile{"ByteOrderMark", "\xEF\xBB\xBF[Config]\r\nOptSen=3\r\n", {{u"Config/OptSen"_s, u"3"_s}}, 0},
    DamagedFile{"LineWithoutEquals", "[Config]\nA=1\nこれは設定ではない\nB=2\n",
                {{u"Config/A"_s, u"1"_s}, {u"Config/B"_s, u"2"_s}}, 1},
    DamagedFile{"StrayLine", "[Rireki]\nK_Rireki(0)=a\n=no key\nK_Rireki(1)=b\n",
                {{u"Rireki/K_Rireki(0)"_s, u"a"_s}, {u"Rireki/K_Rireki(1)"_s, u"b"_s}}, 1},
    DamagedFile{"BrokenUtf8Line", "[Config]\nA=\xE6\x9D\nB=2\nC=&H00\xFF\xFE&\n", {{u"Config/B"_s, u"2"_s}}, 2},
    DamagedFile{"NulInALine", QByteArray("[Config]\nA=1\0x\nB=2\n", 19), {{u"Config/B"_s, u"2"_s}}, 1},
    DamagedFile{"KeyBeforeAnySection", "A=1\n[Config]\nB=2\n", {{u"Config/B"_s, u"2"_s}}, 1},
    // Keys after a broken header would otherwise land in the section before it.
    DamagedFile{"BrokenSectionHeader", "[Config]\nA=1\n[Saigo\nB=2\n[Rireki]\nC=3\n",
                {{u"Config/A"_s, u"1"_s}, {u"Rireki/C"_s, u"3"_s}}, 2},
    DamagedFile{"MixedLineEnds", "[Config]\rA=1\r\n\r\nB=2\n\n\rC=3", {{u"Config/A"_s, u"1"_s},
                {u"Config/B"_s, u"2"_s}, {u"Config/C"_s, u"3"_s}}, 0},
    DamagedFile{"CommentsAndPadding", "; by hand\n# too\n  [Config]  \n  A  =  1  \n", {{u"Config/A"_s, u"1"_s}}, 0},
    DamagedFile{"LaterLineWins", "[Config]\nA=1\n[Saigo]\nA=x\n[Config]\nA=2\n",
                {{u"Config/A"_s, u"2"_s}, {u"Saigo/A"_s, u"x"_s}}, 0},
    DamagedFile{"EmptySectionName", "[ ]\nA=1\n[Config]\nB=2\n", {{u"Config/B"_s, u"2"_s}}, 2},
    DamagedFile{"MarkWhereFilesWereJoined", "[Config]\nA=1\n\xEF\xBB\xBF[Saigo]\nB=2\n",
                {{u"Config/A"_s, u"1"_s}, {u"Saigo/B"_s, u"2"_s}}, 0},
    DamagedFile{"NothingReadable", "[Config\nA=1\n\x01\x02\n", {}, 3}),
    [](const ::testing::TestParamInfo<DamagedFile> &info) { return std::string(info.param.name); });

TEST(IniText, UnreadableOnlyWhenNothingButDamageIsThere)
{
    EXPECT_FALSE(parseIni("").isUnreadable());
    EXPECT_FALSE(parseIni("\n\n; only a comment\n[Config]\n").isUnreadable());
    EXPECT_FALSE(parseIni("[Config]\nA=1\nbroken\n").isUnreadable());
    EXPECT_TRUE(parseIni("broken\n").isUnreadable());
    EXPECT_TRUE(parseIni(QByteArray("\xFF\xFE[\0C\0o\0n\0f\0]\0\n\0A\0=\0\x31\0", 22)).isUnreadable()) << "UTF-16";
}

} // namespace
} // namespace torumin

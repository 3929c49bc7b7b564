#include "app/QueryTexts.h"

#include <QStringList>

namespace torumin {

namespace {

// The forms of a call, the same in both languages (the manual page's
// synopsis): the words in capitals are explained by the help.
const QStringList kForms{
    QStringLiteral("torumin-query [OPTION]... CODE"),
    QStringLiteral("torumin-query [OPTION]... [--kana] [PREFECTURE] CITY TOWN"),
    QStringLiteral("torumin-query [OPTION]... [--kana] < QUERIES"),
    QStringLiteral("torumin-query [OPTION]... --candidates ADDRESS"),
    QStringLiteral("torumin-query [OPTION]... --candidates --best [ADDRESS | < ADDRESSES]"),
    QStringLiteral("torumin-query [OPTION]... --office NAME"),
    QStringLiteral("torumin-query --help | --version"),
};

// "usage: " and the forms under the first, lined up on a terminal: the lead
// is `columns` wide there.
QString usageText(const QString &lead, int columns)
{
    QString text = lead + QLatin1Char(' ') + kForms.front() + QLatin1Char('\n');
    for (qsizetype i = 1; i < kForms.size(); ++i)
        text += QString(columns, QLatin1Char(' ')) + kForms.at(i) + QLatin1Char('\n');
    return text;
}

QueryTexts english()
{
    QueryTexts t;
    t.usage = usageText(QStringLiteral("usage:"), 7);
    t.help = QStringLiteral(
        "\n"
        "Looks up Japanese postal codes and addresses in the postal-code list, offline,\n"
        "and prints what the program's result box would show.\n"
        "\n"
        "  CODE                  a postal code: 1000005, 100-0005, 〒100-0005, full-width digits\n"
        "  PREFECTURE CITY TOWN  the names as the list writes them; without the prefecture,\n"
        "                        the first match in any prefecture\n"
        "  QUERIES               one a line: CODE, CITY<TAB>TOWN or PREFECTURE<TAB>CITY<TAB>TOWN;\n"
        "                        each line is answered as soon as it is read\n"
        "  --candidates ADDRESS  every town area of the address's prefecture and city, as the\n"
        "                        candidate window lists them\n"
        "  --best                only the candidate the address names; with no ADDRESS, one\n"
        "                        address a line on standard input, each answered with one line:\n"
        "                        ADDRESS<TAB>nnn-nnnn<TAB>matched address; with no code, the\n"
        "                        third column says why (several codes: …, several cities: …);\n"
        "                        an address that names a large office there gets its code\n"
        "  --office NAME         the large offices whose name holds NAME (widths, spaces and\n"
        "                        株式会社/（株）/㈱ folded), one a line: nnn-nnnn<TAB>name<TAB>address\n"
        "\n"
        "A code that only the list of large offices (JIGYOSYO.CSV or jigyosyo.zip beside the\n"
        "postal-code list, else the bundled one) has is answered with the office's address\n"
        "and name. Codes give the first row of the list unless --all is given.\n"
        "\n"
        "Options:\n"
        "  --list=FILE           the list to search (KEN_ALL.CSV layout, CSV or zip);\n"
        "                        default: the list selected in the program's settings\n"
        "  --kana                the names are kana readings, in half- or full-width katakana\n"
        "  --all                 every row of the list for a code or names, not only the first\n"
        "  --format=FORMAT       text (default): what the result box shows; tsv, csv (with a\n"
        "                        header line) or json (an object a line): the fields of each\n"
        "                        answer, described in torumin-query(1)\n"
        "  --encoding=ENCODING   utf-8 or cp932, for standard input and output alike;\n"
        "                        default: input lines in either, output in UTF-8\n"
        "  -h, --help            this text\n"
        "  --version             the version\n"
        "  --                    the end of the options: every word after it is a query\n"
        "\n"
        "Exit status: 0 found; 1 a search found nothing (its text is still printed);\n"
        "2 bad input or arguments, a list that cannot be read, or output that cannot\n"
        "be written. Lines on standard input give the highest status of any line;\n"
        "--best on standard input gives 0 unless a line or the list cannot be read.\n"
        "\n"
        "On Windows, output to a file or a pipe is UTF-8 (or CP932 with --encoding=cp932)\n"
        "with LF line ends, and a console is given the text itself, which it shows in\n"
        "any code page.\n");
    t.unknownOption = QStringLiteral("unknown option %1");
    t.optionNeedsValue = QStringLiteral("option %1 needs a value");
    t.optionTakesNoValue = QStringLiteral("option %1 takes no value");
    t.unknownFormat = QStringLiteral("unknown format %1 (text, tsv, csv or json)");
    t.unknownEncoding = QStringLiteral("unknown encoding %1 (utf-8 or cp932)");
    t.bestNeedsCandidates = QStringLiteral("--best goes with --candidates");
    t.candidatesTakeOneAddress =
        QStringLiteral("--candidates takes one address (--best: or one a line on standard input)");
    t.allNeedsCodeOrNames = QStringLiteral("--all goes with a code or names, not with --candidates");
    t.codeOrNames = QStringLiteral("give a code, or a city and a town, with or without the prefecture");
    t.lineHoldsCodeOrNames = QStringLiteral(
        "a line holds a code, or a city and a town (and the prefecture before them) separated by tabs");
    t.listMissing = QStringLiteral("the postal-code list %1 does not exist (or is hidden)");
    t.listIsFolder = QStringLiteral("the postal-code list %1 is a directory, not a file");
    t.listNotAFile = QStringLiteral("the postal-code list %1 is not a regular file (a pipe or a device?)");
    t.officeGoesAlone = QStringLiteral("--office takes a name and no other query");
    t.noOfficeList = QStringLiteral("no list of large offices beside %1 or in the program's folder");
    t.officeListUnreadable = QStringLiteral("the list of large offices cannot be read: %1");
    t.candidatesButNoneForSure = QStringLiteral(
        "%1 candidates, but none that the address names for sure (--candidates without --best lists them all)");
    t.onLine = QStringLiteral("line %1: ");
    t.notUtf8 = QStringLiteral("not UTF-8; the line is not read");
    t.notCp932 = QStringLiteral("not CP932; the line is not read");
    t.neitherEncoding = QStringLiteral("neither UTF-8 nor CP932; the line is not read");
    t.cannotWriteOutput = QStringLiteral("cannot write to standard output: %1");
    t.replacedCharacters = QStringLiteral("characters that CP932 cannot hold were written as ?");
    return t;
}

QueryTexts japanese()
{
    QueryTexts t;
    t.usage = usageText(QStringLiteral("使い方:"), 8);
    t.help = QStringLiteral(
        "\n"
        "郵便番号データ（KEN_ALL.CSV 形式）で郵便番号と住所をオフラインで調べ、\n"
        "とるみんの結果欄と同じ表示を出力します。\n"
        "\n"
        "  CODE                  郵便番号: 1000005、100-0005、〒100-0005、全角数字も可\n"
        "  PREFECTURE CITY TOWN  データのとおりの都道府県・市区町村・町域名。都道府県を\n"
        "                        省くと、どの都道府県でも最初に一致した行\n"
        "  QUERIES               1 行に 1 件: CODE、CITY<TAB>TOWN または\n"
        "                        PREFECTURE<TAB>CITY<TAB>TOWN。各行は読んだそばから答えます\n"
        "  --candidates ADDRESS  住所の都道府県・市区町村にある町域すべてを、候補一覧\n"
        "                        ウィンドウと同じ形式で\n"
        "  --best                住所が指す候補だけ。ADDRESS を省くと標準入力の 1 行に\n"
        "                        1 件の住所を読み、それぞれ 1 行で答えます:\n"
        "                        住所<TAB>nnn-nnnn<TAB>一致した住所。郵便番号が無ければ\n"
        "                        3 列目がその理由（several codes: …、several cities: … など）。\n"
        "                        その場所の大口事業所の名前があれば、その個別番号\n"
        "  --office NAME         名前に NAME を含む大口事業所（全角半角・空白・株式会社/\n"
        "                        （株）/㈱ は区別しない）を 1 行に 1 件: nnn-nnnn<TAB>名前<TAB>住所\n"
        "\n"
        "郵便番号データになく、大口事業所の一覧（郵便番号データと同じフォルダーの\n"
        "JIGYOSYO.CSV か jigyosyo.zip、なければ付属のもの）にある郵便番号には、事業所の\n"
        "住所と名前で答えます。郵便番号は --all がなければ最初の行だけを答えます。\n"
        "\n"
        "オプション:\n"
        "  --list=FILE           調べる郵便番号データ（KEN_ALL.CSV 形式の CSV または zip）。\n"
        "                        既定: とるみんの設定で選ばれているデータ\n"
        "  --kana                名前はカナ読み（半角または全角のカタカナ）\n"
        "  --all                 郵便番号や名前に当たる行をすべて（既定は最初の行だけ）\n"
        "  --format=FORMAT       text（既定）: 結果欄の表示。tsv、csv（見出し行付き）、\n"
        "                        json（1 行に 1 オブジェクト）: 答えの各項目。項目は\n"
        "                        torumin-query(1) に\n"
        "  --encoding=ENCODING   utf-8 または cp932。標準入力と出力の両方に。既定:\n"
        "                        入力の各行はどちらでも、出力は UTF-8\n"
        "  -h, --help            この説明\n"
        "  --version             バージョン\n"
        "  --                    オプションの終わり: 以降の語はすべて検索語\n"
        "\n"
        "終了ステータス: 0 見つかった。1 見つからなかった（その文言は出力します）。\n"
        "2 入力や引数の誤り、データが読めない、または出力が書けない。標準入力では\n"
        "各行のうち最も高いステータス。標準入力の --best は、行かデータが読めない\n"
        "ときを除き 0。\n"
        "\n"
        "Windows では、ファイルやパイプへの出力は UTF-8（--encoding=cp932 なら CP932）で\n"
        "改行は LF。コンソールには文字そのものを渡すので、どのコードページでも表示\n"
        "できます。\n");
    t.unknownOption = QStringLiteral("不明なオプションです: %1");
    t.optionNeedsValue = QStringLiteral("オプション %1 には値が必要です");
    t.optionTakesNoValue = QStringLiteral("オプション %1 は値を取りません");
    t.unknownFormat = QStringLiteral("不明な形式です: %1（text、tsv、csv、json のどれか）");
    t.unknownEncoding = QStringLiteral("不明な文字コードです: %1（utf-8 か cp932）");
    t.bestNeedsCandidates = QStringLiteral("--best は --candidates と共に指定します");
    t.candidatesTakeOneAddress =
        QStringLiteral("--candidates には住所を 1 つ指定します（--best では標準入力に 1 行 1 件でも可）");
    t.allNeedsCodeOrNames = QStringLiteral("--all は郵便番号か名前の検索に指定します（--candidates とは併用不可）");
    t.codeOrNames = QStringLiteral("郵便番号、または市区町村と町域（前に都道府県も可）を指定します");
    t.lineHoldsCodeOrNames =
        QStringLiteral("1 行には郵便番号、またはタブで区切った市区町村と町域（前に都道府県も可）を書きます");
    t.listMissing = QStringLiteral("郵便番号データ %1 がありません（または隠しファイルです）");
    t.listIsFolder = QStringLiteral("郵便番号データ %1 はフォルダーです。ファイルを指定してください");
    t.listNotAFile = QStringLiteral("郵便番号データ %1 は普通のファイルではありません（パイプやデバイス？）");
    t.officeGoesAlone = QStringLiteral("--office には名前を指定し、ほかの検索は指定しません");
    t.noOfficeList = QStringLiteral("%1 と同じフォルダーにも、とるみんのフォルダーにも大口事業所の一覧がありません");
    t.officeListUnreadable = QStringLiteral("大口事業所の一覧を読み込めません: %1");
    t.candidatesButNoneForSure =
        QStringLiteral("候補は %1 件ありますが、住所が指すものを確定できません（--best を付けなければ全件を表示します）");
    t.onLine = QStringLiteral("%1 行目: ");
    t.notUtf8 = QStringLiteral("UTF-8 ではないため、この行は読みません");
    t.notCp932 = QStringLiteral("CP932 ではないため、この行は読みません");
    t.neitherEncoding = QStringLiteral("UTF-8 でも CP932 でもないため、この行は読みません");
    t.cannotWriteOutput = QStringLiteral("標準出力に書き込めません: %1");
    t.replacedCharacters = QStringLiteral("CP932 にない文字を ? として書きました");
    return t;
}

} // namespace

const QueryTexts &queryTexts(MessageLanguage language)
{
    static const QueryTexts englishTexts = english();
    static const QueryTexts japaneseTexts = japanese();
    return language == MessageLanguage::Japanese ? japaneseTexts : englishTexts;
}

} // namespace torumin

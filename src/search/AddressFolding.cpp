#include "search/AddressFolding.h"

#include "search/KanaWidth.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace torumin {

namespace {

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isSpace(char16_t c)
{
    return c == u' ' || c == 0x3000 || c == u'\t';
}

bool isHyphen(char16_t c)
{
    // - ‐ ‑ ‒ – — ― − ー ｰ (the full-width one has become ASCII by then)
    return c == u'-' || (c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == u'ー' || c == 0xFF70;
}

char16_t widthFolded(char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        return static_cast<char16_t>(c - 0xFF01 + u'!');
    return isHyphen(c) ? char16_t(u'-') : c;
}

char16_t variantFolded(char16_t c)
{
    switch (c) {
    case u'ヶ': case u'が': case u'ガ': case u'ヵ':
        return u'ケ';
    case u'ノ': case u'之':
        return u'の';
    case u'つ':
        return u'ツ';  // 四つ谷 and 四ツ谷
    case u'髙':
        return u'高';
    case u'﨑': case u'嵜':
        return u'崎';
    case u'邊': case u'邉':
        return u'辺';
    case u'澤':
        return u'沢';
    case u'櫻':
        return u'桜';
    case u'檜':
        return u'桧';
    case u'舟':
        return u'船';
    case u'嶋': case u'嶌':
        return u'島';
    case u'濱':
        return u'浜';
    case u'國':
        return u'国';
    case u'廣':
        return u'広';
    case u'瀧':
        return u'滝';
    case u'德':
        return u'徳';
    case u'龍':
        return u'竜';
    case u'條':
        return u'条';
    case u'齋': case u'齊':
        return u'斎';
    case u'曾':
        return u'曽';
    case u'槇':
        return u'槙';
    case u'舘':
        return u'館';
    case u'冨':
        return u'富';
    case u'峯':
        return u'峰';
    case u'淵':
        return u'渕';
    default:
        return c;
    }
}

int kanjiDigit(char16_t c)
{
    switch (c) {
    case u'〇':
        return 0;
    case u'一': case u'壱':
        return 1;
    case u'二': case u'弐':
        return 2;
    case u'三':
        return 3;
    case u'四':
        return 4;
    case u'五':
        return 5;
    case u'六':
        return 6;
    case u'七':
        return 7;
    case u'八':
        return 8;
    case u'九':
        return 9;
    default:
        return -1;
    }
}

int kanjiUnit(char16_t c)
{
    switch (c) {
    case u'十':
        return 10;
    case u'百':
        return 100;
    case u'千':
        return 1000;
    default:
        return 0;
    }
}

// 廿 and 卅 are twenty and thirty in one character (廿一軒町).
bool isKanjiTens(char16_t c)
{
    return c == u'廿' || c == u'卅';
}

bool isKanjiNumeral(char16_t c)
{
    return kanjiDigit(c) >= 0 || kanjiUnit(c) > 0 || isKanjiTens(c);
}

// The longest beginning of a run that reads as one number written with units
// (二十四, 三百五, 千), or its first digit: the value and the length read.
std::pair<int, qsizetype> leadingKanjiNumber(QStringView run)
{
    int total = 0;
    int pending = -1;
    int lastUnit = 10000;
    std::pair<int, qsizetype> read{0, 1};
    for (qsizetype k = 0; k < run.size(); ++k) {
        const char16_t c = run.at(k).unicode();
        if (const int digit = kanjiDigit(c); digit >= 0) {
            if (pending >= 0)
                break;
            pending = digit;
            read = {total + digit, k + 1};
            continue;
        }
        const int unit = kanjiUnit(c);
        if (unit >= lastUnit || pending == 0)
            break;
        total += (pending < 0 ? 1 : pending) * unit;
        pending = -1;
        lastUnit = unit;
        read = {total, k + 1};
    }
    return read;
}

// A run of kanji numerals as decimal digits: 二十四 → 24, 千 → 1000, and
// digits alone by position (二〇 → 20). A run that reads as several numbers
// gives them apart: 十三一 (十三 and 一丁目) → 13-1.
void appendKanjiNumber(QString &out, QStringView written)
{
    QString spelled;
    QStringView run = written;
    if (std::any_of(written.begin(), written.end(), [](QChar ch) { return isKanjiTens(ch.unicode()); })) {
        for (const QChar ch : written) {
            if (ch == u'廿')
                spelled += u"二十";
            else if (ch == u'卅')
                spelled += u"三十";
            else
                spelled += ch;
        }
        run = spelled;
    }
    if (std::none_of(run.begin(), run.end(), [](QChar ch) { return kanjiUnit(ch.unicode()) > 0; })) {
        for (const QChar ch : run)
            out += QChar(static_cast<char16_t>(u'0' + kanjiDigit(ch.unicode())));
        return;
    }
    for (bool first = true; !run.isEmpty(); first = false) {
        const auto [value, used] = leadingKanjiNumber(run);
        if (!first)
            out += u'-';
        out += QString::number(value);
        run = run.sliced(used);
    }
}

// Characters that compatibility normalisation leaves as they are and that
// never join a neighbour: the everyday text of addresses, which is then not
// copied to be normalised. Full-width letters and digits change, but to what
// widthFolded makes them anyway.
bool keptByCompatibilityFold(char16_t c)
{
    if (c < 0x80)
        return true;
    if (c >= 0x4E00)
        return c <= 0x9FFF || (c >= 0xFF01 && c <= 0xFF5E);
    if (c < 0x3000)
        return false;
    return c <= 0x3012 || (c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E || (c >= 0x30A1 && c <= 0x30FE)
        || (c >= 0x3400 && c <= 0x4DBF);
}

// The one pass of both folds; `variants` adds numerals, kana and kanji.
// Whether the text had to be normalised.
bool foldPass(QString &out, QStringView input, bool variants)
{
    bool halfWidthKana = false;
    bool kept = true;
    for (const QChar ch : input) {
        const char16_t c = ch.unicode();
        if (c >= 0xFF61 && c <= 0xFF9F)
            halfWidthKana = true;
        else if (!keptByCompatibilityFold(c))
            kept = false;
    }
    QString fullKana;
    if (halfWidthKana) {
        fullKana = toFullWidthKatakana(input);
        input = fullKana;
        // The kana it makes are kept, but a voicing mark it could not join
        // (ﾜﾞ) is not.
        kept = kept && std::all_of(input.begin(), input.end(), [](QChar ch) { return keptByCompatibilityFold(ch.unicode()); });
    }
    // 塚 (U+FA10) is 塚, ㈱ is (株), ⼋ is 八, か and a separate voicing mark are が.
    QString normalised;
    if (!kept) {
        normalised = input.toString().normalized(QString::NormalizationForm_KC);
        input = normalised;
    }
    bool spaceBefore = false;
    qsizetype runStart = -1;
    const auto lastIsDigit = [&out] { return !out.isEmpty() && isAsciiDigit(out.back().unicode()); };
    const auto flushRun = [&](qsizetype end, char16_t next) {
        if (runStart < 0)
            return;
        const QStringView run = input.sliced(runStart, end - runStart);
        runStart = -1;
        // 1一2: a kanji one typed for the hyphen between block numbers.
        if (run == u"一" && lastIsDigit() && isAsciiDigit(next)) {
            out += u'-';
            return;
        }
        appendKanjiNumber(out, run);
        // 九12 must not read as 912.
        if (isAsciiDigit(next))
            out += u'-';
    };
    for (qsizetype i = 0; i < input.size(); ++i) {
        const char16_t raw = input.at(i).unicode();
        if (isSpace(raw)) {
            flushRun(i, 0);
            spaceBefore = true;
            continue;
        }
        char16_t c = widthFolded(raw);
        if (variants) {
            if (isKanjiNumeral(c)) {
                if (runStart < 0) {
                    if (spaceBefore && lastIsDigit())
                        out += u'-';
                    spaceBefore = false;
                    runStart = i;
                }
                continue;
            }
            flushRun(i, c);
            c = variantFolded(c);
        }
        if (spaceBefore && isAsciiDigit(c) && lastIsDigit())
            out += u'-';
        spaceBefore = false;
        out += QChar(c);
    }
    flushRun(input.size(), 0);
    return !normalised.isNull();
}

void appendFold(QString &out, QStringView input, bool variants)
{
    const qsizetype start = out.size();
    if (!foldPass(out, input, variants))
        return;
    // Normalised text can join across a space the fold took out (a voicing
    // mark after it): fold again until nothing changes.
    for (int pass = 0; pass < 4; ++pass) {
        QString again;
        foldPass(again, QStringView(out).sliced(start), variants);
        if (QStringView(out).sliced(start) == again)
            return;
        out.truncate(start);
        out += again;
    }
}

} // namespace

QString foldAddressWidths(QStringView text)
{
    QString folded;
    folded.reserve(text.size());
    appendFold(folded, text, false);
    return folded;
}

QString foldAddressVariants(QStringView text)
{
    QString folded;
    folded.reserve(text.size() + 4);
    appendFold(folded, text, true);
    return folded;
}

void appendFoldedAddress(QString &out, QStringView text)
{
    appendFold(out, text, true);
}

} // namespace torumin

// Free address text, as typed into the address dialog, through the split,
// the candidate list built from it and the row selected in it; the folding of
// the ways of writing; and the address matcher behind the selection and
// torumin-query --best.
//
// The bytes are taken twice: as UTF-8 (how a dictionary of place names gets
// the fuzzer to real prefectures quickly) and as raw UTF-16 units (the only
// way to reach text UTF-8 cannot carry, such as lone surrogates).

#include "FuzzCheck.h"

#include "data/PostalListReader.h"
#include "data/PostalTable.h"
#include "search/AddressFolding.h"
#include "search/AddressMatcher.h"
#include "search/Candidates.h"
#include "search/KanaWidth.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string_view>
#include <vector>

using namespace torumin;

namespace {

// fuzz/address_table.csv, compiled in so the binary runs from anywhere.
constexpr unsigned char kTableBytes[] = {
#include "address_table.inc"
};

const PostalTable &table()
{
    static const PostalTable loaded = [] {
        const std::string_view bytes(reinterpret_cast<const char *>(kTableBytes), sizeof kTableBytes);
        ListReadResult result = readPostalListBytes(bytes, QStringLiteral("address_table.csv"));
        if (result.error || result.table.recordCount() == 0) {
            std::fprintf(stderr, "the address table did not load: %s\n",
                         result.error ? result.error->message.toUtf8().constData() : "no records");
            std::abort();
        }
        return std::move(result.table);
    }();
    return loaded;
}

// The whole table's matcher, as torumin-query builds it.
const AddressMatcher &matcher()
{
    static const AddressMatcher built(table());
    return built;
}

bool isSuffix(QChar c)
{
    return c == u'区' || c == u'市' || c == u'郡' || c == u'島';
}

void checkSplit(QStringView input, const SplitAddress &split)
{
    const QString shown = input.toString();
    FUZZ_CHECK_SAYING(input.startsWith(split.prefecture), shown);
    if (split.prefecture.isEmpty()) {
        FUZZ_CHECK_SAYING(split.city.isEmpty(), shown);
        return;
    }
    FUZZ_CHECK_SAYING(split.prefecture.size() == 3 || split.prefecture.size() == 4, shown);
    const QChar kind = split.prefecture.back();
    FUZZ_CHECK_SAYING(kind == u'都' || kind == u'道' || kind == u'府' || kind == u'県', shown);
    if (!split.city.isEmpty()) {
        FUZZ_CHECK_SAYING(input.sliced(split.prefecture.size()).startsWith(split.city), shown);
        FUZZ_CHECK_SAYING(isSuffix(split.city.back()), shown);
        if (split.city.back() == u'島' || split.city.back() == u'区')
            FUZZ_CHECK_SAYING(split.prefecture == u"東京都", shown);
        FUZZ_CHECK_SAYING(split.prefecture.size() + split.city.size() <= 15, shown);
    }
    // Only the first fifteen characters count.
    FUZZ_CHECK_SAYING(splitAddress(input.left(15)) == split, shown);
}

CandidateFormat formatFrom(unsigned bits)
{
    CandidateFormat format;
    format.mark = bits & 1U;
    format.hyphen = bits & 2U;
    format.prefecture = bits & 4U;
    format.copyCode = bits & 8U;
    format.copyAddress = bits & 16U;
    return format;
}

// The table's codes are all seven digits: "〒nnn-nnnn" by the format.
QString codePart(const PostalTable &t, int row, const CandidateFormat &format)
{
    const QStringView code = t.zipCode(row);
    QString text;
    if (format.mark)
        text += u'〒';
    text += code.left(3);
    if (format.hyphen)
        text += u'-';
    text += code.mid(3);
    return text;
}

void checkCandidates(QStringView input, const SplitAddress &split)
{
    const PostalTable &t = table();
    const QString shown = input.toString();
    const std::vector<int> rows = candidateRows(t, split);

    // Exactly the rows of the prefecture whose city starts with the split one,
    // in table order.
    std::vector<int> expected;
    if (!split.prefecture.isEmpty()) {
        for (int row = 0; row < t.recordCount(); ++row) {
            if (t.prefName(row) == split.prefecture && t.cityName(row).startsWith(split.city))
                expected.push_back(row);
        }
    }
    FUZZ_CHECK_SAYING(rows == expected, shown);
    for (const int row : rows)
        FUZZ_CHECK_SAYING(t.prefName(row) == split.prefecture, shown);

    for (unsigned bits = 0; bits < 32; ++bits) {
        const CandidateFormat format = formatFrom(bits);
        const QStringList lines = candidateLines(t, split, format);
        FUZZ_CHECK_SAYING(lines.size() == static_cast<qsizetype>(rows.size()), shown);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const int row = rows[static_cast<std::size_t>(i)];
            const QString &line = lines[i];
            const QString address = (format.prefecture ? split.prefecture : QString())
                + t.cityName(row) + t.townName(row);
            if (t.cityName(row).isEmpty() && t.townName(row).isEmpty()) {
                FUZZ_CHECK_SAYING(line.isEmpty(), shown);
                continue;
            }
            const QString code = codePart(t, row, format);
            FUZZ_CHECK_SAYING(line == code + u'　' + address, shown + u" -> " + line);

            const QString copied = candidateCopyText(line, format);
            QString wanted;
            if (format.copyCode)
                wanted = code;
            if (format.copyCode && format.copyAddress)
                wanted += u'　';
            if (format.copyAddress)
                wanted += address;
            FUZZ_CHECK_SAYING(copied == wanted, line + u" copied as " + copied);
        }
    }
}

// Folding twice changes nothing more, and the kana conversions undo each
// other.
void checkFolding(QStringView input)
{
    const QString shown = input.toString();
    const QString folded = foldAddressVariants(input);
    FUZZ_CHECK_SAYING(foldAddressVariants(folded) == folded, shown + u" -> " + folded);
    const QString widths = foldAddressWidths(input);
    FUZZ_CHECK_SAYING(foldAddressWidths(widths) == widths, shown + u" -> " + widths);
    const QString half = toHalfWidthKatakana(input);
    FUZZ_CHECK_SAYING(toHalfWidthKatakana(toFullWidthKatakana(half)) == half, shown + u" -> " + half);
}

// The selected row is a candidate; the matcher's row is a row. An address
// written from a row of the table, with a block number after it, names that
// row's town area; nothing only where the name has rows of several codes
// that this list does not tell apart.
void checkBestRow(QStringView input, const SplitAddress &split)
{
    const PostalTable &t = table();
    const QString shown = input.toString();
    const std::vector<int> rows = candidateRows(t, split);
    const int selected = bestCandidateRow(t, rows, split, input);
    FUZZ_CHECK_SAYING(selected == -1 || std::find(rows.cbegin(), rows.cend(), selected) != rows.cend(), shown);
    const int best = matcher().bestRow(input);
    FUZZ_CHECK_SAYING(best >= -1 && best < t.recordCount(), shown);

    if (input.isEmpty())
        return;
    const int row = static_cast<int>(input.front().unicode() % static_cast<unsigned>(t.recordCount()));
    if (t.townName(row).isEmpty())
        return;
    // Set apart, so that a name ending in a number (浦臼第１) keeps it.
    const QString written = t.prefName(row).toString() + t.cityName(row) + t.townName(row) + u" 1-2-3";
    const int named = matcher().bestRow(written);
    if (named < 0) {
        bool severalCodes = false;
        for (int other = 0; other < t.recordCount() && !severalCodes; ++other) {
            severalCodes = t.prefName(other) == t.prefName(row) && t.cityName(other) == t.cityName(row)
                && t.townName(other) == t.townName(row) && t.zipCode(other) != t.zipCode(row);
        }
        FUZZ_CHECK_SAYING(severalCodes, written);
        return;
    }
    FUZZ_CHECK_SAYING(t.prefName(named) == t.prefName(row) && t.cityName(named) == t.cityName(row)
                          && t.townName(named) == t.townName(row),
                      written);
}

void checkText(QStringView input)
{
    const SplitAddress split = splitAddress(input);
    checkSplit(input, split);
    checkCandidates(input, split);
    checkFolding(input);
    checkBestRow(input, split);

    // Any text may reach the copy as a line; it must come out no longer than
    // the line twice over and the separator.
    for (unsigned bits = 0; bits < 32; bits += 8) {
        const QString line = input.toString();
        const QString copied = candidateCopyText(line, formatFrom(bits | 7U));
        FUZZ_CHECK(copied.size() <= 2 * line.size() + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    (void)table();
    (void)matcher();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Free addresses are short; long inputs only slow the run down.
    if (size > 256)
        return -1;
    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    checkText(utf8);

    std::vector<char16_t> units(size / 2);
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    checkText(QStringView(units.data(), static_cast<qsizetype>(units.size())));
    return 0;
}

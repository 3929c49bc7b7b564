#include "search/TownNote.h"

#include "data/PostalTable.h"

#include <algorithm>
#include <climits>

namespace torumin {

namespace {

// The list writes its numbers in full-width digits; ASCII ones are taken too.
int digitValue(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'０' && c <= u'９')
        return c.unicode() - u'０';
    return -1;
}

// The number at i, moving i past it; -1 without one. Large numbers stop
// growing rather than overflow: no block or floor comes near.
int readNumber(QStringView text, qsizetype &i)
{
    int value = -1;
    for (; i < text.size() && digitValue(text.at(i)) >= 0; ++i)
        value = std::min(std::max(value, 0) * 10 + digitValue(text.at(i)), 1000000);
    return value;
}

bool isRangeMark(QChar c)
{
    return c == u'～' || c == u'〜' || c == u'~';
}

// １～１９丁目, １、３～５番地, ６番地以上: ranges of one unit.
TownNote readRanges(QStringView note)
{
    TownNote read;
    read.kind = TownNote::Kind::Unknown;
    TownNote::Kind unit = TownNote::Kind::None;
    qsizetype i = 0;
    while (i < note.size()) {
        int low = readNumber(note, i);
        if (low < 0)
            return read;
        int high = low;
        if (i < note.size() && isRangeMark(note.at(i))) {
            ++i;
            high = readNumber(note, i);
            if (high < low)
                return read;
        }
        TownNote::Kind itemUnit = TownNote::Kind::None;
        const QStringView left = note.sliced(i);
        if (left.startsWith(u"丁目"))
            itemUnit = TownNote::Kind::Chome;
        else if (left.startsWith(u"番地"))
            itemUnit = TownNote::Kind::Banchi;
        if (itemUnit != TownNote::Kind::None) {
            if (unit != TownNote::Kind::None && unit != itemUnit)
                return read;
            unit = itemUnit;
            i += 2;
        }
        if (note.sliced(i).startsWith(u"以上") || note.sliced(i).startsWith(u"以降")) {
            if (high != low)
                return read;
            high = INT_MAX;
            i += 2;
        }
        read.ranges.emplace_back(low, high);
        if (i == note.size())
            break;
        if (note.at(i) != u'、' && note.at(i) != u'・')
            return read;
        ++i;
    }
    if (unit == TownNote::Kind::None || read.ranges.empty())
        return read;
    read.kind = unit;
    return read;
}

TownNote readNote(QStringView note)
{
    TownNote read;
    if (note == u"次のビルを除く")
        return read;
    if (note == u"地階・階層不明") {
        read.kind = TownNote::Kind::Basement;
        return read;
    }
    if (note == u"その他") {
        read.kind = TownNote::Kind::Rest;
        return read;
    }
    qsizetype i = 0;
    if (const int floor = readNumber(note, i); floor >= 0 && note.sliced(i) == u"階") {
        read.kind = TownNote::Kind::Floor;
        read.floor = floor;
        return read;
    }
    return readRanges(note);
}

} // namespace

TownField readTownField(QStringView field)
{
    if (!field.endsWith(u'）'))
        return {field, {}};
    // The note is the last parenthesis, which may hold others: a building
    // whose name has one (…スクエア（高層棟）（１０階）), or 「」 inside it.
    int depth = 0;
    for (qsizetype i = field.size() - 1; i >= 0; --i) {
        if (field.at(i) == u'）')
            ++depth;
        else if (field.at(i) == u'（' && --depth == 0) {
            if (i == 0)
                return {field, {}};
            return {field.first(i), readNote(field.sliced(i + 1, field.size() - i - 2))};
        }
    }
    return {field, {}};
}

bool townNoteGoesOn(QStringView field)
{
    qsizetype open = 0;
    for (const QChar c : field) {
        if (c == u'（')
            ++open;
        else if (c == u'）')
            --open;
    }
    return open > 0;
}

bool meansNoTownArea(QStringView field, QStringView city)
{
    // Every list row asks this: most fields end otherwise.
    if (field.isEmpty() || (field.back() != u'合' && field.back() != u'円'))
        return false;
    if (field == u"以下に掲載がない場合" || field.endsWith(u"の次に番地がくる場合"))
        return true;
    // 利島村一円 or 三宅島一円 (of 三宅島三宅村) is the whole village; 一円 alone is
    // a town of 多賀町.
    return field.endsWith(u"一円") && field.size() > 2 && city.contains(field.chopped(2));
}

QString wholeTownField(const PostalTable &table, int row)
{
    QString field = table.townName(row).toString();
    for (int next = row + 1; next <= row + kMaxNoteRecords && townNoteGoesOn(field); ++next) {
        if (next >= table.recordCount() || table.zipCode(next) != table.zipCode(row)
            || table.cityName(next) != table.cityName(row) || table.prefName(next) != table.prefName(row))
            break;
        field += table.townName(next);
    }
    return field;
}

} // namespace torumin

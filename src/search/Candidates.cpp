#include "search/Candidates.h"

#include "data/PostalTable.h"
#include "search/AddressMatcher.h"
#include "search/OfficeAddressMatcher.h"
#include "data/OfficeTable.h"

namespace torumin {

namespace {

constexpr qsizetype kExamined = 15;

// The first position (1-based, from 5 to 15) holding one of the suffixes, or 0.
qsizetype suffixPosition(QStringView address, QStringView suffixes)
{
    const qsizetype last = std::min(address.size(), kExamined);
    for (qsizetype position = 5; position <= last; ++position) {
        if (suffixes.contains(address.at(position - 1)))
            return position;
    }
    return 0;
}

// Characters from..to, 1-based and inclusive.
QString characters(QStringView text, qsizetype from, qsizetype to)
{
    return text.mid(from - 1, to - from + 1).toString();
}

// A line's start: the code as the format writes it, then U+3000.
void appendCode(QString &line, QStringView code, const CandidateFormat &format)
{
    if (format.mark)
        line += QStringLiteral("〒");
    line += code.left(3);
    if (format.hyphen)
        line += QLatin1Char('-');
    line += code.right(4);
    line += QStringLiteral("　");
}

} // namespace

SplitAddress splitAddress(QStringView address)
{
    SplitAddress split;
    const QStringView head = address.left(3);
    if (head == u"東京都") {
        split.prefecture = head.toString();
        if (const qsizetype end = suffixPosition(address, u"区市郡島"))
            split.city = characters(address, 4, end);
        return split;
    }
    qsizetype cityStart = 0;
    if (head == u"北海道" || head == u"大阪府" || head == u"京都府" || (address.size() >= 3 && address.at(2) == u'県')) {
        split.prefecture = head.toString();
        cityStart = 4;
    } else if (address.size() >= 4 && address.at(3) == u'県') {
        split.prefecture = address.left(4).toString();
        cityStart = 5;
    } else {
        return split;
    }
    if (const qsizetype end = suffixPosition(address, u"市郡"))
        split.city = characters(address, cityStart, end);
    return split;
}

std::vector<int> candidateRows(const PostalTable &table, const SplitAddress &address)
{
    std::vector<int> rows;
    if (address.prefecture.isEmpty())
        return rows;
    const int count = table.recordCount();
    for (int row = 0; row < count; ++row) {
        if (table.prefName(row) == address.prefecture && table.cityName(row).startsWith(address.city))
            rows.push_back(row);
    }
    return rows;
}

int bestCandidateRow(const PostalTable &table, const std::vector<int> &rows, const SplitAddress &split,
                     QStringView address)
{
    if (split.prefecture.isEmpty() || rows.empty())
        return -1;
    return AddressMatcher(table, rows).bestRow(address);
}

CandidateChoice bestCandidate(const PostalTable &table, const std::vector<int> &rows, const SplitAddress &split,
                              QStringView address, const OfficePlaces &places)
{
    if (split.prefecture.isEmpty() || rows.empty())
        return {};
    const AddressMatcher addresses(table, rows);
    const OfficeAddressMatcher::Answer answer = OfficeAddressMatcher(addresses, places).answer(address);
    if (answer.office >= 0)
        return {-1, answer.office};
    return {answer.area.row, -1};
}

QString candidateLine(const PostalTable &table, int row, const QString &prefecture, const CandidateFormat &format)
{
    const QStringView city = table.cityName(row);
    const QStringView town = table.townName(row);
    if (city.isEmpty() && town.isEmpty())
        return {};
    QString line;
    line.reserve(12 + prefecture.size() + city.size() + town.size());
    appendCode(line, table.zipCode(row), format);
    if (format.prefecture)
        line += prefecture;
    line += city;
    line += town;
    return line;
}

QString officeCandidateLine(const OfficeTable &offices, int office, const CandidateFormat &format)
{
    QString line;
    appendCode(line, offices.code(office), format);
    if (format.prefecture)
        line += offices.prefName(office);
    return line + offices.cityName(office) + offices.townName(office) + offices.rest(office) + u'\u3000'
        + offices.name(office);
}

QStringList candidateLines(const PostalTable &table, const std::vector<int> &rows, const QString &prefecture,
                           const CandidateFormat &format)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(rows.size()));
    for (int row : rows)
        lines.append(candidateLine(table, row, prefecture, format));
    return lines;
}

QStringList candidateLines(const PostalTable &table, const SplitAddress &address, const CandidateFormat &format)
{
    return candidateLines(table, candidateRows(table, address), address.prefecture, format);
}

QString candidateCopyText(const QString &line, const CandidateFormat &format)
{
    QString text;
    if (format.copyCode)
        text = line.left(7 + (format.mark ? 1 : 0) + (format.hyphen ? 1 : 0));
    if (format.copyCode && format.copyAddress)
        text += QStringLiteral("　");
    if (format.copyAddress) {
        const qsizetype space = line.indexOf(QStringLiteral("　"));
        text += space < 0 ? line : line.mid(space + 1);
    }
    return text;
}

} // namespace torumin

#include "search/OfficeSearch.h"

#include "data/OfficeTable.h"
#include "search/PostalLookup.h"

#include <array>

namespace torumin {

namespace {

// After NFKC: （株） and ㈱ are "(株)" by then.
constexpr std::array<QStringView, 4> kCompanyForms{u"株式会社", u"(株)", u"有限会社", u"(有)"};

bool isHiragana(char16_t c)
{
    return c >= 0x3041 && c <= 0x3096;
}

} // namespace

int findOfficeCode(const OfficeTable &offices, QStringView code) noexcept
{
    if (code.isEmpty())
        return -1;
    const int count = offices.recordCount();
    for (int row = 0; row < count; ++row) {
        if (offices.code(row) == code)
            return row;
    }
    return -1;
}

QString officeAddress(const OfficeTable &offices, int row)
{
    return offices.prefName(row) % offices.cityName(row) % offices.townName(row) % offices.rest(row);
}

QString officeResultText(const OfficeTable &offices, int row)
{
    return officeAddress(offices, row) % u'\u3000' % offices.name(row);
}

QString addressResultText(const PostalTable &table, const OfficeTable &offices, const QString &code)
{
    if (code.isEmpty() || findCode(table, code) >= 0)
        return addressResultText(table, code);
    const int office = findOfficeCode(offices, code);
    return office >= 0 ? officeResultText(offices, office) : kCodeNotFound;
}

QString officeLine(const OfficeTable &offices, int row)
{
    return u'〒' % hyphenatedCode(offices.code(row)) % u'\u3000' % offices.name(row) % u'\u3000'
        % officeAddress(offices, row);
}

QString foldOfficeName(QStringView name)
{
    QString folded = name.toString().normalized(QString::NormalizationForm_KC).toCaseFolded();
    for (const QStringView form : kCompanyForms)
        folded.remove(form.toString());
    QString out;
    out.reserve(folded.size());
    for (const QChar c : std::as_const(folded)) {
        if (c.isSpace())
            continue;
        out += isHiragana(c.unicode()) ? QChar(c.unicode() + 0x60) : c;
    }
    return out;
}

OfficeNameIndex::OfficeNameIndex(const OfficeTable &offices)
{
    const int count = offices.recordCount();
    m_names.reserve(static_cast<std::size_t>(count));
    m_readings.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        m_names.push_back(foldOfficeName(offices.name(row)));
        m_readings.push_back(foldOfficeName(offices.reading(row)));
    }
}

std::vector<int> OfficeNameIndex::find(QStringView text) const
{
    const QString wanted = foldOfficeName(text);
    std::vector<int> rows;
    for (std::size_t row = 0; row < m_names.size(); ++row) {
        if (wanted.isEmpty() || m_names[row].contains(wanted)
            || (!m_readings[row].isEmpty() && m_readings[row].contains(wanted)))
            rows.push_back(static_cast<int>(row));
    }
    return rows;
}

} // namespace torumin

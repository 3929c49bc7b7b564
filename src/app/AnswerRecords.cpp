#include "app/AnswerRecords.h"

#include "data/OfficeTable.h"
#include "data/PostalTable.h"

#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace torumin {

namespace {

using Value = std::optional<QString>;  // none: the answer has no such field

struct RowField {
    const char *name;
    PostalColumn column;
};

const std::array<RowField, 8> kRowFields{{
    {"postal_code", PostalColumn::ZipCode},
    {"prefecture", PostalColumn::PrefName},
    {"city", PostalColumn::CityName},
    {"town", PostalColumn::TownName},
    {"prefecture_kana", PostalColumn::PrefKana},
    {"city_kana", PostalColumn::CityKana},
    {"town_kana", PostalColumn::TownKana},
    {"local_government_code", PostalColumn::LocalGovernmentCode},
}};

QStringList fieldNames(bool best)
{
    QStringList names{QStringLiteral("query"), QStringLiteral("status")};
    for (const RowField &field : kRowFields)
        names.append(QLatin1String(field.name));
    names << QStringLiteral("office") << QStringLiteral("office_rest");
    if (best)
        names << QStringLiteral("match") << QStringLiteral("rest");
    return names;
}

QString statusName(AnswerStatus status)
{
    switch (status) {
    case AnswerStatus::Found:
        return QStringLiteral("found");
    case AnswerStatus::NotFound:
        return QStringLiteral("not_found");
    case AnswerStatus::Invalid:
        return QStringLiteral("invalid");
    case AnswerStatus::Empty:
        break;
    }
    return QStringLiteral("empty");
}

// An office's fields where the postal list's go: no readings of a place.
Value officeField(const OfficeTable &offices, int row, PostalColumn column)
{
    switch (column) {
    case PostalColumn::ZipCode:
        return offices.code(row).toString();
    case PostalColumn::PrefName:
        return offices.prefName(row).toString();
    case PostalColumn::CityName:
        return offices.cityName(row).toString();
    case PostalColumn::TownName:
        return offices.townName(row).toString();
    case PostalColumn::LocalGovernmentCode:
        return offices.localGovernmentCode(row).toString();
    case PostalColumn::PrefKana:
    case PostalColumn::CityKana:
    case PostalColumn::TownKana:
        break;
    }
    return QString();
}

std::vector<Value> fieldValues(const PostalTable &table, const OfficeTable &offices, const AnswerRecord &record,
                               bool best)
{
    const bool office = record.status == AnswerStatus::Found && record.office >= 0;
    const bool found = office || (record.status == AnswerStatus::Found && record.row >= 0);
    std::vector<Value> values{record.query, statusName(record.status)};
    for (const RowField &field : kRowFields) {
        if (office)
            values.push_back(officeField(offices, record.office, field.column));
        else
            values.push_back(found ? Value(table.field(field.column, record.row).toString()) : std::nullopt);
    }
    values.push_back(office ? Value(offices.name(record.office).toString()) : Value(found ? QString() : Value()));
    values.push_back(office ? Value(offices.rest(record.office).toString()) : Value(found ? QString() : Value()));
    if (best) {
        const QString match = office ? QStringLiteral("office")
                                     : (record.namesTown ? QStringLiteral("town") : QStringLiteral("city"));
        values.push_back(found ? Value(match) : std::nullopt);
        values.push_back(found ? Value(record.rest) : std::nullopt);
    }
    return values;
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString tsvField(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'\\':
            escaped += QLatin1String("\\\\");
            break;
        case u'\t':
            escaped += QLatin1String("\\t");
            break;
        case u'\n':
            escaped += QLatin1String("\\n");
            break;
        case u'\r':
            escaped += QLatin1String("\\r");
            break;
        default:
            escaped += ch;
        }
    }
    return escaped;
}

QString jsonString(const QString &text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += QLatin1Char('"');
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'"':
            quoted += QLatin1String("\\\"");
            break;
        case u'\\':
            quoted += QLatin1String("\\\\");
            break;
        case u'\n':
            quoted += QLatin1String("\\n");
            break;
        case u'\r':
            quoted += QLatin1String("\\r");
            break;
        case u'\t':
            quoted += QLatin1String("\\t");
            break;
        default:
            if (ch.unicode() < 0x20)
                quoted += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
            else
                quoted += ch;
        }
    }
    quoted += QLatin1Char('"');
    return quoted;
}

} // namespace

QString answerHeader(AnswerFormat format, bool best)
{
    if (format != AnswerFormat::Csv)
        return {};
    return fieldNames(best).join(QLatin1Char(',')) + QLatin1String("\r\n");
}

QString answerLine(const PostalTable &table, const OfficeTable &offices, const AnswerRecord &record,
                   AnswerFormat format, bool best)
{
    const std::vector<Value> values = fieldValues(table, offices, record, best);
    QString line;
    if (format == AnswerFormat::Json) {
        const QStringList names = fieldNames(best);
        line += QLatin1Char('{');
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                line += QLatin1Char(',');
            line += QLatin1Char('"') + names.at(static_cast<qsizetype>(i)) + QLatin1String("\":");
            line += values[i] ? jsonString(*values[i]) : QStringLiteral("null");
        }
        return line + QLatin1String("}\n");
    }
    const bool csv = format == AnswerFormat::Csv;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += csv ? QLatin1Char(',') : QLatin1Char('\t');
        const QString value = values[i].value_or(QString());
        line += csv ? csvField(value) : tsvField(value);
    }
    return line + (csv ? QLatin1String("\r\n") : QLatin1String("\n"));
}

} // namespace torumin

#pragma once

#include "data/PostalListReader.h"
#include "support/Cp932Text.h"

#include <QString>

#include <stdexcept>
#include <string>
#include <vector>

namespace torumin::testing {

// Text in code page 932, as list files hold it.
inline std::string toCp932(const QString &text)
{
    return cp932Bytes(text.toUtf8().toStdString());
}

// One list record by the seven fields the program keeps.
struct Row {
    QString zip, prefKana, cityKana, townKana, pref, city, town;
};

inline QString csvLine(const Row &r)
{
    const auto q = [](const QString &s) -> QString { return QLatin1Char('"') + s + QLatin1Char('"'); };
    return QStringLiteral("00000,\"00000\",") + q(r.zip) + QLatin1Char(',') + q(r.prefKana) + QLatin1Char(',')
        + q(r.cityKana) + QLatin1Char(',') + q(r.townKana) + QLatin1Char(',') + q(r.pref) + QLatin1Char(',')
        + q(r.city) + QLatin1Char(',') + q(r.town) + QStringLiteral(",0,0,0,0,0,0\r\n");
}

inline PostalTable tableOf(const std::vector<Row> &rows)
{
    QString csv;
    for (const Row &row : rows)
        csv += csvLine(row);
    const std::string bytes = toCp932(csv);
    ListReadResult result = readPostalListBytes(bytes, QStringLiteral("fixture.csv"));
    if (result.error)
        throw std::runtime_error(result.error->message.toStdString());
    return std::move(result.table);
}

} // namespace torumin::testing

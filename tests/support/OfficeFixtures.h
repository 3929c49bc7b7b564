#pragma once

#include <QDir>
#include <QFile>
#include <QString>

namespace torumin::testing {

// One office, ASCII only (so valid code page 932 as it stands), in the
// published thirteen-field layout: with it in a program folder, start-up
// finds an office list and has nothing to say about one.
constexpr char kTinyOfficeList[] =
    "\"13101\",\"\",\"TOKYO CENTRAL\",\"T\",\"C\",\"M\",\"2-7-2\",\"1008994\",\"100  \",\"\",0,0,0\r\n";

inline bool writeTinyOfficeList(const QString &folder)
{
    QFile file(QDir(QDir::fromNativeSeparators(folder)).filePath(QStringLiteral("JIGYOSYO.CSV")));
    return file.open(QIODevice::WriteOnly) && file.write(kTinyOfficeList) == qint64(sizeof kTinyOfficeList - 1);
}

} // namespace torumin::testing

#pragma once

#include <QString>

// What settings_writer writes, so a test can tell the value each reported key
// must hold without being told it.
namespace torumin::testing::writer {

inline QString section()
{
    return QStringLiteral("Rireki");
}

inline QString key(const QString &prefix, int index)
{
    return prefix + u'(' + QString::number(index) + u')';
}

// Japanese text, the ideographic space and a CR: the characters most likely to be
// damaged by a torn or half-parsed file.
inline QString value(const QString &key)
{
    return QStringLiteral("〒100-0005　東京都千代田区丸の内 ") + key + QStringLiteral("\r末尾　");
}

} // namespace torumin::testing::writer
